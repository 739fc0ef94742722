// The call flow window and the summary window driven as a user drives them, offscreen:
// clicks and keys make arrows current and announce their signals, the pictures saved are
// the diagram, and printing splits a long call over pages.
#include "CCallFlowWindow.h"
#include "CSummaryWindow.h"
#include "CVexaClientDoc.h"
#include "MemoryHost.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace vexa;

namespace {

// A document host for a trace opened with the real parser components.
// Its messages are also printed, so that a failed open says why in the test's output.
class SampleHost : public test::MemoryHost {
public:
    explicit SampleHost(const QString &tempDir) {
        settings.m_strTempPath = tempDir.toStdString() + "/";
        settings.m_bWriteAllRows = false;
        settings.m_bWriteHexInfo = false;
    }
    void ShowMessage(const std::string &text) override {
        qWarning("%s", text.c_str());
        MemoryHost::ShowMessage(text);
    }
};

// A call of count messages between two sides, every third one incoming, the fifth invalid.
CallFlow MakeFlow(int count) {
    CallFlow flow;
    flow.title = "test call";
    flow.sides = {"ISDNCP-02", "DLB-0407"};
    for (int i = 0; i < count; ++i) {
        FlowMessage m;
        m.index = i + 1;
        m.sequence = static_cast<int16_t>(100 + i % 30000);
        m.name = i == 0 ? "SETUP" : "INFORMATION";
        m.time = "10.00.00." + std::to_string(i % 100);
        const bool incoming = i % 3 == 2;
        m.direction = incoming ? "HWSW" : "SWHW";
        m.from = incoming ? "DLB-0407" : "ISDNCP-02";
        m.to = incoming ? "ISDNCP-02" : "DLB-0407";
        m.valid = i != 4;
        flow.arrows.push_back(m);
    }
    return flow;
}

}  // namespace

class CallFlowWindowTest : public QObject {
    Q_OBJECT
private slots:
    void clickingAnArrowAnnouncesItsSignal() {
        CCallFlowWindow window;
        window.SetFlow(MakeFlow(20), FlowColors());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CCallFlowView *view = window.View();
        QSignalSpy spy(&window, &CCallFlowWindow::ArrowActivated);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->ArrowRect(3).center());
        QCOMPARE(view->CurrentArrow(), 3);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 103);
        QCOMPARE(spy.at(0).at(1).toInt(), 4);
        // Above the first arrow (the side names) nothing is chosen.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(50, 5));
        QCOMPARE(spy.count(), 1);
    }

    void theKeyboardWalksTheArrowsAndScrolls() {
        CCallFlowWindow window;
        window.SetFlow(MakeFlow(500), FlowColors());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CCallFlowView *view = window.View();
        view->setFocus();
        QSignalSpy spy(view, &CCallFlowView::ArrowActivated);
        QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(view->CurrentArrow(), 0);
        QTest::keyClick(view, Qt::Key_Down);
        QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(view->CurrentArrow(), 2);
        QTest::keyClick(view, Qt::Key_Up);
        QCOMPARE(view->CurrentArrow(), 1);
        QTest::keyClick(view, Qt::Key_End);
        QCOMPARE(view->CurrentArrow(), 499);
        // The last arrow is in sight.
        QVERIFY(view->ArrowRect(499).bottom() <= view->viewport()->height());
        QVERIFY(view->verticalScrollBar()->value() > 0);
        QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(view->CurrentArrow(), 499);
        QTest::keyClick(view, Qt::Key_Home);
        QCOMPARE(view->CurrentArrow(), 0);
        QCOMPARE(view->verticalScrollBar()->value(), 0);
        QCOMPARE(spy.last().at(0).toInt(), 100);
    }

    void savedPicturesAreTheDiagram() {
        QTemporaryDir dir;
        CCallFlowView view;
        view.SetFlow(MakeFlow(10), FlowColors());
        const QString svg = dir.filePath("call.svg"), png = dir.filePath("call.png");
        QVERIFY(view.SaveSvg(svg));
        QFile file(svg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QCOMPARE(text.count("class=\"arrow\""), 10);
        QCOMPARE(text.count(">!!!</text>"), 1);  // the invalid fifth message is marked beside its time
        QVERIFY(text.contains(">SETUP</text>"));
        QVERIFY(view.SavePng(png));
        QImage image(png);
        QCOMPARE(image.width(), FlowLayout::Width(view.Flow()));
        QCOMPARE(image.height(), FlowLayout::Height(view.Flow()));
        // The invalid fifth arrow is drawn in red across the middle of the picture.
        const int y = FlowLayout::ArrowY(4);
        const QColor mid = image.pixelColor((FlowLayout::ColumnX(0) + FlowLayout::ColumnX(1)) / 2 + 40, y);
        QVERIFY2(mid.red() > 200 && mid.blue() < 80, qPrintable(mid.name()));
        QVERIFY(!view.SaveSvg(dir.filePath("no/such/folder/x.svg")));
    }

    // The diagram fills the page's width at any printer resolution (the window prints at
    // the printer's own), so a long call takes as many pages either way.
    void aLongCallPrintsOverPages() {
        QTemporaryDir dir;
        CCallFlowView view;
        view.SetFlow(MakeFlow(300), FlowColors());
        QList<int> counts;
        for (QPrinter::PrinterMode mode : {QPrinter::ScreenResolution, QPrinter::HighResolution}) {
            QPrinter printer(mode);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(dir.filePath("call.pdf"));
            const int pages = view.Print(printer);
            QVERIFY2(pages > 5, qPrintable(QString::number(pages)));
            QVERIFY(QFile(dir.filePath("call.pdf")).size() > 0);
            counts.append(pages);
        }
        QVERIFY2(qAbs(counts[0] - counts[1]) <= 1, qPrintable(QString("%1 against %2").arg(counts[0]).arg(counts[1])));
    }

    void aCallOfTenThousandMessagesOpensAtOnce() {
        CallFlow flow = MakeFlow(10000);
        CCallFlowWindow window;
        QElapsedTimer timer;
        timer.start();
        window.SetFlow(std::move(flow), FlowColors());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.View()->viewport()->repaint();
        const qint64 ms = timer.elapsed();
        qInfo("a call of 10000 messages opened in %lld ms", ms);
        QVERIFY2(ms < 1000, qPrintable(QString::number(ms)));
        QTest::keyClick(window.View(), Qt::Key_End);
        QCOMPARE(window.View()->CurrentArrow(), 9999);
    }

    // Two IP calls between the same two sides: the window of each shows its own RAS, call
    // signalling and H.245 messages, as walking its arrows with the keyboard announces them.
    void anIpCallWindowWalksOnlyItsOwnMessages() {
        QTemporaryDir temp;
        SampleHost host(temp.path());
        host.settings.m_nCurrentProtocol = host.settings.m_nDefaultProtocol = 6;
        CVexaClientDoc doc(host);
        QVERIFY(doc.OnOpenDocument(VEXA_SAMPLES "/ip-two-calls.trc"));
        QVERIFY(doc.m_bOutputLoaded);
        const std::vector<FlowMessage> messages = ReadFlowMessages(doc);
        auto indexOf = [&](int sequence) {
            for (const FlowMessage &m : messages)
                if (m.sequence == sequence) return m.index;
            return 0;
        };
        const QList<int> callA = {602, 603, 604, 605, 606, 610, 611, 613, 617, 619, 621, 621,
                                  623, 625, 626, 630, 631, 632, 633};
        const QList<int> callB = {607, 608, 609, 612, 614, 615, 616, 618, 620, 622, 627, 628, 629};
        // Opened from an H.245 message of call A, and from the SETUP of call B.
        for (const auto &[from, call] : {std::pair{613, callA}, std::pair{609, callB}}) {
            CCallFlowWindow window;
            window.SetFlow(BuildCallFlowOfMessage(messages, indexOf(from)), FlowColors());
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            CCallFlowView *view = window.View();
            QCOMPARE(view->Flow().sides, (std::vector<std::string>{"H323-01", "IPGW-01"}));
            QSignalSpy spy(&window, &CCallFlowWindow::ArrowActivated);
            QTest::keyClick(view, Qt::Key_Home);
            for (int i = 1; i < call.size(); ++i) QTest::keyClick(view, Qt::Key_Down);
            QList<int> walked;
            for (const QList<QVariant> &args : spy) walked.append(args.at(0).toInt());
            QCOMPARE(walked, call);
            // The last arrow is the end of the call.
            QTest::keyClick(view, Qt::Key_Down);
            QCOMPARE(view->CurrentArrow(), static_cast<int>(call.size()) - 1);
            // The window's title names the call.
            QVERIFY(window.windowTitle().contains("Call ID "));
        }
        doc.OnCloseDocument();
    }

    void summaryLinesLeadToTheirSignals() {
        TraceSummary summary;
        summary.causes.push_back({"17  User busy  2", {123, 140}});
        summary.unended.push_back({"EQU NO 001 CR 09: SETUP 300 at 12.00.01.00", {300}});
        CSummaryWindow window;
        window.SetSummary(summary);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.topLevelItemCount(), 4);
        QCOMPARE(window.topLevelItem(1)->text(0), QString("Causes (1)"));
        QSignalSpy spy(&window, &CSummaryWindow::SignalChosen);
        window.setCurrentItem(window.topLevelItem(1)->child(0));
        window.setFocus();
        QTest::keyClick(&window, Qt::Key_Return);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 123);
        // A section heading leads nowhere.
        window.setCurrentItem(window.topLevelItem(3));
        QTest::keyClick(&window, Qt::Key_Return);
        QCOMPARE(spy.count(), 1);
    }
};

QTEST_MAIN(CallFlowWindowTest)
#include "CallFlowWindowTest.moc"
