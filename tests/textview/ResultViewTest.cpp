// The result text view on screen: the colours a user sees on a real interpretation, the
// centring, the growth of the scroll range, Go To, the keys, the context menu, and a paint
// of the rows in view against a paint of every line from the first.
#include "CVexaEditView.h"
#include "CommandIds.h"
#include "QtPlatform.h"
#include "TextViewTestSupport.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

using namespace vexa;
using namespace vexa::test;

namespace {

// A font without smoothing, so that every inked pixel has the line's colour.
QFont PlainFont() {
    QFont font = FontFromRecord(FontRecord{});
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

QRgb Rgb32(ColorRef c) { return ToQColor(c).rgb() | 0xFF000000u; }

// The view showing a document, at a given size, painted once.
void ShowView(CVexaEditView &view, QSize size) {
    view.resize(size);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    Grab(view);
    QCoreApplication::processEvents();
}

// What a paint of every display line from the first shows in the window.
QImage FullWalk(CVexaEditView &view) {
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(view.ContentOrigin());
    view.DrawResultLines(painter, view.ScreenFont());
    return image;
}

int RowHeight(const CVexaEditView &view) { return QFontMetrics(view.ScreenFont(), view.viewport()).height(); }

}  // namespace

class ResultViewTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { StopWatchingDialogs(); }
    void setUpFromTheDocumentAndSettings();
    void realInterpretationInItsColours();
    void nothingShownUntilTheTraceIsRecognised();
    void textCentredInAWideWindow();
    void paintOfRowsInViewEqualsPaintOfAllLines();
    void scrollRangeGrowsWithTheText();
    void gotoMessageKeepsTheLineAboveInView();
    void keysScrollAndMoveOn();
    void contextMenuOnlyOnceTheOutputIsLoaded();
};

void ResultViewTest::setUpFromTheDocumentAndSettings() {
    TestHost host;
    host.settings.m_lfResultView.lfHeight = -15;
    auto doc = DocumentWithLines(host, {});
    {
        CVexaEditView view(*doc, host.settings);
        QCOMPARE(doc->m_pResultView, static_cast<IResultView *>(&view));
        QCOMPARE(view.GetTotalSize(), (ContentSize{1000, 3000}));
        QCOMPARE(view.GetPageStep(), (ContentSize{100, 300}));
        QCOMPARE(view.GetLineStep(), (ContentSize{10, 30}));
        QCOMPARE(view.LineStep(), -15);
        QCOMPARE(view.ScreenFont().pixelSize(), 15);
        QCOMPARE(view.GetResultFont(), host.settings.m_lfResultView);
        FontRecord printer = host.settings.m_lfResultView;
        printer.lfHeight = -240;
        printer.lfWidth = 0;
        printer.lfQuality = 1;
        QCOMPARE(view.PrinterFontRecord(), printer);
    }
    QCOMPARE(doc->m_pResultView, nullptr);
}

void ResultViewTest::realInterpretationInItsColours() {
    TestHost host;
    TempFolder folder;
    auto doc = InterpretSample(host, folder, "isdn-call.trc");
    QVERIFY(doc && doc->m_bTraceRecognised);
    CVexaEditView view(*doc, host.settings);
    view.SetResultFont(PlainFont());
    ShowView(view, QSize(1100, 600));
    const int h = RowHeight(view);
    const LineArray &lines = doc->m_DisplayLines;

    struct Expected {
        const char *text;
        QRgb colour;
    };
    const QRgb magenta = 0xFFFF00FFu, brown = 0xFF804000u, black = 0xFF000000u;
    const Expected expected[] = {
        {"00042  SWHW", Rgb32(host.settings.m_crOutgoing)},
        {"EQU NO", Rgb32(host.settings.m_crOutgoing)},
        {"Outgoing Message: SETUP", magenta},
        {"Call Reference: 01 (CR Flag Not Set)", magenta},
        {"Protocol Discriminator", brown},
        {"Sending complete", brown},
        {"LEN 39", black},
        {"00043  SWSW", black},
        {"00044  HWSW", Rgb32(host.settings.m_crIncoming)},
        {"Incoming Message: ALERTING", magenta},
    };
    for (const Expected &e : expected) {
        const size_t line = FirstLineWith(lines, e.text);
        QVERIFY2(line < lines.size(), e.text);
        const int row = ScreenRow(lines, line);
        view.ScrollToPosition({0, row * h});
        const QImage image = Grab(view);
        const int top = view.ContentOrigin().y() + row * h;
        QVERIFY2(top >= 0 && top + h <= image.height(), e.text);
        const QSet<QRgb> ink = InkColours(image, QRect(0, top, image.width(), h));
        QVERIFY2(ink == QSet<QRgb>({e.colour}),
                 qPrintable(QStringLiteral("%1: %2 colours, first %3")
                                .arg(e.text)
                                .arg(ink.size())
                                .arg(ink.isEmpty() ? 0 : *ink.begin(), 8, 16)));
    }
}

void ResultViewTest::nothingShownUntilTheTraceIsRecognised() {
    TestHost host;
    std::vector<std::string> text(400, "09.41.07.25 00042  SWHW DLRDATALONG  ISDNCP-01  DLB-0102\n");
    auto doc = DocumentWithLines(host, text);
    doc->m_bTraceRecognised = false;
    CVexaEditView view(*doc, host.settings);
    ShowView(view, QSize(800, 400));
    QVERIFY(InkColours(Grab(view), QRect(0, 0, 800, 400)).isEmpty());
    QCOMPARE(doc->m_sizeResult, (ContentSize{1000, 3000}));

    doc->m_bTraceRecognised = true;
    view.Repaint();
    QVERIFY(!InkColours(Grab(view), QRect(0, 0, 800, 400)).isEmpty());
}

void ResultViewTest::textCentredInAWideWindow() {
    TestHost host;
    auto doc = DocumentWithLines(host, {"09.41.07.25 00042  SWHW DLRDATALONG  ISDNCP-01  DLB-0102\n"});
    CVexaEditView view(*doc, host.settings);
    ShowView(view, QSize(1400, 300));
    const int client = view.viewport()->width();
    QVERIFY(client > 1000);
    const int origin = (client - 1000) / 2;
    QCOMPARE(view.ContentOrigin().x(), origin);
    QCOMPARE(view.horizontalScrollBar()->maximum(), 0);

    const QImage image = Grab(view);
    int left = image.width();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) | 0xFF000000u) != 0xFFFFFFFFu) left = std::min(left, x);
    QVERIFY2(left >= origin && left < origin + 8, qPrintable(QString::number(left)));
}

void ResultViewTest::paintOfRowsInViewEqualsPaintOfAllLines() {
    TestHost host;
    TempFolder folder;
    auto doc = InterpretSample(host, folder, "isdn-call.trc");
    QVERIFY(doc);
    // A long text: the call forty times, with the other marks in between.
    const LineArray call = doc->m_DisplayLines;
    doc->m_DisplayLines.Clear();
    for (int i = 0; i < 40; ++i) {
        doc->m_DisplayLines.AddAll(call);
        doc->m_DisplayLines.Add("/*SCP Message: CC-SETUP\n*/");
        doc->m_DisplayLines.Add("@@@Transaction Value: 5\n");
        doc->m_DisplayLines.Add("      a!!!ALERT!!!hidden");
        doc->m_DisplayLines.Add("      Cause%%% 16");
    }
    doc->m_sizeResult = {1000, 3000};

    for (QSize size : {QSize(1200, 700), QSize(640, 480)}) {
        CVexaEditView view(*doc, host.settings);
        ShowView(view, size);
        const ContentSize grown = doc->m_sizeResult;
        QVERIFY(grown.cy > 3000);
        const int range = view.verticalScrollBar()->maximum();
        for (int y : {0, 1, range / 3, range / 2 + 7, range - 5, range}) {
            view.ScrollToPosition({size.width() < 1000 ? 130 : 0, y});
            const QImage rows = Grab(view);
            const QImage all = FullWalk(view);
            QVERIFY2(rows == all, qPrintable(QStringLiteral("differs at %1 in %2 wide").arg(y).arg(size.width())));
        }
        // A paint of all lines from the start size reaches the same size.
        doc->m_sizeResult = {1000, 3000};
        view.SetContentSizes(doc->m_sizeResult);
        FullWalk(view);
        QCOMPARE(doc->m_sizeResult, grown);
        doc->m_sizeResult = {1000, 3000};
    }
}

void ResultViewTest::scrollRangeGrowsWithTheText() {
    TestHost host;
    std::vector<std::string> text;
    for (int i = 0; i < 1000; ++i) {
        text.push_back(">>>>\n");
        text.push_back("      line " + std::to_string(i));
        text.push_back("<<<<\n\n");
    }
    auto doc = DocumentWithLines(host, text);
    CVexaEditView view(*doc, host.settings);
    ShowView(view, QSize(800, 400));
    const int h = RowHeight(view);
    const ContentSize grown = doc->m_sizeResult;
    // The last line's top lies inside the content, 500 pixels or less above its foot;
    // the width stays.
    const int lastTop = 999 * h;
    QCOMPARE(grown.cx, 1000);
    QVERIFY(grown.cy >= lastTop);
    QVERIFY(grown.cy - 500 <= lastTop);
    QCOMPARE(view.GetTotalSize(), grown);
    QCOMPARE(view.verticalScrollBar()->maximum(), grown.cy - view.viewport()->height());

    // The last line can be scrolled to and is drawn.
    view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    const QImage end = Grab(view);
    const int top = view.ContentOrigin().y() + lastTop;
    QVERIFY(!InkColours(end, QRect(0, top, 800, h)).isEmpty());

    // Emptied by the document: back to the start size, and a short text keeps it.
    doc->ClearDisplay();
    QCOMPARE(view.GetTotalSize(), (ContentSize{1000, 3000}));
    doc->m_DisplayLines.Add("      short");
    view.Repaint();
    Grab(view);
    QCOMPARE(doc->m_sizeResult, (ContentSize{1000, 3000}));
}

void ResultViewTest::gotoMessageKeepsTheLineAboveInView() {
    TestHost host;
    TempFolder folder;
    auto doc = InterpretSample(host, folder, "isdn-call.trc");
    QVERIFY(doc);
    // Long enough for every message to reach the top of the window.
    const LineArray call = doc->m_DisplayLines;
    doc->m_DisplayLines.AddAll(call);
    doc->m_DisplayLines.AddAll(call);
    CVexaEditView view(*doc, host.settings);
    ShowView(view, QSize(900, 300));
    const int h = RowHeight(view);
    const LineArray &lines = doc->m_DisplayLines;

    for (const char *sequence : {"00044", "00045", "00042"}) {
        GotoMessageEvent go(QStringLiteral(" %1 ").arg(QLatin1String(sequence)));
        QCoreApplication::sendEvent(&view, &go);
        const size_t found = FirstLineWith(lines, std::string(" ") + sequence + " ");
        QVERIFY(found < lines.size());
        const int row = ScreenRow(lines, found);
        QCOMPARE(view.GetDeviceScrollPosition(), QPoint(0, row > 0 ? (row - 1) * h : 0));
    }

    // A key that no line holds goes to the top.
    view.ScrollToPosition({0, 900});
    GotoMessageEvent missing(QStringLiteral(" 09999 "));
    QCoreApplication::sendEvent(&view, &missing);
    QCOMPARE(view.GetDeviceScrollPosition(), QPoint(0, 0));
    // So does one in the first line.
    view.ScrollToPosition({0, 900});
    view.GotoMessage(QString::fromStdString(std::string(lines[0])));
    QCOMPARE(view.GetDeviceScrollPosition().y(), 0);
}

void ResultViewTest::keysScrollAndMoveOn() {
    TestHost host;
    std::vector<std::string> text(600, "      body line of a message");
    auto doc = DocumentWithLines(host, text);
    TestList list;
    doc->m_pListView = &list;
    CVexaEditView view(*doc, host.settings);
    ShowView(view, QSize(700, 300));
    view.setFocus();
    const int page = view.viewport()->height();

    QTest::keyClick(&view, Qt::Key_Down);
    QCOMPARE(view.GetDeviceScrollPosition().y(), 13);  // the font setting's height
    QTest::keyClick(&view, Qt::Key_PageDown);
    QCOMPARE(view.GetDeviceScrollPosition().y(), 13 + page);
    QTest::keyClick(&view, Qt::Key_Up);
    QTest::keyClick(&view, Qt::Key_PageUp);
    QCOMPARE(view.GetDeviceScrollPosition().y(), 0);
    QTest::keyClick(&view, Qt::Key_End);
    QCOMPARE(view.GetDeviceScrollPosition().y(), view.verticalScrollBar()->maximum());
    QTest::keyClick(&view, Qt::Key_Home);
    QCOMPARE(view.GetDeviceScrollPosition().y(), 0);
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Right);
    QCOMPARE(view.GetDeviceScrollPosition(), QPoint(20, 0));
    QTest::keyClick(&view, Qt::Key_Left);
    QCOMPARE(view.GetDeviceScrollPosition(), QPoint(10, 0));

    QTest::keyClick(&view, Qt::Key_Tab);
    QCOMPARE(list.focused, 1);

    int helpTopic = -1;
    SetHelpHandler([&](int topic) { helpTopic = topic; });
    QTest::keyClick(&view, Qt::Key_F1);
    SetHelpHandler(nullptr);
    QCOMPARE(helpTopic, 0);
}

void ResultViewTest::contextMenuOnlyOnceTheOutputIsLoaded() {
    TestHost host;
    auto doc = DocumentWithLines(host, {"      x"});
    CVexaEditView view(*doc, host.settings);
    ShowView(view, QSize(600, 300));
    const QPoint at(50, 40);

    bool shown = false;
    QStringList texts;
    QList<int> commands;
    OnNextPopup([&](QWidget *popup) {
        shown = true;
        if (auto *menu = qobject_cast<QMenu *>(popup)) {
            for (QAction *action : menu->actions()) {
                texts << action->text();
                commands << action->data().toInt();
            }
        }
        popup->close();
    });
    QContextMenuEvent before(QContextMenuEvent::Mouse, at, view.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(view.viewport(), &before);
    QTest::qWait(50);
    QVERIFY(!shown);

    doc->m_bOutputLoaded = true;
    QContextMenuEvent after(QContextMenuEvent::Mouse, at, view.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(view.viewport(), &after);
    QVERIFY(shown);
    QCOMPARE(texts, QStringList({"Save", "Print Preview", "Print", "Font"}));
    QCOMPARE(commands, QList<int>({ids::ID_RESULTS_SAVE, ids::ID_RESULTS_PRINT_PREVIEW, ids::ID_RESULTS_PRINT,
                                   ids::ID_RESULTS_FONT}));
}

QTEST_MAIN(ResultViewTest)
#include "ResultViewTest.moc"
