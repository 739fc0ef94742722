// What users of a trace viewer reach for first, driven as they would: the find bar, copying
// from the texts and the list, the recent files, the keyboard, the status bar's word on a
// narrowed list, tool tips on cut cells and fitting a column to its contents.
#include "CChildFrame.h"
#include "CFilterDialog.h"
#include "CFindBar.h"
#include "CListCtrlEx.h"
#include "CMainFrame.h"
#include "CVexaClientApp.h"
#include "CVexaClientView.h"
#include "CVexaEditView.h"
#include "CVexaListView.h"
#include "CVexaMdiEditView.h"
#include "CommandIds.h"
#include "IniProfileReader.h"
#include "WindowTestBase.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>

using namespace vexa;
using namespace vexa::ids;

void WhenDialogOpens(const char *className, std::function<void(QDialog &)> body);
extern QTimer *g_dialogCloser;

namespace {

// How often a text occurs in lines, case folded or not: the count a reader would make.
int Occurrences(const LineArray &lines, const QString &text, Qt::CaseSensitivity cs) {
    int count = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        count += static_cast<int>(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())).count(text, cs));
    }
    return count;
}

bool HasColour(const QImage &image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
    return false;
}

}  // namespace

class FeaturesTest : public WindowTestBase {
    Q_OBJECT
public:
    explicit FeaturesTest(CVexaClientApp &app) : WindowTestBase(app) {}

private:

private slots:
    void initTestCase() {
        Main().activateWindow();
        QApplication::setActiveWindow(&Main());
    }

    // Ctrl+F in the result text: every place marked and counted, F3 and Shift+F3 step
    // through them and wrap, case and whole word narrow the places.
    void findInTheResultText() {
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-call.trc");
        QVERIFY(frame);
        CVexaEditView *result = frame->ResultsFrame()->EditView();
        result->resize(600, 300);
        result->setFocus();
        QTest::keyClick(result, Qt::Key_F, Qt::ControlModifier);
        CFindBar *bar = result->FindBar();
        QVERIFY(bar && bar->isVisible());
        QTest::keyClicks(bar->Edit(), "dlrdatalong");
        const int total = Occurrences(frame->Document().m_DisplayLines, "dlrdatalong", Qt::CaseInsensitive);
        QVERIFY(total > 1);
        QCOMPARE(int(result->Matches().size()), total);
        QCOMPARE(bar->Count()->text(), QString("1 of %1").arg(total));
        QTest::keyClick(bar->Edit(), Qt::Key_F3);
        QCOMPARE(bar->Count()->text(), QString("2 of %1").arg(total));
        QTest::keyClick(bar->Edit(), Qt::Key_F3, Qt::ShiftModifier);
        QTest::keyClick(bar->Edit(), Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(bar->Count()->text(), QString("%1 of %1 (wrapped)").arg(total));
        QTest::keyClick(bar->Edit(), Qt::Key_Return);
        QCOMPARE(bar->Count()->text(), QString("1 of %1 (wrapped)").arg(total));

        // The places are marked: the current one in orange, the others in yellow.
        const QImage shown = result->viewport()->grab().toImage();
        QVERIFY(HasColour(shown, qRgb(255, 150, 50)));

        bar->MatchCase()->setChecked(true);
        QCOMPARE(int(result->Matches().size()), 0);
        bar->Edit()->setText("DLRDATALONG");
        QCOMPARE(int(result->Matches().size()), total);
        bar->MatchCase()->setChecked(false);
        bar->Edit()->setText("DATA");
        const size_t anywhere = result->Matches().size();
        bar->WholeWord()->setChecked(true);
        QVERIFY(result->Matches().size() < anywhere);
        bar->Edit()->setText("no such text here");
        QCOMPARE(bar->Count()->text(), QString("No matches"));
        QTest::keyClick(bar->Edit(), Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
        QVERIFY(result->Matches().empty());
        // With the mouse: Interpret > Find opens the bar again.
        frame->ResultsFrame()->ListView()->ListCtrl().setFocus();
        Main().Action(ID_FIND_TEXT)->trigger();
        QVERIFY(bar->isVisible());
        QTest::keyClick(bar->Edit(), Qt::Key_Escape);
        CloseAll();
    }

    // The same bar under the trace; F3 with the bar closed opens it.
    void findInTheTrace() {
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-call.trc");
        QVERIFY(frame);
        CVexaClientView *trace = frame->TraceView();
        trace->setFocus();
        QTest::keyClick(trace, Qt::Key_F3);
        QVERIFY(trace->FindBar() && trace->FindBar()->isVisible());
        QTest::keyClicks(trace->FindBar()->Edit(), "DLRDATA");
        const int total = Occurrences(frame->Document().m_TraceLines, "DLRDATA", Qt::CaseInsensitive);
        QVERIFY(total > 0);
        QCOMPARE(int(trace->Matches().size()), total);
        CloseAll();
    }

    // Selecting with the mouse and the keyboard, and Ctrl+C, in both texts; Ctrl+C in the
    // list copies the selected row with the headings.
    void copyFromTheTextsAndTheList() {
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-call.trc");
        QVERIFY(frame);
        CVexaClientView *trace = frame->TraceView();
        trace->resize(500, 300);
        QApplication::clipboard()->clear();
        // Drag from the start of the first line to well right of the second.
        const QPoint origin = trace->ContentOrigin();
        const int h = QFontMetrics(trace->ViewFont()).height();
        QTest::mousePress(trace->viewport(), Qt::LeftButton, {}, origin + QPoint(0, h / 2));
        QMouseEvent move(QEvent::MouseMove, QPointF(origin + QPoint(2000, h + h / 2)), QPointF(), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(trace->viewport(), &move);
        QTest::mouseRelease(trace->viewport(), Qt::LeftButton, {}, origin + QPoint(2000, h + h / 2));
        QTest::keyClick(trace, Qt::Key_C, Qt::ControlModifier);
        const LineArray &lines = frame->Document().m_TraceLines;
        auto line = [&](size_t i) {
            std::string_view l = lines[i];
            while (!l.empty() && (l.back() == '\n' || l.back() == '\r')) l.remove_suffix(1);
            return QString::fromLatin1(l.data(), static_cast<qsizetype>(l.size()));
        };
        QCOMPARE(QApplication::clipboard()->text(), line(0) + "\n" + line(1));

        // The keyboard: Shift+Down from the top selects whole lines.
        CVexaEditView *result = frame->ResultsFrame()->EditView();
        result->setFocus();
        QTest::keyClick(result, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(result, Qt::Key_C, Qt::ControlModifier);
        const QString all = QApplication::clipboard()->text();
        QVERIFY(all.contains("SETUP"));
        QVERIFY(all.count('\n') > 10);
        result->ClearSelection();
        result->ScrollToPosition(QPoint(0, 0));
        QTest::keyClick(result, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(result, Qt::Key_End, Qt::ShiftModifier);
        QTest::keyClick(result, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), all.section('\n', 0, 1));

        CListCtrlEx &list = List(frame);
        list.setFocus();
        list.SelectRow(2);
        QTest::keyClick(&list, Qt::Key_C, Qt::ControlModifier);
        const QStringList copied = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(copied.size(), 2);
        QCOMPARE(copied[0], QString("Sig Seq No\tMsg Direction\tMessage\tTime\tMsg From\tMsg To"));
        QStringList row;
        for (int c = 0; c < 6; ++c) row << list.GetItemText(2, c);
        QCOMPARE(copied[1], row.join('\t'));
        QTest::keyClick(&list, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QApplication::clipboard()->text().count('\n'), list.GetItemCount() + 1);

        // With the mouse: Interpret > Copy copies from the pane in use.
        QApplication::clipboard()->clear();
        list.setFocus();
        Main().Action(ID_EDIT_COPY)->trigger();
        QCOMPARE(QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts), copied);
        result->setFocus();
        QTest::keyClick(result, Qt::Key_A, Qt::ControlModifier);
        QApplication::clipboard()->clear();
        Main().Action(ID_EDIT_COPY)->trigger();
        QCOMPARE(QApplication::clipboard()->text(), all);
        trace->setFocus();
        QApplication::clipboard()->clear();
        Main().Action(ID_EDIT_COPY)->trigger();
        QCOMPARE(QApplication::clipboard()->text(), line(0) + "\n" + line(1));
        CloseAll();
    }

    // The File menu lists the last eight traces, newest first, kept in the settings.
    void recentFilesInTheFileMenu() {
        QStringList paths;
        for (int i = 0; i < 9; ++i) {
            const QString path = m_dir.filePath(QString("trace%1.trc").arg(i));
            QFile::remove(path);
            QVERIFY(QFile::copy(VEXA_SAMPLES "/isdn-call.trc", path));
            paths << path;
            QVERIFY(Open(path));
        }
        const QStringList items = Main().RecentFileItems();
        QCOMPARE(items.size(), 8);
        QVERIFY2(items[0].startsWith("&1 ") && items[0].endsWith("trace8.trc"), qPrintable(items[0]));
        QVERIFY(items[7].endsWith("trace1.trc"));
        IniProfileReader saved(m_app.Profile().FileName());
        QCOMPARE(QString::fromStdString(saved.GetProfileString("Recent File List", "File1", "")), paths[8]);
        QCOMPARE(m_app.RecentFiles().size(), 8);
        CloseAll();
        // Choosing an item opens that trace again, and it moves to the top.
        for (QAction *a : Main().menuBar()->actions().front()->menu()->actions()) {
            if (a->text() == items[3]) a->trigger();
        }
        QApplication::processEvents();
        QCOMPARE(m_app.Documents().size(), size_t(1));
        QVERIFY(Main().RecentFileItems()[0].endsWith("trace5.trc"));
        CloseAll();
    }

    // F5 interprets, Ctrl+G goes to a signal by number or time, Ctrl+W closes the window.
    void theKeyboard() {
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-call.trc");
        QVERIFY(frame);
        CListCtrlEx &list = List(frame);
        const int rows = list.GetItemCount();
        QCOMPARE(Main().Action(ID_INTERPRET_START)->shortcut(), QKeySequence(Qt::Key_F5));
        frame->Document().m_pListView->ClearList();
        Main().Action(ID_INTERPRET_START)->trigger();
        QCOMPARE(list.GetItemCount(), rows);

        QCOMPARE(Main().Action(ID_GOTO_SIGNAL)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
        frame->TraceView()->resize(400, 150);
        QVERIFY(Main().GoToSignal("46"));
        QCOMPARE(list.GetItemText(list.GetFirstSelectedRow(), 0).toInt(), 46);
        QVERIFY(frame->TraceView()->GetDeviceScrollPosition().y() > 0);
        const QString time = list.GetItemText(rows - 1, 3);
        QVERIFY(Main().GoToSignal(time.left(8)));
        QVERIFY(list.GetItemText(list.GetFirstSelectedRow(), 3).startsWith(time.left(8)));
        QVERIFY(!Main().GoToSignal("99999"));

        // Ctrl+S: the interpretation's save dialog, offering the trace's name with ".out".
        QCOMPARE(Main().Action(ID_FILE_SAVE)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QString offered;
        bool saving = false;
        WhenDialogOpens("QFileDialog", [&](QDialog &dialog) {
            auto &files = static_cast<QFileDialog &>(dialog);
            offered = files.selectedFiles().value(0);
            saving = files.acceptMode() == QFileDialog::AcceptSave;
        });
        g_dialogCloser->stop();
        Main().Action(ID_FILE_SAVE)->trigger();
        g_dialogCloser->start();
        QVERIFY(saving);
        QVERIFY2(offered.endsWith("isdn-call.out"), qPrintable(offered));

        QCOMPARE(Main().Action(ID_FILE_CLOSE)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_W));
        Main().Action(ID_FILE_CLOSE)->trigger();
        QApplication::processEvents();
        QVERIFY(m_app.Documents().empty());
    }

    // The status bar says how the list is narrowed until All is chosen.
    void theStatusBarSaysHowTheListIsNarrowed() {
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-call.trc");
        QVERIFY(frame);
        CListCtrlEx &list = List(frame);
        QCOMPARE(Main().NarrowingText(), QString());
        list.OnListCommand(ID_LIST_OUTGOING);
        QCOMPARE(Main().NarrowingText(), QString("Outgoing only"));
        list.OnListCommand(ID_LIST_INCOMING);
        QCOMPARE(Main().NarrowingText(), QString("Incoming only"));
        QString chosen;
        WhenDialogOpens("vexa::CFilterDialog", [&](QDialog &dialog) {
            auto &filter = static_cast<CFilterDialog &>(dialog);
            filter.Button(CFilterDialog::IDC_BUTTON_FIRST)->click();
            chosen = filter.Values()->currentText();
            filter.OnOK();
        });
        list.RunFilter();
        QVERIFY(!chosen.isEmpty());
        QCOMPARE(Main().NarrowingText(), QString("Filter: call reference %1").arg(chosen));
        list.OnListCommand(ID_LIST_ALL);
        QCOMPARE(Main().NarrowingText(), QString());
        CloseAll();
    }

    // A cell whose text is cut shows it whole as a tool tip; a double click on a column's
    // border fits the column to its widest text.
    void cutCellsAndFittingAColumn() {
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-call.trc");
        QVERIFY(frame);
        CListCtrlEx &list = List(frame);
        list.resize(700, 300);
        list.SetColumnWidth(2, 30);
        QApplication::processEvents();
        const QRect cell = list.visualRect(list.model()->index(0, 2));
        QHelpEvent tip(QEvent::ToolTip, cell.center(), list.viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(list.viewport(), &tip);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), list.GetItemText(0, 2));
        QToolTip::hideText();

        QHeaderView *header = list.header();
        const int border = header->sectionViewportPosition(2) + header->sectionSize(2) - 1;
        QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, QPoint(border, header->height() / 2));
        const QFontMetrics metrics(list.ListFont());
        for (int row = 0; row < list.GetItemCount(); ++row)
            QVERIFY2(metrics.horizontalAdvance(list.GetItemText(row, 2)) < list.GetColumnWidth(2), qPrintable(list.GetItemText(row, 2)));
        // A fitted cell shows no tool tip.
        QHelpEvent again(QEvent::ToolTip, cell.center(), list.viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(list.viewport(), &again);
        QVERIFY(!QToolTip::isVisible());
        CloseAll();
    }
};

int RunFeaturesTest(CVexaClientApp &app, int argc, char **argv) {
    FeaturesTest test(app);
    return QTest::qExec(&test, argc, argv);
}

#include "FeaturesTest.moc"
