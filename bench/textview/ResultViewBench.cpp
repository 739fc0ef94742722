// Paint of the result text view with a short and a very long interpretation: a paint
// must cost the same whatever the length of the text. The text is the real interpretation
// of samples/isdn-call.trc by the ISDN component, repeated to the line count.
//
// After the Google Benchmark table the program prints, for the top, the middle and the
// end of the text, the paint time with 1,000,000 display lines, with 1,000, and their
// ratio, against the limits of 5 ms and twice the short text's time. It exits with 1 when
// a limit is passed.
#include "BenchHost.h"
#include "CVexaEditView.h"
#include "CVexaClientDoc.h"
#include "SettingsStore.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <map>
#include <memory>
#include <string>

using namespace vexa;

namespace {

using bench::BenchHost;

// The interpretation of the sample call, once.
const LineArray &CallLines() {
    static BenchHost host;
    static std::unique_ptr<CVexaClientDoc> doc = [] {
        auto d = std::make_unique<CVexaClientDoc>(host);
        if (!d->OnOpenDocument(std::string(VEXA_SAMPLES_DIR) + "/isdn-call.trc") || d->m_DisplayLines.empty()) {
            std::fprintf(stderr, "the sample call could not be interpreted (is VexaParser.so built?)\n");
            std::exit(2);
        }
        return d;
    }();
    return doc->m_DisplayLines;
}

// A document and its view showing lineCount display lines, painted once.
struct Fixture {
    BenchHost host;
    CVexaClientDoc doc{host};
    std::unique_ptr<CVexaEditView> view;
    QImage image;

    explicit Fixture(size_t lineCount) {
        const LineArray &call = CallLines();
        doc.m_DisplayLines.Reserve(lineCount);
        for (size_t i = 0; i < lineCount; i += call.size())
            doc.m_DisplayLines.AddRange(call, 0, std::min(call.size(), lineCount - i));
        doc.m_bTraceRecognised = true;
        doc.m_bOutputLoaded = true;
        view = std::make_unique<CVexaEditView>(doc, host.settings);
        view->resize(1040, 720);
        view->show();
        QApplication::processEvents();
        image = QImage(view->viewport()->size(), QImage::Format_RGB32);
        Paint();  // the first paint works out the rows and grows the content size
        QApplication::processEvents();
    }
    void Paint() { view->viewport()->render(&image); }
    void ScrollTo(int position) {
        QScrollBar *bar = view->verticalScrollBar();
        const int y = position == 0 ? 0 : position == 1 ? bar->maximum() / 2 : bar->maximum();
        view->ScrollToPosition({0, y});
    }
};

// The views live until main ends, before the application object goes.
std::map<size_t, std::unique_ptr<Fixture>> &Fixtures() {
    static std::map<size_t, std::unique_ptr<Fixture>> fixtures;
    return fixtures;
}

Fixture &FixtureFor(size_t lineCount) {
    auto &fixture = Fixtures()[lineCount];
    if (!fixture) fixture = std::make_unique<Fixture>(lineCount);
    return *fixture;
}

const char *kPositions[] = {"top", "middle", "end"};

// One paint of the window at the top, the middle or the end of the text.
void BM_Paint(benchmark::State &state) {
    Fixture &fixture = FixtureFor(static_cast<size_t>(state.range(0)));
    fixture.ScrollTo(static_cast<int>(state.range(1)));
    for (auto _ : state) {
        fixture.Paint();
        benchmark::DoNotOptimize(fixture.image.constBits());
    }
    state.SetLabel(kPositions[state.range(1)]);
}
BENCHMARK(BM_Paint)
    ->ArgsProduct({{1000, 1000000}, {0, 1, 2}})
    ->ArgNames({"lines", "at"})
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(0.3);

// The first paint after the text changed: the rows and their colours worked out anew.
void BM_PaintNewText(benchmark::State &state) {
    Fixture &fixture = FixtureFor(static_cast<size_t>(state.range(0)));
    fixture.ScrollTo(0);
    for (auto _ : state) {
        fixture.view->Repaint();
        fixture.Paint();
    }
}
BENCHMARK(BM_PaintNewText)->Arg(1000)->Arg(1000000)->ArgName("lines")->Unit(benchmark::kMillisecond);

// For comparison: drawing every display line from the first, as a paint would without
// the worked-out rows.
void BM_PaintAllLines(benchmark::State &state) {
    Fixture &fixture = FixtureFor(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        QPainter painter(&fixture.image);
        painter.setClipRect(fixture.image.rect());
        fixture.view->DrawResultLines(painter, fixture.view->ScreenFont());
    }
}
BENCHMARK(BM_PaintAllLines)->Arg(1000)->Arg(1000000)->ArgName("lines")->Unit(benchmark::kMillisecond)->Iterations(2);

// Keeps the mean time of every run, by name.
class Reporter : public benchmark::ConsoleReporter {
public:
    Reporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_None) {}
    void ReportRuns(const std::vector<Run> &runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.iterations > 0) seconds[run.benchmark_name()] = run.real_accumulated_time / run.iterations;
        }
    }
    std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    Fixtures().clear();

    bool checked = false;
    bool ok = true;
    std::printf("\nPaint of the window, 1,000,000 against 1,000 display lines (limits: 5 ms, 2x):\n");
    for (int at = 0; at < 3; ++at) {
        const std::string suffix = "/at:" + std::to_string(at);
        auto shortRun = reporter.seconds.find("BM_Paint/lines:1000" + suffix + "/min_time:0.300");
        auto longRun = reporter.seconds.find("BM_Paint/lines:1000000" + suffix + "/min_time:0.300");
        if (shortRun == reporter.seconds.end() || longRun == reporter.seconds.end()) continue;
        checked = true;
        const double shortMs = shortRun->second * 1e3;
        const double longMs = longRun->second * 1e3;
        const double ratio = longMs / shortMs;
        const bool pass = longMs <= 5.0 && ratio <= 2.0;
        ok = ok && pass;
        std::printf("  %-6s  1,000 lines %7.3f ms   1,000,000 lines %7.3f ms   ratio %5.2f   %s\n", kPositions[at],
                    shortMs, longMs, ratio, pass ? "ok" : "TOO SLOW");
    }
    if (!checked) std::printf("  (the paint benchmarks were not run)\n");
    std::fflush(stdout);
    return ok ? 0 : 1;
}
