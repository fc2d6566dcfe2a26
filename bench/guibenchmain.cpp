#include "guibenchmain.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace benchdata {

int runWidgetBenchmarks(int argc, char **argv, const std::function<void()> &beforeApp,
                        const std::function<void()> &withApp)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    if (beforeApp)
        beforeApp();
    QApplication app(argc, argv);
    if (withApp)
        withApp();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace benchdata
