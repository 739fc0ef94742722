// How long the message list's commands take on a large trace, against filling the whole
// list: a call reference filter that keeps one call, and "Incoming Message: HWSW". Each
// is timed as the user waits for it (list emptied, filled, result text rebuilt).
//
// usage: list_bench TRACE CALLREF [RUNS]
// TRACE is an ISDN trace (bench/list/make-trace.py writes one with a single call of call
// reference H'55||H'66); CALLREF is the call reference as the Filter dialog offers it
// ("55  66"). The figures are the best of RUNS runs (default 3). Exit status 1 when a command takes
// more than 1.5 times as long as filling the list, or more than 0.5 s.
#include "BenchHost.h"
#include "CVexaClientDoc.h"
#include "CVexaListView.h"
#include "CommandIds.h"
#include "FilteredFills.h"
#include "QtPlatform.h"
#include "SettingsStore.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

using namespace vexa;

namespace {

// A list that keeps nothing: what the component and the document take alone.
class NoList : public IListView {
public:
    bool AddRow(int, int16_t, const std::string &, const std::string &, const std::string &, const std::string &,
                const std::string &, const std::string &, bool) override {
        ++rows;
        return true;
    }
    bool ReplaceRow(int, int16_t, const std::string &, const std::string &, const std::string &, const std::string &,
                    const std::string &, const std::string &, bool) override {
        return true;
    }
    void ClearList() override { rows = 0; }
    int GetRowCount() const override { return rows; }
    std::string GetItemText(int, int) const override { return {}; }
    void FocusList() override {}
    int rows = 0;
};

using bench::BenchHost;

double Seconds(const std::function<void()> &work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: list_bench TRACE CALLREF [RUNS]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;

    BenchHost host;
    const auto temp = std::filesystem::temp_directory_path() / ("vexa-list-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(temp);
    host.settings.m_strTempPath = temp.string() + "/";

    CVexaClientDoc doc(host);
    CVexaListView view(doc, host.settings);
    view.resize(900, 400);
    view.show();
    const double interpret = Seconds([&] { doc.OnOpenDocument(argv[1]); });
    if (!doc.m_bOutputLoaded) {
        std::fprintf(stderr, "list_bench: %s was not interpreted\n", argv[1]);
        return 2;
    }
    const int allRows = view.GetRowCount();
    const std::string key = CallReferenceKey(argv[2]);
    CListCtrlEx &list = view.ListCtrl();

    // Parts of the figures: the component's fill without a list, the refill and the
    // rebuilt text of "Incoming" on their own.
    NoList bare;
    doc.m_pListView = &bare;
    const double componentFill = Seconds([&] { doc.FillList(); });
    doc.m_pListView = &view;
    doc.m_strSearchText = "HWSW";
    const double refill = Seconds([&] {
        QEvent event(WM_REFILL_LIST);
        QCoreApplication::sendEvent(&view, &event);
    });
    const double rebuild = Seconds([&] { doc.RebuildResultText(); });
    doc.m_strSearchText.clear();
    view.ClearList();
    doc.FillList();

    double fill = 1e9, filter = 1e9, incoming = 1e9;
    int filteredRows = 0, incomingRows = 0;
    for (int run = 0; run < runs; ++run) {
        fill = std::min(fill, Seconds([&] {
                            view.ClearList();
                            doc.FillList();
                            QCoreApplication::processEvents();
                        }));
        filter = std::min(filter, Seconds([&] {
                              list.DeleteAllItems();
                              list.FillByCallReference(key);
                              list.RebuildResultText();
                              QCoreApplication::processEvents();
                          }));
        filteredRows = view.GetRowCount();
        incoming = std::min(incoming, Seconds([&] {
                                list.OnListCommand(ids::ID_LIST_INCOMING);
                                QCoreApplication::processEvents();
                            }));
        incomingRows = view.GetRowCount();
        list.OnListCommand(ids::ID_LIST_ALL);
    }
    doc.OnCloseDocument();
    std::filesystem::remove_all(temp);

    std::printf("trace: %s (%zu lines), interpreted in %.2f s\n", argv[1], doc.m_TraceLines.size(), interpret);
    std::printf("%-40s %8.3f s  %7d rows\n", "fill the whole list", fill, allRows);
    std::printf("%-40s %8.3f s  %7d rows  %.2f x fill\n", "filter by call reference (one call)", filter, filteredRows,
                filter / fill);
    std::printf("%-40s %8.3f s  %7d rows  %.2f x fill\n", "Incoming Message: HWSW", incoming, incomingRows,
                incoming / fill);
    std::printf("  parts: component fill without a list %.3f s; Incoming refill %.3f s, rebuilt text %.3f s\n",
                componentFill, refill, rebuild);
    const bool ok = filter <= 1.5 * fill && incoming <= 1.5 * fill && filter <= 0.5 && incoming <= 0.5;
    std::printf("%s (limits: 1.5 x fill and 0.5 s each)\n", ok ? "within limits" : "OVER LIMIT");
    return ok ? 0 : 1;
}
