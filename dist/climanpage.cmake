# Writes the manual page of rewordix-cli from the program's own help texts, so the page lists
# exactly the subcommands and options the program has.
#   cmake -DCLI=path/to/rewordix-cli -DOUT=rewordix-cli.1 -DVERSION=1.191 -DWORK=dir -P climanpage.cmake
cmake_minimum_required(VERSION 3.25)

# Runs the program with `args` on an empty working folder and returns its standard output.
function(cli_help out)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env REWORDIX_HOME=${WORK} HOME=${WORK}
                    XDG_DATA_HOME=${WORK} XDG_CONFIG_HOME=${WORK} ${CLI} ${ARGN}
                  OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CLI} ${ARGN} ended with ${status}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The help text as a roff block shown as it is: backslashes, minus signs and lines that would
# read as requests are escaped.
function(roff_literal out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} ".nf\n${text}.fi\n" PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY ${WORK})
cli_help(main --help)

# "usage: ..." and the lines about FILE, up to "commands:".
string(FIND "${main}" "commands:" at)
string(SUBSTRING "${main}" 0 ${at} intro)
# The exit statuses: everything after "exit status:".
string(FIND "${main}" "exit status:" at)
string(SUBSTRING "${main}" ${at} -1 exits)
string(REPLACE "exit status: " "" exits "${exits}")
string(REPLACE "\n" " " exits "${exits}")
string(STRIP "${exits}" exits)

# One line per command: two spaces, the name, a space, its synopsis.
string(REGEX MATCHALL "\n  [a-z-]+ " names "${main}")
set(commands "")
foreach(name IN LISTS names)
  string(STRIP "${name}" name)
  cli_help(help ${name} --help)
  roff_literal(block "${help}")
  string(REPLACE "-" "\\-" heading "${name}")
  string(APPEND commands ".SS ${heading}\n${block}")
endforeach()

roff_literal(intro_block "${intro}")
string(REPLACE "-" "\\-" exits "${exits}")
string(REGEX REPLACE "([0-9]+) ([^,]+)(, |$)" ".TP\n.B \\1\n\\2\n" exit_items "${exits}")

file(WRITE ${OUT} ".TH REWORDIX\\-CLI 1 \"\" \"Rewordix ${VERSION}\" \"User Commands\"
.SH NAME
rewordix\\-cli \\- spin articles and export copies from the command line
.SH SYNOPSIS
.B rewordix\\-cli
.I COMMAND
.RI [ OPTIONS ]
.I FILE
.br
.B rewordix\\-cli
.I COMMAND
.B \\-\\-help
.SH DESCRIPTION
.B rewordix\\-cli
runs the engine of the Rewordix editor without a window: it spins, counts and exports texts in
spin syntax, lists synonyms, selects words automatically and posts to WordPress blogs.
It uses the same working folder as the editor
.RB ( REWORDIX_HOME ,
else
.IR ~/.local/share/rewordix_temp/ ).
.PP
${intro_block}.SH COMMANDS
${commands}.SH EXIT STATUS
${exit_items}.SH SEE ALSO
.BR rewordix (1)
")
