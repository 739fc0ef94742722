// The call flow of a call of 10,000 messages: an ISDN call on one equipment with one call
// reference (SETUP, 9,996 INFORMATION messages both ways, DISCONNECT, RELEASE, RELEASE
// COMPLETE), interpreted by the real ISDN component.
//
// Measured: building the call flow as View > Call Flow does (the messages read from the
// component, the call of the chosen row picked out), opening the ladder diagram window
// offscreen until its diagram has been painted once, and one scroll step (a row, a page)
// with its repaint. After the Google Benchmark table the program prints the figures
// against the targets: opening (building and showing) under 100 ms, a scroll step within
// one frame (16 ms). It exits with 1 when a target is missed.
#include "BenchHost.h"
#include "CCallFlowWindow.h"
#include "CVexaClientDoc.h"
#include "CallFlow.h"
#include "SettingsStore.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

using namespace vexa;

namespace {

constexpr int kMessages = 10000;

using bench::BenchHost;

// One signal of the call: outgoing DLRDATALONG or incoming DLIDATALONG.
void WriteSignal(std::ofstream &out, int n, bool outgoing, const char *octets) {
    const int t = 9 * 360000 + 41 * 6000 + n * 3;
    char head[96];
    std::snprintf(head, sizeof head, "%02d.%02d.%02d.%02d %05d  %s\n", t / 360000, t / 6000 % 60, t / 100 % 60,
                  t % 100, n, outgoing ? "SWHW DLRDATALONG  ISDNCP-01  DLB-0102" : "HWSW DLIDATALONG  DLB-0102   ISDNCP-01");
    const std::string hex = octets;
    out << head << "                        EQU NO      001-0-02-01\n"
        << "                        DATA " << hex << "\n"
        << "                        LEN " << (hex.size() + 1) / 3 << "\n";
}

// The trace of the call, written once into a temporary folder.
std::string WriteCallTrace(const std::string &dir) {
    const std::string path = dir + "/long-call.trc";
    std::ofstream out(path);
    out << "KORVAN SIGNAL TRACE   EXCHANGE HQ-01   STARTED 2026-12-05 09.41.00\n"
        << "TRACE SET: ISDN  EQU 001-0-02-01\n\n";
    WriteSignal(out, 1, true, "08 01 01 05 A1 04 03 80 90 A3 18 01 89 70 04 C1 34 35 36");
    for (int n = 2; n <= kMessages - 3; ++n)
        WriteSignal(out, n, n % 2 == 0, n % 2 == 0 ? "08 01 01 7B 70 02 81 35" : "08 01 81 7B");
    WriteSignal(out, kMessages - 2, true, "08 01 01 45 08 02 82 90");
    WriteSignal(out, kMessages - 1, false, "08 01 81 4D");
    WriteSignal(out, kMessages, true, "08 01 01 5A");
    out << "END OF TRACE\n";
    return path;
}

// The interpreted trace, once for all benchmarks.
struct Trace {
    std::string dir;
    BenchHost host;
    std::unique_ptr<CVexaClientDoc> doc;

    Trace() {
        char pattern[] = "/tmp/vexa-callflow-bench-XXXXXX";
        dir = mkdtemp(pattern);
        host.settings.m_strTempPath = dir + "/";
        doc = std::make_unique<CVexaClientDoc>(host);
        if (!doc->OnOpenDocument(WriteCallTrace(dir)) || !doc->m_bOutputLoaded) {
            std::fprintf(stderr, "the call could not be interpreted (is VexaParser.so built?)\n");
            std::exit(2);
        }
    }
    ~Trace() {
        doc->OnCloseDocument();
        doc.reset();
        std::filesystem::remove_all(dir);
    }
};

Trace &TheTrace() {
    static Trace trace;
    return trace;
}

// What View > Call Flow runs for the row of the call's SETUP.
CallFlow BuildFlow() { return BuildCallFlowOfMessage(ReadFlowMessages(*TheTrace().doc, FlowFacts::Diagram), 1); }

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;
protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// The window opened on a flow and shown until its diagram was painted once.
void OpenAndPaint(CCallFlowWindow &window, CallFlow flow) {
    PaintCounter counter;
    window.View()->viewport()->installEventFilter(&counter);
    window.SetFlow(std::move(flow), FlowColors());
    window.show();
    while (counter.paints == 0) QApplication::processEvents(QEventLoop::AllEvents, 5);
    window.View()->viewport()->removeEventFilter(&counter);
}

void BM_BuildCallFlow(benchmark::State &state) {
    TheTrace();
    size_t arrows = 0;
    for (auto _ : state) {
        CallFlow flow = BuildFlow();
        arrows = flow.arrows.size();
        benchmark::DoNotOptimize(flow);
    }
    state.counters["arrows"] = static_cast<double>(arrows);
    if (arrows != kMessages) state.SkipWithError("the call is not the whole trace");
}
BENCHMARK(BM_BuildCallFlow)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_OpenWindow(benchmark::State &state) {
    const CallFlow flow = BuildFlow();
    for (auto _ : state) {
        CCallFlowWindow window;
        OpenAndPaint(window, flow);
        state.PauseTiming();
        window.close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenWindow)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Building and opening together: what the user waits for after Ctrl+L.
void BM_CallFlowCommand(benchmark::State &state) {
    TheTrace();
    for (auto _ : state) {
        CCallFlowWindow window;
        OpenAndPaint(window, BuildFlow());
        state.PauseTiming();
        window.close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CallFlowCommand)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// One scroll step down and its repaint, in the middle of the call: range(0) 0 a row, 1 a page.
void BM_ScrollStep(benchmark::State &state) {
    CCallFlowWindow window;
    OpenAndPaint(window, BuildFlow());
    QScrollBar *bar = window.View()->verticalScrollBar();
    const int step = state.range(0) == 0 ? bar->singleStep() : bar->pageStep();
    const int middle = bar->maximum() / 2;
    bar->setValue(middle);
    for (auto _ : state) {
        bar->setValue(bar->value() + step > bar->maximum() ? middle : bar->value() + step);
        window.View()->viewport()->repaint();
    }
    state.SetLabel(state.range(0) == 0 ? "row" : "page");
}
BENCHMARK(BM_ScrollStep)->Arg(0)->Arg(1)->ArgName("page")->Unit(benchmark::kMicrosecond)->MinTime(0.5);

// Keeps the mean time of every run, by name.
class Reporter : public benchmark::ConsoleReporter {
public:
    Reporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_None) {}
    void ReportRuns(const std::vector<Run> &runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            if (run.iterations > 0 && !run.error_occurred) seconds[run.benchmark_name()] = run.real_accumulated_time / run.iterations;
    }
    double Ms(const std::string &prefix) const {
        for (const auto &[name, s] : seconds)
            if (name.rfind(prefix, 0) == 0) return s * 1e3;
        return -1;
    }
    std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("VEXA_COMPONENT_PATH")) qputenv("VEXA_COMPONENT_PATH", VEXA_COMPONENT_DIR);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double build = reporter.Ms("BM_BuildCallFlow"), open = reporter.Ms("BM_OpenWindow");
    const double command = reporter.Ms("BM_CallFlowCommand");
    const double row = reporter.Ms("BM_ScrollStep/page:0"), page = reporter.Ms("BM_ScrollStep/page:1");
    bool ok = true;
    auto line = [&](const char *what, double ms, double limit, const char *target) {
        if (ms < 0) {
            std::printf("  %-44s (not run)\n", what);
            return;
        }
        const bool pass = limit <= 0 || ms < limit;
        ok = ok && pass;
        std::printf("  %-44s %8.3f ms  %s%s\n", what, ms, target, limit <= 0 ? "" : pass ? "  ok" : "  TOO SLOW");
    };
    std::printf("\nCall flow of a call of %d messages (target: opens in under 100 ms, a scroll step within "
                "one 16 ms frame):\n", kMessages);
    line("building the call flow from the document", build, 0, "");
    line("opening the window until painted once", open, 0, "");
    line("View > Call Flow: building and opening", command, 100, "(target under 100 ms)");
    line("scroll step of one row, repainted", row, 16, "(target under 16 ms)");
    line("scroll step of one page, repainted", page, 16, "(target under 16 ms)");
    std::fflush(stdout);
    return ok ? 0 : 1;
}
