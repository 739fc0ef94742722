// Opening and interpreting a large ISDN trace in the Vexa window against vexa-interpret on
// the same trace, measured in one run. Usage:
//   vexa_open_bench TRACE VEXA_INTERPRET [RUNS]
// Both run with the default settings and the real ISDN component (VEXA_COMPONENT_PATH).
// With "-" for VEXA_INTERPRET only the window is measured. Printed as well: the processor
// time of the best open (every thread of the window) and the window's peak memory.
#include "CMainFrame.h"
#include "CVexaClientApp.h"

#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>

using namespace vexa;

namespace {
// Processor seconds the window's process has spent so far, every thread.
double ProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}
}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: vexa_open_bench TRACE VEXA_INTERPRET [RUNS]\n");
        return 2;
    }
    const QString trace = QString::fromLocal8Bit(argv[1]);
    const QString interpret = QString::fromLocal8Bit(argv[2]);
    const bool windowOnly = std::strcmp(argv[2], "-") == 0;
    const int runs = argc > 3 ? std::max(1, atoi(argv[3])) : 3;
    char *appArgs[] = {argv[0], nullptr};
    int appArgc = 1;
    CVexaClientApp app(appArgc, appArgs);
    // The main window exists before the clock starts; its own start-up is not the open.
    app.CreateMainWindow();
    app.MainFrame()->resize(1400, 900);
    app.MainFrame()->show();
    QElapsedTimer timer;
    double bestWindow = 1e9, bestCommand = 1e9, bestProcessor = 1e9;
    for (int run = 0; run < runs; ++run) {
        if (!windowOnly) {
            QProcess command;
            command.setStandardOutputFile(QProcess::nullDevice());
            timer.start();
            command.start(interpret, {trace});
            command.waitForFinished(-1);
            bestCommand = std::min(bestCommand, timer.elapsed() / 1000.0);
        }

        const double processorBefore = ProcessorSeconds();
        timer.start();
        app.MainFrame()->m_bInterpretOnOpen = true;
        CVexaClientDoc *doc = app.OpenDocumentFile(trace);
        QCoreApplication::processEvents();
        const double seconds = timer.elapsed() / 1000.0;
        bestProcessor = std::min(bestProcessor, ProcessorSeconds() - processorBefore);
        if (!doc || !doc->m_bOutputLoaded) {
            std::fprintf(stderr, "the trace was not interpreted\n");
            return 1;
        }
        bestWindow = std::min(bestWindow, seconds);
        app.MainFrame()->OnCommand(57602);  // close it again
        QCoreApplication::processEvents();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("vexa: open and interpret TRACE:      %8.1f ms\n", bestWindow * 1000);
    std::printf("window processor time:               %8.1f ms\n", bestProcessor * 1000);
    std::printf("window peak memory:                  %8.1f MB\n", usage.ru_maxrss / 1024.0);
    if (windowOnly) return 0;
    const double ratio = bestWindow / bestCommand;
    std::printf("vexa-interpret TRACE:                %8.1f ms\n", bestCommand * 1000);
    std::printf("ratio: %.2f (target at most 1.5): %s\n", ratio, ratio <= 1.5 ? "met" : "NOT MET");
    return ratio <= 1.5 ? 0 : 1;
}
