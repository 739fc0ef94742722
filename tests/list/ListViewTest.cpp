// The message list as a user sees it: rows and their colours, columns, focus, printing.
#include "CVexaListView.h"
#include "CVexaEditView.h"
#include "CVexaMdiEditView.h"

#include <QSplitter>
#include "ListTestSupport.h"
#include "QtPlatform.h"

#include <QHeaderView>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using namespace vexa;
using namespace vexa::listtest;

namespace {

// Whether any pixel of the rectangle has exactly this colour.
bool HasColour(const QImage &image, const QRect &rect, const QColor &colour) {
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixelColor(x, y) == colour) return true;
    return false;
}

int PdfPages(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray data = file.readAll();
    return static_cast<int>(QString::fromLatin1(data).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

}  // namespace

class ListViewTest : public QObject {
    Q_OBJECT

    Host host;
    std::unique_ptr<CVexaClientDoc> doc;
    std::unique_ptr<CVexaListView> view;

    void AddRows(int n) {
        for (int i = 0; i < n; ++i) view->AddRow(i, static_cast<int16_t>(i), "SWHW", "T", "SETUP", "09.00", "A", "B", true);
    }

private slots:
    void init() {
        host.settings = Host().settings;
        doc = std::make_unique<CVexaClientDoc>(host);
    }
    void cleanup() {
        view.reset();
        doc.reset();
    }

    void rowsShowTheSignalAsTheListShowsIt() {
        view = std::make_unique<CVexaListView>(*doc, host.settings);
        QCOMPARE(doc->m_pListView, static_cast<IListView *>(view.get()));
        view->AddRow(0, 42, "SWHW", "DLRDATALONG", "SETUP", "09.41.07.25", "ISDNCP-01", "DLB-0102", true);
        view->AddRow(1, static_cast<int16_t>(0xFFFF), "swhw", "DLIDATA", "CONNECT", "09.41.07.31", "DLB", "ISDNCP", true);
        view->AddRow(2, 43, "HWSW", "DLIDATA", "RELEASE", "09.41.08.00", "DLB", "ISDNCP", false);
        QCOMPARE(view->GetRowCount(), 3);
        const QStringList first = {"42", "Send", "SETUP", "09.41.07.25", "ISDNCP-01", "DLB-0102"};
        for (int c = 0; c < 6; ++c) QCOMPARE(QString::fromStdString(view->GetItemText(0, c)), first[c]);
        QCOMPARE(view->GetItemText(1, 0), std::string("-1"));
        QCOMPARE(view->GetItemText(1, 1), std::string("Received"));  // only "SWHW" exactly is Send
        QCOMPARE(view->ListCtrl().RowColours(), QStringList({"0,0,0", "0,0,0", "255,0,0"}));

        // Replacing the last row shows the later message, in red.
        view->ReplaceRow(2, 43, "HWSW", "DLIDATA", "RELEASE COMPLETE", "09.41.08.10", "DLB", "ISDNCP", false);
        QCOMPARE(view->GetRowCount(), 3);
        QCOMPARE(view->GetItemText(2, 2), std::string("RELEASE COMPLETE"));
        QCOMPARE(view->ListCtrl().RowColours().size(), 3);

        view->ClearList();
        QCOMPARE(view->GetRowCount(), 0);
        QVERIFY(view->ListCtrl().RowColours().isEmpty());
        view.reset();
        QCOMPARE(doc->m_pListView, static_cast<IListView *>(nullptr));
    }

    void rowsAreDrawnInTheirColourAndTheSelectedRowBlueAcrossTheWidth() {
        host.settings.m_nRed = 0;
        host.settings.m_nGreen = 128;
        host.settings.m_nBlue = 0;
        view = std::make_unique<CVexaListView>(*doc, host.settings);
        host.settings.m_nGreen = 0;  // later changes do not reach the view
        // Narrow columns, so that the window is wider than the columns.
        for (int c = 0; c < 6; ++c) view->ListCtrl().SetColumnWidth(c, 60);
        view->AddRow(0, 1, "SWHW", "T", "SETUP", "09.00", "A", "B", true);
        view->AddRow(1, 2, "HWSW", "T", "CONNECT", "09.01", "B", "A", false);
        view->AddRow(2, 3, "HWSW", "T", "ALERTING", "09.02", "B", "A", true);
        QCOMPARE(view->ListCtrl().RowColours(), QStringList({"0,128,0", "255,0,0", "0,128,0"}));
        view->resize(800, 300);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        view->activateWindow();
        view->FocusList();
        QTRY_VERIFY(view->ListCtrl().hasFocus());
        // Focus with nothing selected selects the first row.
        QCOMPARE(view->ListCtrl().GetFirstSelectedRow(), 0);

        CListCtrlEx &list = view->ListCtrl();
        const QImage image = list.viewport()->grab().toImage();
        if (qEnvironmentVariableIsSet("VEXA_LIST_SHOTS"))
            view->grab().save(qEnvironmentVariable("VEXA_LIST_SHOTS") + "/list.png");
        const QRect row0 = list.visualRect(list.Model().index(0, 0));
        const QRect row1 = list.visualRect(list.Model().index(1, 0));
        const QRect row2 = list.visualRect(list.Model().index(2, 0));
        // Selected: pure blue fill reaching the right edge of the window.
        QCOMPARE(image.pixelColor(list.viewport()->width() - 3, row0.center().y()), QColor(0, 0, 255));
        const QRect band1(0, row1.top(), 360, row1.height());
        QVERIFY(HasColour(image, band1, QColor(255, 0, 0)));
        QVERIFY(!HasColour(image, QRect(0, row2.top(), 360, row2.height()), QColor(255, 0, 0)));
        QVERIFY(HasColour(image, QRect(0, row2.top(), 360, row2.height()), QColor(0, 128, 0)));
        QVERIFY(image.pixelColor(list.viewport()->width() - 3, row1.center().y()) != QColor(0, 0, 255));
    }

    void aLongMessageIsCutWithAnEllipsis() {
        view = std::make_unique<CVexaListView>(*doc, host.settings);
        view->AddRow(0, 1, "SWHW", "T", std::string(200, 'W'), "09.00", "A", "B", true);
        view->resize(900, 200);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        CListCtrlEx &list = view->ListCtrl();
        const QImage image = list.viewport()->grab().toImage();
        // Nothing of the message is drawn into the Time column (the message column ends at
        // 350 pixels, minus its margin).
        const QRect row = list.visualRect(list.Model().index(0, 0));
        const int timeLeft = list.header()->sectionViewportPosition(3);
        QVERIFY(!HasColour(image, QRect(timeLeft - 4, row.top(), 6, row.height()), QColor(0, 0, 0)));
    }

    void emptyListTakesTheFocusWithoutSelecting() {
        view = std::make_unique<CVexaListView>(*doc, host.settings);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        view->activateWindow();
        view->FocusList();
        QTRY_VERIFY(view->ListCtrl().hasFocus());
        QCOMPARE(view->ListCtrl().GetFirstSelectedRow(), -1);
    }

    void columnsHaveTheirHeadingsAndWidthsByDisplayOrder() {
        view = std::make_unique<CVexaListView>(*doc, host.settings);
        CListCtrlEx &list = view->ListCtrl();
        QStringList headings;
        for (int c = 0; c < 6; ++c) headings << list.Model().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        QCOMPARE(headings, QStringList({"Sig Seq No", "Msg Direction", "Message", "Time", "Msg From", "Msg To"}));
        // The default widths; the time column at least as wide as a time stamp needs.
        const int time = list.GetColumnWidth(3);
        QVERIFY(time >= 100 && time >= QFontMetrics(list.ListFont()).horizontalAdvance("00.00.00.000"));
        QCOMPARE(view->ColumnWidthsByOrder(), (std::array<int32_t, 6>{100, 100, 150, time, 150, 300}));
        // The user drags "Msg To" to the front.
        list.header()->moveSection(5, 0);
        QCOMPARE(view->ColumnWidthsByOrder(), (std::array<int32_t, 6>{300, 100, 100, 150, time, 150}));
        QCOMPARE(list.GetColumnWidthByOrder(6), 0);
        // Hit testing walks the columns in display order.
        view->resize(1000, 200);
        view->AddRow(0, 1, "SWHW", "T", "SETUP", "09.00", "A", "B", true);
        list.Model().Flush();
        const QRect row = list.visualRect(list.Model().index(0, 0));
        int r = -1, c = -1;
        QVERIFY(list.HitTestEx(QPoint(310, row.center().y()), r, c));
        QCOMPARE(r, 0);
        QCOMPARE(c, 1);
        QVERIFY(!list.HitTestEx(QPoint(990, row.center().y()), r, c));
        QCOMPARE(c, -1);
    }

    void theListFontAndItsRecord() {
        host.settings.m_lfMessageList.SetFaceName("DejaVu Sans");
        host.settings.m_lfMessageList.lfHeight = -15;
        view = std::make_unique<CVexaListView>(*doc, host.settings);
        QCOMPARE(view->GetListFont(), host.settings.m_lfMessageList);
        QCOMPARE(view->ListCtrl().PrintFontRecord().lfHeight, -200);
        QFont chosen(QStringLiteral("DejaVu Sans"));
        chosen.setPointSize(12);
        view->ListCtrl().ApplyListFont(chosen);
        QCOMPARE(view->ListCtrl().PrintFontRecord().lfHeight, -240);  // 12 points in twips
        QCOMPARE(view->GetListFont().FaceName(), std::string("DejaVu Sans"));
    }

    void printingFitsTheRowsPerPage_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages");
        QTest::newRow("100 rows") << 100 << 2;
        QTest::newRow("101 rows") << 101 << 3;
        QTest::newRow("no rows") << 0 << 0;
    }
    void printingFitsTheRowsPerPage() {
        QFETCH(int, rows);
        QFETCH(int, pages);
        view = std::make_unique<CVexaListView>(*doc, host.settings);
        AddRows(rows);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setFullPage(false);
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        view->BeginPrinting(printer);
        const int rowTwips = view->ListCtrl().m_nPrintRowHeight;
        QVERIFY(rowTwips > 100);
        // A page just high enough for 50 rows below the half inch kept blank.
        const double heightTwips = 720 + 50 * rowTwips + rowTwips / 2.0;
        printer.setPageSize(QPageSize(QSizeF(8.5 * 72, heightTwips / 20.0), QPageSize::Point));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        QCOMPARE(view->BeginPrinting(printer), pages);
        QCOMPARE(view->RowsPerPage(), 50);
        QVERIFY(view->PrintList(printer));
        if (pages > 0) QCOMPARE(PdfPages(pdf), pages);
    }

    void theSecondPageStartsWithTheRowAfterTheFirstPage() {
        view = std::make_unique<CVexaListView>(*doc, host.settings);
        AddRows(101);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        QTemporaryDir dir;
        printer.setOutputFileName(dir.filePath(QStringLiteral("p.pdf")));
        printer.setPageSize(QPageSize(QPageSize::A4));
        const int pages = view->BeginPrinting(printer);
        const int perPage = view->RowsPerPage();
        QVERIFY(perPage > 0);
        QCOMPARE(pages, (101 + perPage - 1) / perPage);
        QPainter painter(&printer);
        const auto second = view->PrintPage(painter, printer, 2);
        QCOMPARE(second.first, perPage);
        const auto last = view->PrintPage(painter, printer, pages);
        QCOMPARE(last.first + last.count, 101);
    }

    void aPageTooSmallForOneRowPrintsOneRowPerPage() {
        view = std::make_unique<CVexaListView>(*doc, host.settings);
        AddRows(3);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        QTemporaryDir dir;
        printer.setOutputFileName(dir.filePath(QStringLiteral("tiny.pdf")));
        printer.setPageSize(QPageSize(QSizeF(200, 40), QPageSize::Point));  // 800 twips high
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        QCOMPARE(view->BeginPrinting(printer), 3);
        QVERIFY(view->RowsPerPage() <= 0);
        QVERIFY(view->PrintList(printer));
        QCOMPARE(PdfPages(dir.filePath(QStringLiteral("tiny.pdf"))), 3);
    }

    void refillEmptiesTheListAndFillsItFromTheSearchText() {
        view = std::make_unique<CVexaListView>(*doc, host.settings);
        AddRows(5);
        QEvent refill(WM_REFILL_LIST);
        QCoreApplication::sendEvent(view.get(), &refill);
        QCOMPARE(view->GetRowCount(), 0);  // no run: the document has nothing to list
    }

    void theResultsFrameHoldsTheTextAboveTheList() {
        CVexaMdiEditView frame(*doc, host.settings);
        QCOMPARE(doc->m_pListView, static_cast<IListView *>(frame.ListView()));
        QCOMPARE(doc->m_pResultView, static_cast<IResultView *>(frame.EditView()));
        frame.resize(600, 800);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        const QList<int> sizes = frame.Splitter()->sizes();
        QCOMPARE(sizes.size(), 2);
        QVERIFY(std::abs(sizes[0] - sizes[1]) <= frame.Splitter()->handleWidth() + 1);
        QVERIFY(frame.EditView()->geometry().bottom() < frame.ListView()->geometry().top());
        QCOMPARE(frame.ListView()->minimumHeight(), 200);
        // The list fills its pane, also after the window grows.
        frame.resize(700, 1000);
        QTRY_COMPARE(frame.ListView()->ListCtrl().geometry(), frame.ListView()->rect());
    }

    void f1AsksForHelp() {
        int topic = -1;
        SetHelpHandler([&](int t) { topic = t; });
        view = std::make_unique<CVexaListView>(*doc, host.settings);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        QTest::keyClick(&view->ListCtrl(), Qt::Key_F1);
        QCOMPARE(topic, 0);
        SetHelpHandler(nullptr);
    }
};

QTEST_MAIN(ListViewTest)
#include "ListViewTest.moc"
