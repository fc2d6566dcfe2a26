# Build helpers shared by every folder.

# Gives `target` a public include root under the build tree that holds one entry, `dir`, linked to
# the source folder of that name. Its consumers then write `#include "dir/header.h"`, and nothing
# else of the source tree (in particular app/) is on their include path.
function(rewordix_include_root target dir)
  set(root "${PROJECT_BINARY_DIR}/include/${dir}")
  if(NOT EXISTS "${root}/${dir}")
    file(MAKE_DIRECTORY "${root}")
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${dir}" "${root}/${dir}" SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC "${root}")
endfunction()

# Registers a QtTest executable with CTest. Every test links the test-support library (private
# home, settings store and working folder; dialog answers that never block) and runs on the
# offscreen platform.
#   rewordix_add_test(name SOURCES a.cpp ... LIBS lib ... [DATA folder] [ENV VAR=value ...])
# DATA names the folder the test reads its fixtures from (REWORDIX_TEST_DATA).
function(rewordix_add_test name)
  cmake_parse_arguments(T "" "DATA" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE rewordix_testsupport Qt6::Test ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set(env "QT_QPA_PLATFORM=offscreen" "QT_LOGGING_RULES=qt.qpa.*=false")
  if(T_DATA)
    list(APPEND env "REWORDIX_TEST_DATA=${T_DATA}")
  endif()
  list(APPEND env ${T_ENV})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()

# A test that runs one of the programs: its path is compiled in as `define`.
function(rewordix_program_test name program define)
  add_dependencies(${name} ${program})
  target_compile_definitions(${name} PRIVATE ${define}="$<TARGET_FILE:${program}>")
endfunction()
