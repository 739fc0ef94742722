// The message list's context menu and its commands, over a document interpreted with the
// scripted component.
#include "CFilterDialog.h"
#include "CIpFilterDialog.h"
#include "CVexaListView.h"
#include "CommandIds.h"
#include "ListTestSupport.h"
#include "QtPlatform.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace vexa;
using namespace vexa::listtest;

namespace {

// Stand-ins for the result text view and the trace view: they note the Go To keys they
// are sent, in one log shared by both.
class FakeResultView : public QWidget, public IResultView {
public:
    explicit FakeResultView(QStringList &log) : m_log(log) {}
    void SetContentSizes(ContentSize, ContentSize, ContentSize) override {}
    void Repaint() override {}
    bool event(QEvent *e) override {
        if (e->type() == WM_GOTO_MESSAGE) m_log << "result:" + static_cast<GotoMessageEvent *>(e)->Key();
        return QWidget::event(e);
    }
    QStringList &m_log;
};

class FakeTraceView : public QWidget, public ITraceView {
public:
    explicit FakeTraceView(QStringList &log) : m_log(log) { setFocusPolicy(Qt::StrongFocus); }
    void ShowProtocolInStatusBar() override {}
    void Repaint() override {}
    bool event(QEvent *e) override {
        if (e->type() == WM_GOTO_MESSAGE) m_log << "trace:" + static_cast<GotoMessageEvent *>(e)->Key();
        return QWidget::event(e);
    }
    QStringList &m_log;
};

// Runs work on the next modal dialog of type D once it is shown.
template <typename D>
void OnDialog(std::function<void(D *)> work) {
    QTimer::singleShot(0, [work] {
        QTRY_VERIFY(qobject_cast<D *>(QApplication::activeModalWidget()) != nullptr);
        work(qobject_cast<D *>(QApplication::activeModalWidget()));
    });
}

}  // namespace

class ListCommandsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedFolder> folder;
    Host host;
    QStringList gotoLog;
    std::unique_ptr<QWidget> window;
    FakeResultView *result = nullptr;
    FakeTraceView *trace = nullptr;
    CVexaListView *view = nullptr;
    std::unique_ptr<CVexaClientDoc> doc;

    // Opens a trace in a window holding a result view, a trace view and the list.
    void Open(const TraceBuilder &t, const std::string &extra = "", int protocol = 1) {
        folder->Write(t.trace, t.script + extra);
        host.settings.m_nDefaultProtocol = host.settings.m_nCurrentProtocol = protocol;
        doc = std::make_unique<CVexaClientDoc>(host);
        window = std::make_unique<QWidget>();
        auto *layout = new QHBoxLayout(window.get());
        result = new FakeResultView(gotoLog);
        trace = new FakeTraceView(gotoLog);
        view = new CVexaListView(*doc, host.settings);
        layout->addWidget(trace);
        layout->addWidget(result);
        layout->addWidget(view);
        doc->m_pResultView = result;
        doc->m_pTraceView = trace;
        window->resize(1200, 400);
        QVERIFY(doc->OnOpenDocument(folder->TracePath()));
        QVERIFY(doc->m_bOutputLoaded);
        view->ListCtrl().Model().Flush();
    }
    CListCtrlEx &List() { return view->ListCtrl(); }
    QStringList Column(int c) {
        QStringList texts;
        for (int r = 0; r < view->GetRowCount(); ++r) texts << QString::fromStdString(view->GetItemText(r, c));
        return texts;
    }
    std::string Shown() {
        std::string text;
        for (std::string_view l : doc->m_DisplayLines) text += std::string(l) + "\n";
        return text;
    }
    // Three signals 5 (out), 7 (in), 9 (out), with the component's direction finds.
    TraceBuilder ThreeSignals() {
        TraceBuilder t;
        t.Signal(5, "SWHW");
        t.Signal(7, "HWSW");
        t.Signal(9, "SWHW");
        return t;
    }

private slots:
    void init() {
        folder = std::make_unique<ScriptedFolder>();
        host.settings = Host().settings;
        host.settings.m_strTempPath = folder->TempPath();
        gotoLog.clear();
    }
    void cleanup() {
        if (doc) doc->OnCloseDocument();
        window.reset();
        doc.reset();
        folder.reset();
    }

    void theMenuIsBuiltOnceAfterTheFirstRun() {
        folder->Write(ThreeSignals().trace, ThreeSignals().script);
        doc = std::make_unique<CVexaClientDoc>(host);
        host.settings.m_nDefaultProtocol = host.settings.m_nCurrentProtocol = 0;  // nothing interpreted yet
        view = new CVexaListView(*doc, host.settings);
        window.reset(view);
        doc->OnOpenDocument(folder->TracePath());
        List().PrepareContextMenu();
        QVERIFY(List().ContextMenu().actions().isEmpty());  // before a run: no items

        doc->m_nProtocol = 1;
        host.settings.m_nCurrentProtocol = 1;
        QVERIFY(doc->RunInterpretation());
        QVERIFY(doc->m_bOutputLoaded);
        List().PrepareContextMenu();
        const QList<QAction *> actions = List().ContextMenu().actions();
        QStringList texts;
        QList<int> commands, icons;
        int separators = 0;
        for (QAction *a : actions) {
            if (a->isSeparator()) {
                ++separators;
                texts << "-";
                continue;
            }
            texts << a->text();
            commands << List().ContextMenu().CommandId(a);
            icons << CMenuEx::Record(a)->iconId;
            QVERIFY(!CMenuEx::LoadIcon(CMenuEx::Record(a)->iconId).isNull());
            QVERIFY(a->isEnabled());
            QVERIFY(!a->isCheckable());
        }
        // The list's fourteen commands, then Call Flow after a separator of its own.
        QCOMPARE(actions.size() - separators, 15);
        QCOMPARE(texts, QStringList({"Outgoing Message: SWHW", "Incoming Message: HWSW", "All", "Filter", "-", "Go To",
                                     "-", "Sig Seq No", "Msg Direction", "Message", "Time", "Message From",
                                     "Message To", "-", "Font", "-", "Print Preview", "Print", "-", "Call Flow"}));
        QCOMPARE(commands, QList<int>({500, 501, 502, 503, 504, 505, 506, 507, 508, 509, 510, 511, 512, 513, 514}));
        QCOMPARE(icons, QList<int>({135, 136, 138, 152, 148, 141, 147, 139, 143, 144, 145, 156, 155, 151, 148}));
        QCOMPARE(List().ContextMenu().BackColor(), QColor(192, 192, 192));
        QCOMPARE(List().ContextMenu().HighlightColor(), QColor(0, 0, 255));
        QCOMPARE(List().ContextMenu().IconWidth(), 25);

        // Interpreting again keeps the one menu.
        QVERIFY(doc->RunInterpretation());
        List().PrepareContextMenu();
        QCOMPARE(List().ContextMenu().actions().size(), actions.size());
    }

    void theMenuDrawsItsItems() {
        Open(ThreeSignals());
        List().PrepareContextMenu();
        CMenuEx &menu = List().ContextMenu();
        menu.popup(QPoint(10, 10));
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        QAction *gotoItem = menu.actions().at(5);
        menu.setActiveAction(gotoItem);
        const QImage image = menu.grab().toImage();
        if (qEnvironmentVariableIsSet("VEXA_LIST_SHOTS")) image.save(qEnvironmentVariable("VEXA_LIST_SHOTS") + "/menu.png");
        const QRect selected = menu.actionGeometry(gotoItem);
        const QRect other = menu.actionGeometry(menu.actions().at(0));
        QCOMPARE(selected.height(), 25);  // the icon is higher than a menu line
        QCOMPARE(image.pixelColor(selected.right() - 4, selected.center().y()), QColor(0, 0, 255));
        QCOMPARE(image.pixelColor(other.right() - 4, other.center().y()), QColor(192, 192, 192));
        menu.hide();
    }

    void directionCommandsListAndShowOnlyThatDirection() {
        Open(ThreeSignals(), Entry({"find", "message", "SWHW", "1", "3"}) + Entry({"find", "message", "HWSW", "2"}));
        List().OnListCommand(ids::ID_LIST_INCOMING);
        QCOMPARE(doc->m_strSearchText, std::string("HWSW"));
        QCOMPARE(Column(0), QStringList({"7"}));
        QCOMPARE(List().RowColours(), QStringList({"0,0,0"}));
        QVERIFY(Shown().find("00007  HWSW") != std::string::npos);
        QVERIFY(Shown().find("00005") == std::string::npos);
        QCOMPARE(ReadFile(doc->m_strOutputPath).find("00005"), std::string::npos);

        List().OnListCommand(ids::ID_LIST_OUTGOING);
        QCOMPARE(Column(0), QStringList({"5", "9"}));
        QCOMPARE(Column(1), QStringList({"Send", "Send"}));
        List().OnListCommand(ids::ID_LIST_ALL);
        QCOMPARE(doc->m_strSearchText, std::string());
        QCOMPARE(Column(0), QStringList({"5", "7", "9"}));
        QVERIFY(Shown().find("00005") != std::string::npos);
        QCOMPARE(List().RowColours().size(), 3);
    }

    void goToSendsTheRowsKeyToTheResultTextAndThenTheTrace() {
        Open(ThreeSignals());
        List().OnListCommand(ids::ID_LIST_GOTO);  // nothing selected: nothing sent
        QVERIFY(gotoLog.isEmpty());
        List().SelectRow(1);
        List().OnListCommand(ids::ID_LIST_GOTO);
        QCOMPARE(List().GoToKey(), QStringLiteral(" 00007 "));
        QCOMPARE(gotoLog, QStringList({"result: 00007 ", "trace: 00007 "}));

        // Enter and a double click do the same.
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        List().setFocus();
        List().SelectRow(2);
        gotoLog.clear();
        QTest::keyClick(&List(), Qt::Key_Return);
        QCOMPARE(gotoLog, QStringList({"result: 00009 ", "trace: 00009 "}));
        gotoLog.clear();
        const QRect row0 = List().visualRect(List().Model().index(0, 0));
        QTest::mouseDClick(List().viewport(), Qt::LeftButton, Qt::NoModifier, row0.center());
        QVERIFY(gotoLog.contains("result: 00005 "));
    }

    void tabGivesTheTraceViewTheFocus() {
        Open(ThreeSignals());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        List().setFocus();
        QTRY_VERIFY(List().hasFocus());
        QTest::keyClick(&List(), Qt::Key_Tab);
        QTRY_VERIFY(trace->hasFocus());
    }

    void altClickBeginsALabelEditThatChangesNothing() {
        Open(ThreeSignals());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QRect row1 = List().visualRect(List().Model().index(1, 0));
        QTest::mouseClick(List().viewport(), Qt::LeftButton, Qt::AltModifier, row1.center());
        QTRY_VERIFY(List().viewport()->findChild<QLineEdit *>() != nullptr);
        QLineEdit *editor = List().viewport()->findChild<QLineEdit *>();
        QCOMPARE(editor->text(), QStringLiteral("7"));
        QTest::keyClicks(editor, "123");
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(view->GetItemText(1, 0), std::string("7"));
    }

    void columnSwitchesHideAndRestoreTheDefaultWidth() {
        Open(ThreeSignals());
        List().SetColumnWidth(3, 55);
        List().OnListCommand(ids::ID_LIST_COLUMN_FIRST + 3);  // "Time"
        QCOMPARE(List().GetColumnWidth(3), 0);
        List().OnListCommand(ids::ID_LIST_COLUMN_FIRST + 3);
        QCOMPARE(List().GetColumnWidth(3), 100);
        List().OnListCommand(ids::ID_LIST_COLUMN_FIRST + 5);
        QCOMPARE(view->ColumnWidthsByOrder(), (std::array<int32_t, 6>{100, 100, 150, 100, 150, 0}));
        List().OnListCommand(ids::ID_LIST_COLUMN_FIRST + 5);
        QCOMPARE(List().GetColumnWidth(5), 300);
    }

    void printPreviewIsRecordedInTheDocument() {
        Open(ThreeSignals());
        OnDialog<QDialog>([](QDialog *d) { d->reject(); });
        List().OnListCommand(ids::ID_LIST_PRINT_PREVIEW);
        QCOMPARE(doc->m_pPreviewView, static_cast<void *>(view));
    }

    void filterByCallReferenceListsTheCallAndRebuildsTheText() {
        TraceBuilder t = ThreeSignals();
        const std::string extra = Entry({"callref", "1", "H'01||H'82"}) + Entry({"callref", "2", "H'81||H'82"}) +
                                  Entry({"callref", "3", "H'02||H'82"}) +
                                  Entry({"find", "callref", "H'02||H'82", "3"});
        Open(t, extra);
        const std::string firstOutput = doc->m_strOutputPath;
        OnDialog<CFilterDialog>([](CFilterDialog *d) {
            QCOMPARE(d->Values()->count(), 2);
            d->Values()->setCurrentIndex(1);  // "02  82"
            d->OkButton()->click();
        });
        List().OnListCommand(ids::ID_LIST_FILTER);
        QCOMPARE(Column(0), QStringList({"9"}));
        QCOMPARE(doc->m_strSearchText, std::string());  // a filter leaves the direction as it was
        QVERIFY(doc->m_strOutputPath != firstOutput);
        const std::string written = ReadFile(doc->m_strOutputPath);
        QVERIFY(written.find("00009  SWHW") != std::string::npos);
        QVERIFY(written.find("00005") == std::string::npos);

        // Cancel changes nothing.
        OnDialog<CFilterDialog>([](CFilterDialog *d) { d->CancelButton()->click(); });
        List().OnListCommand(ids::ID_LIST_FILTER);
        QCOMPARE(Column(0), QStringList({"9"}));
    }

    void filterOnIpShowsALaterInvalidPartInRed() {
        TraceBuilder t;
        t.Signal(5, "SWHW");
        t.ExtraMessage(5, "SWHW", false, "H245 LATER PART");
        t.Signal(8, "HWSW");
        Open(t, Entry({"find", "protocol", "H245", "1", "2", "3"}), 6);
        OnDialog<CIpFilterDialog>([](CIpFilterDialog *d) {
            QVERIFY(d->Button(CIpFilterDialog::IDC_RAS)->isChecked());
            d->Button(CIpFilterDialog::IDC_H245)->click();
            d->accept();
        });
        List().OnListCommand(ids::ID_LIST_FILTER);
        QCOMPARE(Column(0), QStringList({"5", "8"}));
        QCOMPARE(Column(2), QStringList({"H245 LATER PART", "SETUP"}));
        QCOMPARE(List().RowColours(), QStringList({"255,0,0", "0,0,0"}));
    }
};

QTEST_MAIN(ListCommandsTest)
#include "ListCommandsTest.moc"
