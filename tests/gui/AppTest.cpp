// The application shell as a user meets it: the main window's menus, a trace window, the
// trace view's commands, Go To and scrolling, the settings dialogs and saving the settings.
#include "CAboutDialog.h"
#include "CCallFlowWindow.h"
#include "CSummaryWindow.h"
#include "CChildFrame.h"
#include "CColourSettingsDialog.h"
#include "CHelpWindow.h"
#include "CIpFilterDialog.h"
#include "CMainFrame.h"
#include "CSignalNamesDialog.h"
#include "CVexaClientApp.h"
#include "WindowTestBase.h"
#include "CListCtrlEx.h"
#include "CVexaClientView.h"
#include "CVexaEditView.h"
#include "CVexaListView.h"
#include "CVexaMdiEditView.h"
#include "CommandIds.h"
#include "IniProfileReader.h"
#include "QtPlatform.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QUrl>
#include <QMdiArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTest>
#include <QTimer>

using namespace vexa;
using namespace vexa::ids;

class AppTest : public WindowTestBase {
    Q_OBJECT
public:
    explicit AppTest(CVexaClientApp &app) : WindowTestBase(app) {}

private:
    QStringList MenuTitles() const {
        QStringList titles;
        for (QAction *a : m_app.MainFrame()->menuBar()->actions()) titles << a->text();
        return titles;
    }

private slots:
    void menusFollowTheActiveDocument() {
        CloseAll();
        QCOMPARE(MenuTitles(), (QStringList{"&File", "&View", "&Help"}));
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-call.trc");
        QVERIFY(frame);
        QCOMPARE(MenuTitles(),
                 (QStringList{"&File", "&Protocol", "&Interpret", "&View", "&Window", "&Options", "&Help"}));
        QCOMPARE(m_app.MainFrame()->ProtocolText(), QString("ISDN - Generic"));
        QVERIFY(frame->isMaximized());
        CloseAll();
        QCOMPARE(MenuTitles(), (QStringList{"&File", "&View", "&Help"}));
        QVERIFY(m_app.Documents().empty());
    }

    void aTraceIsInterpretedWhenOpenedAndItsWindowSplitInTwo() {
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-call.trc");
        QVERIFY(frame);
        CVexaClientDoc &doc = frame->Document();
        QVERIFY(doc.m_bTraceRecognised);
        QVERIFY(doc.m_bOutputLoaded);
        QVERIFY(doc.m_pListView && doc.m_pListView->GetRowCount() > 0);
        QVERIFY(!doc.m_DisplayLines.empty());
        QCOMPARE(frame->Splitter()->count(), 2);
        const QString output = QString::fromStdString(doc.m_strOutputPath);
        QVERIFY(QFile::exists(output));
        CloseAll();
        QVERIFY(!QFile::exists(output));  // the temporary output goes with the document
    }

    void aSecondWindowShowsTheSameTraceAndTheDocumentClosesWithTheLast() {
        CChildFrame *first = Open(VEXA_SAMPLES "/isdn-call.trc");
        QVERIFY(first);
        CVexaClientDoc *doc = &first->Document();
        m_app.MainFrame()->OnCommand(ID_WINDOW_NEW);
        QApplication::processEvents();
        QCOMPARE(m_app.MainFrame()->MdiArea()->subWindowList().size(), 2);
        QCOMPARE(m_app.Documents().size(), size_t(1));
        CChildFrame *second = m_app.MainFrame()->ActiveChildFrame();
        QVERIFY(second != first && &second->Document() == doc);
        first->close();
        QApplication::processEvents();
        QCOMPARE(m_app.Documents().size(), size_t(1));
        // The remaining window's views now take the document's output.
        QVERIFY(doc->m_pTraceView == second->TraceView());
        QVERIFY(doc->RunInterpretation());
        QVERIFY(doc->m_pListView->GetRowCount() > 0);
        second->close();
        QApplication::processEvents();
        QVERIFY(m_app.Documents().empty());
    }

    // File > Close on each window of a trace: the views of the closed window are gone
    // at once, before the document that they show can go with the last window.
    void aClosedWindowsViewsGoBeforeItsDocument() {
        CChildFrame *first = Open(VEXA_SAMPLES "/isdn-call.trc");
        QVERIFY(first);
        m_app.MainFrame()->OnCommand(ID_WINDOW_NEW);
        QApplication::processEvents();
        CChildFrame *second = m_app.MainFrame()->ActiveChildFrame();
        QVERIFY(second && second != first);
        for (CChildFrame *frame : {second, first}) {
            m_app.MainFrame()->MdiArea()->setActiveSubWindow(frame);
            QPointer<QWidget> views[] = {frame->TraceView(), frame->ResultsFrame()->EditView(),
                                         frame->ResultsFrame()->ListView()};
            m_app.MainFrame()->OnCommand(ID_FILE_CLOSE);
            for (const QPointer<QWidget> &view : views) QVERIFY(view.isNull());
            QCOMPARE(m_app.Documents().size(), size_t(frame == first ? 0 : 1));
        }
        QApplication::processEvents();
        QVERIFY(m_app.MainFrame()->MdiArea()->subWindowList().isEmpty());
    }

    void protocolChoiceAndOutputOptions() {
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-call.trc");
        CVexaClientView *view = frame->TraceView();
        VexaSettings &s = m_app.Settings();
        m_app.MainFrame()->OnCommand(ID_PROTOCOL_BASE + 5);
        QCOMPARE(frame->Document().m_nProtocol, 5);
        QCOMPARE(s.m_nCurrentProtocol, 5);
        QCOMPARE(m_app.MainFrame()->ProtocolText(), QString("DECT/GDI"));
        QVERIFY(m_app.MainFrame()->Action(ID_PROTOCOL_BASE + 5)->isChecked());
        QVERIFY(!m_app.MainFrame()->Action(ID_PROTOCOL_BASE + 1)->isChecked());
        m_app.MainFrame()->OnCommand(ID_PROTOCOL_BASE + 1);

        s.m_bWriteAllRows = false;
        s.m_bWriteHexInfo = false;
        view->OnCommand(ID_CONTEXT_ALL_ROWS);
        QVERIFY(s.m_bWriteAllRows && s.m_bWriteHexInfo);
        view->OnCommand(ID_CONTEXT_HEX);  // ignored while all rows are on
        QVERIFY(s.m_bWriteHexInfo);
        view->OnCommand(ID_CONTEXT_ALL_ROWS);
        QVERIFY(!s.m_bWriteAllRows && s.m_bWriteHexInfo);
        view->OnCommand(ID_CONTEXT_HEX);
        QVERIFY(!s.m_bWriteHexInfo);

        std::unique_ptr<QMenu> menu(view->BuildContextMenu());
        QVERIFY(menu);
        QStringList items;
        for (QAction *a : menu->actions()) items << (a->isSeparator() ? "-" : a->text());
        QCOMPARE(items, (QStringList{"Interpret", "-", "Font", "Include all Rows", "Include Hex"}));
        QVERIFY(!menu->actions()[3]->isChecked());
        menu.reset();  // a child of the view, which goes with its window
        CloseAll();
    }

    void goToShowsTheLineAsTheSecondOfTheWindow() {
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-call.trc");
        CVexaClientView *view = frame->TraceView();
        view->resize(600, 120);
        CVexaClientDoc &doc = frame->Document();
        const int n = doc.FindTraceLine(" 00046 ");
        QVERIFY(n > 2);
        const int h = QFontMetrics(view->ViewFont()).height();
        view->GoToKey(" 00046 ");
        // Every line before it is one font height; one line's height stays above it.
        const int expected = std::min(n * h - std::abs(view->LineHeight()), view->verticalScrollBar()->maximum());
        QCOMPARE(view->GetDeviceScrollPosition().y(), expected);
        view->GoToKey(" 99999 ");
        QCOMPARE(view->GetDeviceScrollPosition().y(), 0);
        CloseAll();
    }

    // Go To from a row shows the row's own signal, in the result text and in the trace,
    // where its number occurs twice: where a search for the signal's own time stamp and
    // number puts each view. So it does after a direction choice rebuilt the text.
    void goToLeadsEachRowToItsOwnSignal() {
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-repeat.trc");
        QVERIFY(frame);
        CVexaClientView *trace = frame->TraceView();
        CVexaEditView *result = frame->ResultsFrame()->EditView();
        CListCtrlEx &list = frame->ResultsFrame()->ListView()->ListCtrl();
        trace->resize(600, 100);
        result->resize(600, 100);
        QCOMPARE(list.GetItemCount(), 6);
        auto positionsOf = [&](const QString &recordStart) {
            trace->GoToKey(recordStart);
            result->GotoMessage(recordStart);
            return std::pair{trace->GetDeviceScrollPosition().y(), result->GetDeviceScrollPosition().y()};
        };
        auto positionsAfterGoTo = [&](int row) {
            positionsOf("09.41.07.25 00042");  // back to the start
            list.SelectRow(row);
            list.OnListCommand(ID_LIST_GOTO);
            return std::pair{trace->GetDeviceScrollPosition().y(), result->GetDeviceScrollPosition().y()};
        };
        const auto second42 = positionsOf("09.45.00.10 00042");
        QVERIFY(second42.first > 0 && second42.second > 0);
        QCOMPARE(positionsAfterGoTo(3), second42);
        QCOMPARE(positionsAfterGoTo(4), positionsOf("09.45.00.20 00043"));
        QCOMPARE(positionsAfterGoTo(0), positionsOf("09.41.07.25 00042"));

        list.OnListCommand(ID_LIST_INCOMING);
        QCOMPARE(list.GetItemCount(), 3);  // ALERTING 01234, CONNECT 00043, RELEASE 00043
        QCOMPARE(list.GetItemText(2, 0).toInt(), 43);
        const auto second43 = positionsOf("09.45.00.20 00043");
        QVERIFY(second43.second > 0);
        QCOMPARE(positionsAfterGoTo(2), second43);
        CloseAll();
    }

    void signalNamesRules() {
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-call.trc");
        CVexaClientDoc &doc = frame->Document();
        CSignalNamesDialog dialog(nullptr, doc);
        QString error;
        dialog.m_showError = [&](const QString &text) { error = text; };
        QCOMPARE(dialog.Edit(0)->maxLength(), 30);
        QVERIFY(dialog.Edit(4)->maxLength() > 30);
        dialog.Edit(0)->setText("DLX");
        dialog.Edit(2)->setText("DLX");
        dialog.accept();
        QCOMPARE(error, QString("Please enter unique names in all fields"));
        QCOMPARE(doc.m_strSignalNames[0], std::string("DLRDATA"));
        error.clear();
        dialog.Edit(2)->setText("dlx");
        dialog.Edit(1)->setText("");
        dialog.Edit(3)->setText("");
        dialog.accept();
        QVERIFY(error.isEmpty());
        QCOMPARE(doc.m_strSignalNames[0], std::string("DLX"));
        QCOMPARE(doc.m_strSignalNames[1], std::string("dlx"));
        QCOMPARE(doc.m_strSignalNames[2], std::string(""));

        CSignalNamesDialog again(nullptr, doc);
        again.Reset();
        QCOMPARE(again.Edit(1)->text(), QString("DLIDATA"));
        again.reject();
        QCOMPARE(doc.m_strSignalNames[0], std::string("DLX"));
        CloseAll();
    }

    void colourSettingsChangeOnlyOnOk() {
        CColourSettingsDialog dialog;
        dialog.SetColours(Rgb(1, 2, 3), Rgb(4, 5, 6));
        dialog.m_pickColour = [](QColor &c, QWidget *) {
            c = QColor(0, 128, 0);
            return true;
        };
        dialog.ChangeIncomingButton()->click();
        QCOMPARE(dialog.m_crIncoming, Rgb(0, 128, 0));
        QCOMPARE(dialog.m_crOutgoing, Rgb(4, 5, 6));
        dialog.m_pickColour = [](QColor &, QWidget *) { return false; };
        dialog.ChangeOutgoingButton()->click();
        QCOMPARE(dialog.m_crOutgoing, Rgb(4, 5, 6));
    }

    void saveCurrentSettingsWritesTheLiveState() {
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-call.trc");
        CVexaClientView *view = frame->TraceView();
        m_app.Settings().m_bWriteAllRows = false;
        m_app.Settings().m_bWriteHexInfo = true;
        view->OnCommand(ID_PROTOCOL_BASE + 2);  // chosen but not run: not what is saved
        view->SaveCurrentSettings();
        IniProfileReader saved(m_app.Profile().FileName());
        QCOMPARE(saved.GetProfileString("Options", "DefaultProtocol", ""), std::string("1"));
        QCOMPARE(saved.GetProfileString("Options", "WriteAllRows", ""), std::string("NO"));
        QCOMPARE(saved.GetProfileString("Options", "WriteHexInfo", ""), std::string("YES"));
        QCOMPARE(saved.GetProfileString("Options", "SigSeqNo", ""), std::string("100"));
        QCOMPARE(saved.GetProfileString("Options", "MsgTo", ""), std::string("300"));
        QVERIFY(!saved.GetProfileString("Options", "CFaceName", "").empty());
        CloseAll();
    }

    void helpTopicsAndAbout() {
        QCOMPARE(CHelpWindow::Anchor(0), QString("contents"));
        QCOMPARE(CHelpWindow::Anchor(kHelpDialogBase + IDD_COLOUR_SETTINGS), QString("topic-0x20082"));
        QCOMPARE(CHelpWindow::Anchor(kHelpDialogBase + IDD_IP_FILTER), QString("topic-0x2009F"));
        QFile help(VEXA_HELP_FILE);
        QVERIFY(help.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(help.readAll());
        for (const QString &anchor : {QString("contents"), QString("topic-0x20082"), QString("topic-0x2009F")})
            QVERIFY2(text.contains("name=\"" + anchor + "\""), qPrintable(anchor));
        CAboutDialog about;
        QVERIFY(!about.ProductName().isEmpty());
        QVERIFY(about.Release().contains(VEXA_TEST_VERSION));
        QVERIFY(!about.Copyright().isEmpty());
    }

    // View > Call Flow (and the list's Call Flow) draw the selected row's own call, also
    // where its number occurs in another call; an arrow chosen there selects its row and
    // goes to it. View > Summary opens over the same trace window.
    void callFlowAndSummaryOpenFromTheSelectedRow() {
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-repeat.trc");
        QVERIFY(frame);
        CListCtrlEx &list = frame->ResultsFrame()->ListView()->ListCtrl();
        QCOMPARE(list.GetItemCount(), 6);
        auto windows = [&] { return frame->findChildren<CCallFlowWindow *>(); };

        list.SelectRow(3);  // DISCONNECT, signal 00042 of the second call
        m_app.MainFrame()->OnCommand(ID_VIEW_CALL_FLOW);
        QCOMPARE(windows().size(), 1);
        CCallFlowView *view = windows().front()->View();
        QStringList names;
        for (const FlowMessage &m : view->Flow().arrows) names << QString::fromStdString(m.name);
        QCOMPARE(names, (QStringList{"DISCONNECT", "RELEASE", "RELEASE COMPLETE"}));
        view->SetCurrentArrow(1);
        QCOMPARE(list.GetFirstSelectedRow(), 4);

        list.SelectRow(0);  // SETUP of the first call, from the list's own menu
        list.OnListCommand(ID_LIST_CALL_FLOW);
        QCOMPARE(windows().size(), 2);
        names.clear();
        for (const FlowMessage &m : windows().back()->View()->Flow().arrows) names << QString::fromStdString(m.name);
        QCOMPARE(names, (QStringList{"SETUP", "ALERTING", "CONNECT"}));

        m_app.MainFrame()->OnCommand(ID_VIEW_SUMMARY);
        QCOMPARE(frame->findChildren<CSummaryWindow *>().size(), 1);
        CloseAll();
    }

    void ipFilterListsAndShowsOnlyTheChosenProtocol() {
        VexaSettings &s = m_app.Settings();
        const int current = s.m_nCurrentProtocol, fallback = s.m_nDefaultProtocol;
        s.m_nCurrentProtocol = s.m_nDefaultProtocol = 6;
        CChildFrame *frame = Open(VEXA_SAMPLES "/ip-two-calls.trc");
        QVERIFY(frame);
        CListCtrlEx &list = frame->ResultsFrame()->ListView()->ListCtrl();
        QCOMPARE(list.GetItemCount(), 33);
        // The list's Filter opens the IP dialog; the user picks a protocol and clicks OK.
        auto filter = [&](int button) {
            QTimer::singleShot(0, [button] {
                auto *dialog = qobject_cast<CIpFilterDialog *>(QApplication::activeModalWidget());
                if (!dialog) return;
                dialog->Button(button)->click();
                dialog->accept();
            });
            list.OnListCommand(ID_LIST_FILTER);
        };
        auto shown = [&](const char *text) {
            for (std::string_view line : frame->Document().m_DisplayLines)
                if (line.find(text) != std::string_view::npos) return true;
            return false;
        };
        filter(CIpFilterDialog::IDC_H245);
        QCOMPARE(list.GetItemCount(), 12);
        QCOMPARE(list.GetItemText(0, 0).toInt(), 611);
        QCOMPARE(list.GetItemText(11, 0).toInt(), 626);
        QVERIFY(shown("openLogicalChannelAck"));
        QVERIFY(!shown("registrationRequest") && !shown("SETUP"));

        filter(CIpFilterDialog::IDC_RAS);
        QCOMPARE(list.GetItemCount(), 11);
        QCOMPARE(list.GetItemText(0, 0).toInt(), 600);
        QVERIFY(shown("registrationRequest"));
        QVERIFY(!shown("openLogicalChannelAck"));
        CloseAll();
        s.m_nCurrentProtocol = current;
        s.m_nDefaultProtocol = fallback;
    }

    void droppedFilesOpenAndAreInterpreted() {
        CloseAll();
        m_app.MainFrame()->m_bInterpretOnOpen = false;
        m_app.MainFrame()->OpenDroppedFiles(
            {QUrl::fromLocalFile(VEXA_SAMPLES "/isdn-call.trc"), QUrl::fromLocalFile(VEXA_SAMPLES "/isdn-busy.trc")});
        QApplication::processEvents();
        QVERIFY(m_app.MainFrame()->m_bInterpretOnOpen);
        QCOMPARE(m_app.Documents().size(), size_t(2));
        for (CVexaClientDoc *doc : m_app.Documents()) QVERIFY(doc->m_bOutputLoaded);
        CloseAll();
    }

    void aBinaryFileIsNoTraceAndLeavesTheListEmpty() {
        QFile binary(m_dir.filePath("binary.trc"));
        QVERIFY(binary.open(QIODevice::WriteOnly));
        QByteArray bytes(4096, '\0');
        for (int i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 37) % 256);
        binary.write(bytes);
        binary.close();
        CChildFrame *frame = Open(binary.fileName());
        QVERIFY(frame);
        CVexaClientDoc &doc = frame->Document();
        QVERIFY(!doc.m_bTraceRecognised);
        QVERIFY(!doc.m_bOutputLoaded);
        QVERIFY(doc.m_DisplayLines.empty());
        QCOMPARE(doc.m_pListView->GetRowCount(), 0);
        CloseAll();
    }

    void foldersAndMissingFilesAreRefusedWithAMessage() {
        const size_t before = m_app.Documents().size();
        // The refusal is shown in a message box; here only that nothing opens.
        QTimer::singleShot(0, [] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->inherits("QMessageBox")) w->close();
        });
        QVERIFY(!m_app.OpenDocumentFile(m_dir.path()));
        QCOMPARE(m_app.Documents().size(), before);
    }
};

int main(int argc, char **argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("TMPDIR", config.path().toLocal8Bit());
    CVexaClientApp app(argc, argv);
    // Message boxes and the open dialog of a start without a trace would wait for a click:
    // close each one as it appears.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && (w->inherits("QMessageBox") || w->inherits("QFileDialog"))) w->close();
    });
    closer.start(50);
    if (!app.InitInstance()) return 1;
    AppTest test(app);
    return QTest::qExec(&test, argc, argv);
}

#include "AppTest.moc"
