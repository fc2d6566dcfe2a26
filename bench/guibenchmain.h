#pragma once

#include <functional>

// main() of the benchmark programs that need widgets: the offscreen platform unless
// QT_QPA_PLATFORM names another, quiet platform logging, a QApplication, then every registered
// benchmark. `beforeApp` runs before the application object exists (environment set-up),
// `withApp` once it does.
namespace benchdata {

int runWidgetBenchmarks(int argc, char **argv, const std::function<void()> &beforeApp = {},
                        const std::function<void()> &withApp = {});

} // namespace benchdata
