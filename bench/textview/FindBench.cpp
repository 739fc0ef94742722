// Finding in the result text: the time to find every place of a text in the view's rows,
// as Ctrl+F and the find bar do, with 1,000 and with 1,000,000 display lines (the real
// interpretation of samples/isdn-call.trc repeated). Prints, for each, the places found and
// the milliseconds of the fastest of three runs, case folded and matching case, and exits
// with 1 when a million lines take more than a second.
#include "BenchHost.h"
#include "CVexaClientDoc.h"
#include "CVexaEditView.h"
#include "SettingsStore.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>

using namespace vexa;

namespace {

using bench::BenchHost;

double FindMilliseconds(CVexaEditView &view, const QString &text, FindOptions options, size_t &found) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        view.FindAll(text, options);
        const auto end = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
        found = view.Matches().size();
    }
    return best;
}

}  // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchHost host;
    CVexaClientDoc call(host);
    if (!call.OnOpenDocument(std::string(VEXA_SAMPLES_DIR) + "/isdn-call.trc") || call.m_DisplayLines.empty()) {
        std::fprintf(stderr, "the sample call could not be interpreted (is VexaParser.so built?)\n");
        return 2;
    }
    bool slow = false;
    for (size_t lineCount : {size_t(1000), size_t(1000000)}) {
        CVexaClientDoc doc(host);
        doc.m_DisplayLines.Reserve(lineCount);
        for (size_t i = 0; i < lineCount; i += call.m_DisplayLines.size())
            doc.m_DisplayLines.AddRange(call.m_DisplayLines, 0, std::min(call.m_DisplayLines.size(), lineCount - i));
        doc.m_bTraceRecognised = true;
        doc.m_bOutputLoaded = true;
        auto view = std::make_unique<CVexaEditView>(doc, host.settings);
        view->resize(1040, 720);
        view->FindAll(QStringLiteral("x"), {});  // the rows worked out once, as the first paint does
        for (const auto &[text, options] : {std::pair{QStringLiteral("setup"), FindOptions{false, false}},
                                            std::pair{QStringLiteral("SETUP"), FindOptions{true, false}},
                                            std::pair{QStringLiteral("call reference"), FindOptions{false, true}}}) {
            size_t found = 0;
            const double ms = FindMilliseconds(*view, text, options, found);
            std::printf("%8zu lines  find \"%s\"%s%s: %9zu places in %8.1f ms\n", lineCount, qPrintable(text),
                        options.matchCase ? ", match case" : "", options.wholeWord ? ", whole word" : "", found, ms);
            if (lineCount == 1000000 && ms > 1000) slow = true;
        }
    }
    return slow ? 1 : 0;
}
