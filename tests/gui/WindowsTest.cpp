// The windows as a user meets them beyond the first look: the font dialogs, the printed
// list, a second window on a trace, the lock key panes, help from a dialog, a run that
// fails, the default sizes and where the filter dialog opens.
#include "CChildFrame.h"
#include "CFilterDialog.h"
#include "CHelpWindow.h"
#include "CListCtrlEx.h"
#include "CMainFrame.h"
#include "CVexaClientApp.h"
#include "CVexaClientView.h"
#include "CVexaEditView.h"
#include "CVexaListView.h"
#include "CVexaMdiEditView.h"
#include "CommandIds.h"
#include "IniProfileReader.h"
#include "QtPlatform.h"
#include "WindowTestBase.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

using namespace vexa;
using namespace vexa::ids;

namespace {

// Paints of a widget, counted.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace

// Runs body once the modal dialog of a class has opened, then closes the dialog.
void WhenDialogOpens(const char *className, std::function<void(QDialog &)> body) {
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, className, body] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->inherits(className)) return;
        poll->stop();
        poll->deleteLater();
        body(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    poll->start(20);
}

int RunFeaturesTest(CVexaClientApp &app, int argc, char **argv);
// Closes message boxes and file dialogs as they appear; a test that answers one itself
// stops it meanwhile.
QTimer *g_dialogCloser = nullptr;

class WindowsTest : public WindowTestBase {
    Q_OBJECT
public:
    explicit WindowsTest(CVexaClientApp &app) : WindowTestBase(app) {}

private:

    // The rightmost column holding ink on a printed page, drawn at the printer's own
    // resolution into an image of the page's printable area.
    static int RightmostInk(CVexaListView &view, QPrinter &printer, int page) {
        const QRect area = printer.pageRect(QPrinter::DevicePixel).toRect();
        QImage image(area.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        view.PrintPage(painter, printer, page);
        painter.end();
        int rightmost = -1;
        for (int y = 0; y < image.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = image.width() - 1; x > rightmost; --x)
                if (qGray(line[x]) < 128) rightmost = x;
        }
        return rightmost;
    }

private slots:
    void init() { SetFontDialogHook({}); }

    // OK in a font dialog without a change keeps the bold default face in all three
    // panes, and Save Current Settings stores the three faces alike. The result text's
    // dialog offers no strikeout and underline.
    void fontDialogsKeepTheFaceAndTheResultTextsOffersNoEffects() {
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-call.trc");
        QVERIFY(frame);
        CVexaClientView *trace = frame->TraceView();
        CVexaEditView *result = frame->ResultsFrame()->EditView();
        CListCtrlEx &list = List(frame);
        QVERIFY(trace->ViewFont().bold() && result->ScreenFont().bold() && list.ListFont().bold());

        QStringList visibleBoxes;
        QFont opened;
        SetFontDialogHook([&](QWidget &dialog) {
            visibleBoxes.clear();
            for (QCheckBox *box : dialog.findChildren<QCheckBox *>())
                if (box->isVisibleTo(&dialog)) visibleBoxes << box->text();
            opened = static_cast<QFontDialog &>(dialog).currentFont();
            static_cast<QDialog &>(dialog).accept();
        });
        trace->OnCommand(ID_CONTEXT_FONT);
        QVERIFY(trace->ViewFont().bold());
        QVERIFY2(opened.bold(), "the dialog opens on the current, bold, face");
        QVERIFY(!visibleBoxes.isEmpty());
        list.OnListCommand(ID_LIST_FONT);
        QVERIFY(list.ListFont().bold());
        QVERIFY(!visibleBoxes.isEmpty());
        result->OnResultsCommand(ID_RESULTS_FONT);
        QVERIFY(result->ScreenFont().bold());
        QVERIFY2(visibleBoxes.isEmpty(), qPrintable(visibleBoxes.join(", ")));

        trace->SaveCurrentSettings();
        IniProfileReader saved(m_app.Profile().FileName());
        for (const char *pane : {"C", "E", "L"}) {
            QCOMPARE(saved.GetProfileString("Options", std::string(pane) + "Weight", ""), std::string("700"));
            QCOMPARE(saved.GetProfileString("Options", std::string(pane) + "FaceName", ""), std::string("System"));
        }

        // A change is taken: a larger size, the face still bold.
        SetFontDialogHook([&](QWidget &dialog) {
            auto &fonts = static_cast<QFontDialog &>(dialog);
            QFont larger = fonts.currentFont();
            larger.setPointSizeF(larger.pointSizeF() + 4);
            fonts.setCurrentFont(larger);
            fonts.accept();
        });
        const int before = QFontInfo(trace->ViewFont()).pixelSize();
        trace->OnCommand(ID_CONTEXT_FONT);
        QVERIFY(QFontInfo(trace->ViewFont()).pixelSize() > before);
        QVERIFY(trace->ViewFont().bold());
        SetFontDialogHook({});
        CloseAll();
    }

    // The printed list has every column on the page, on A4 and A5, upright and on its side.
    void thePrintedListHasEveryColumnOnThePage() {
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-call.trc");
        QVERIFY(frame);
        CVexaListView &view = *frame->ResultsFrame()->ListView();
        QVERIFY(view.GetRowCount() > 0);
        for (QPageSize::PageSizeId size : {QPageSize::A4, QPageSize::A5}) {
            for (QPageLayout::Orientation orientation : {QPageLayout::Portrait, QPageLayout::Landscape}) {
                QPrinter printer(QPrinter::HighResolution);
                printer.setResolution(150);
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(m_dir.filePath("list.pdf"));
                printer.setPageSize(QPageSize(size));
                printer.setPageOrientation(orientation);
                const int pages = view.BeginPrinting(printer);
                QVERIFY(pages > 0);
                const int width = printer.pageRect(QPrinter::DevicePixel).toRect().width();
                const int right = RightmostInk(view, printer, 1);
                const QString where = QStringLiteral("size %1, orientation %2: ink to %3 of %4")
                                          .arg(size).arg(orientation).arg(right).arg(width);
                QVERIFY2(right > width / 2, qPrintable(where));  // the last column is printed
                QVERIFY2(right < width - 2, qPrintable(where));  // and not cut at the edge
                // Every row is printed once over the pages.
                int rows = 0;
                for (int page = 1; page <= pages; ++page) {
                    QImage scratch(8, 8, QImage::Format_RGB32);
                    QPainter painter(&scratch);
                    rows += view.PrintPage(painter, printer, page).count;
                }
                QCOMPARE(rows, view.GetRowCount());
                // The real print job; VEXA_KEEP_PRINTS names a folder to keep the files in.
                const QString keep = qEnvironmentVariable("VEXA_KEEP_PRINTS");
                printer.setOutputFileName((keep.isEmpty() ? m_dir.path() : keep) +
                                          QStringLiteral("/list-%1-%2.pdf").arg(size).arg(orientation));
                QVERIFY(view.PrintList(printer));
                QVERIFY(QFileInfo(printer.outputFileName()).size() > 0);
            }
        }
        CloseAll();
    }

    // Window > New Window: a whole second view of the trace, with its rows, its menu, the
    // commands working in it and a title of its own.
    void aNewWindowIsAWholeSecondView() {
        CChildFrame *first = Open(VEXA_SAMPLES "/isdn-call.trc");
        QVERIFY(first);
        const int rows = List(first).GetItemCount();
        QVERIFY(rows > 0);
        Main().OnCommand(ID_WINDOW_NEW);
        QApplication::processEvents();
        CChildFrame *second = Main().ActiveChildFrame();
        QVERIFY(second && second != first);
        QCOMPARE(List(second).GetItemCount(), rows);
        QCOMPARE(first->windowTitle(), QString("isdn-call.trc:1"));
        QCOMPARE(second->windowTitle(), QString("isdn-call.trc:2"));
        List(second).PrepareContextMenu();
        QVERIFY(!List(second).ContextMenu().actions().isEmpty());

        // Interpret in the second window: both lists are filled, the second stays in front.
        Main().OnCommand(ID_INTERPRET_START);
        QApplication::processEvents();
        QCOMPARE(Main().ActiveChildFrame(), second);
        QCOMPARE(List(first).GetItemCount(), rows);
        QCOMPARE(List(second).GetItemCount(), rows);
        QVERIFY(second->ResultsFrame()->EditView()->verticalScrollBar()->maximum() > 0);

        // A direction chosen in one window narrows the list in both.
        List(second).OnListCommand(ID_LIST_OUTGOING);
        const int outgoing = List(second).GetItemCount();
        QVERIFY(outgoing > 0 && outgoing < rows);
        QCOMPARE(List(first).GetItemCount(), outgoing);
        List(second).OnListCommand(ID_LIST_ALL);
        QCOMPARE(List(first).GetItemCount(), rows);

        // Go To in the second window moves its own result text.
        CVexaEditView *result = second->ResultsFrame()->EditView();
        result->resize(400, 100);
        List(second).SelectRow(rows - 1);
        List(second).OnListCommand(ID_LIST_GOTO);
        QVERIFY(result->GetDeviceScrollPosition().y() > 0);

        // The Window menu lists both windows.
        QStringList items;
        for (QAction *a : Main().WindowMenu()->actions()) items << a->text();
        QVERIFY2(items.contains("&1 isdn-call.trc:1") && items.contains("&2 isdn-call.trc:2"), qPrintable(items.join("|")));

        first->close();
        QApplication::processEvents();
        QCOMPARE(second->windowTitle(), QString("isdn-call.trc"));
        QVERIFY(&second->Document() == m_app.Documents().front());
        CloseAll();
    }

    // The CAP, NUM and SCRL panes follow the keyboard's lights, and the modifiers of key
    // events where the system shows no lights.
    void theLockKeyPanesShowTheKeys() {
        QTemporaryDir leds;
        auto light = [&](const QString &name, const char *value) {
            QDir(leds.path()).mkpath(name);
            QFile file(leds.filePath(name + "/brightness"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(value);
        };
        light("input3::capslock", "1");
        light("input3::numlock", "0");
        light("input3::scrolllock", "1");
        Main().SetLedFolder(leds.path());
        Main().UpdateLockKeys();
        QCOMPARE(Main().LockPaneText("CAP"), QString("CAP"));
        QCOMPARE(Main().LockPaneText("NUM"), QString());
        QCOMPARE(Main().LockPaneText("SCRL"), QString("SCRL"));

        QTemporaryDir none;
        Main().SetLedFolder(none.path());
        // Lock (0x02) and Mod2 (0x10) of the window system's modifier state.
        QKeyEvent withLocks(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 38, 'a', 0x12, "a");
        QApplication::sendEvent(&Main(), &withLocks);
        QCOMPARE(Main().LockPaneText("CAP"), QString("CAP"));
        QCOMPARE(Main().LockPaneText("NUM"), QString("NUM"));
        QCOMPARE(Main().LockPaneText("SCRL"), QString());
        QKeyEvent without(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 38, 'a', 0x00, "a");
        QApplication::sendEvent(&Main(), &without);
        QCOMPARE(Main().LockPaneText("CAP"), QString());
        QCOMPARE(Main().LockPaneText("NUM"), QString());
        // Caps Lock itself, pressed twice: its events carry the state before the key.
        auto capsLock = [&](QEvent::Type type, quint32 native) {
            QKeyEvent key(type, Qt::Key_CapsLock, Qt::NoModifier, 66, 0xFFE5, native);
            QApplication::sendEvent(&Main(), &key);
        };
        capsLock(QEvent::KeyPress, 0x00);
        capsLock(QEvent::KeyRelease, 0x02);
        QCOMPARE(Main().LockPaneText("CAP"), QString("CAP"));
        capsLock(QEvent::KeyPress, 0x02);
        capsLock(QEvent::KeyRelease, 0x02);
        QCOMPARE(Main().LockPaneText("CAP"), QString());
        Main().SetLedFolder("/sys/class/leds");
    }

    // Help asked for in a modal dialog takes input while the dialog is open, and stands
    // in front of it.
    void helpFromAModalDialogIsUsable() {
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-call.trc");
        QVERIFY(frame);
        bool checked = false;
        WhenDialogOpens("vexa::CFilterDialog", [&](QDialog &dialog) {
            CHelpWindow *help = CHelpWindow::Show(0);
            QApplication::processEvents();
            QVERIFY(help->isVisible());
            // Not blocked by the dialog: a window is blocked unless it is the modal
            // dialog or one of its own windows.
            QWidget *modal = QApplication::activeModalWidget();
            QCOMPARE(modal, &dialog);
            bool ownWindow = false;
            for (QWidget *w = help; w; w = w->parentWidget()) ownWindow = ownWindow || w == modal;
            QVERIFY2(ownWindow, "the help is not one of the dialog's windows: the dialog blocks it");
            QScrollBar *bar = help->Browser()->verticalScrollBar();
            help->Browser()->setPlainText(QString("A line of the guide\n").repeated(200));
            help->resize(400, 200);
            QApplication::processEvents();
            QVERIFY(bar->maximum() > 0);
            QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - bar->width() - 4));
            QVERIFY2(bar->value() > 0, "the help does not scroll");
            checked = true;
        });
        List(frame).RunFilter();
        QVERIFY(checked);
        QApplication::processEvents();
        CHelpWindow *help = CHelpWindow::Show(0);
        QVERIFY(help->parentWidget() == nullptr);  // its own window once the dialog closed
        help->close();
        CloseAll();
    }

    // A run that fails (the trace was changed on disk into a file that is no trace)
    // shows at once what the document holds: no rows and no text.
    void aFailedRunLeavesNoOldTextOnScreen() {
        const QString path = m_dir.filePath("changed.trc");
        QFile::remove(path);
        QVERIFY(QFile::copy(VEXA_SAMPLES "/isdn-call.trc", path));
        CChildFrame *frame = Open(path);
        QVERIFY(frame);
        CVexaEditView *result = frame->ResultsFrame()->EditView();
        QVERIFY(!frame->Document().m_DisplayLines.empty());
        QApplication::processEvents();
        PaintCounter counter;
        result->viewport()->installEventFilter(&counter);
        {
            QFile changed(path);
            QVERIFY(changed.open(QIODevice::WriteOnly | QIODevice::Truncate));
            changed.write("No trace here any more: not one record line.\n");
        }
        Main().OnCommand(ID_INTERPRET_START);  // the error's message box is closed for us
        QApplication::processEvents();
        QCOMPARE(List(frame).GetItemCount(), 0);
        QVERIFY(frame->Document().m_DisplayLines.empty());
        QVERIFY2(counter.paints > 0, "the old text stays until something repaints");
        result->viewport()->removeEventFilter(&counter);
        CloseAll();
    }

    // The default sizes fit their contents: the time column, the protocol pane and the
    // caption.
    void defaultSizesFitTheirContents() {
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-call.trc");
        QVERIFY(frame);
        CListCtrlEx &list = List(frame);
        const QFontMetrics metrics(list.ListFont());
        const int margins = 3 * metrics.horizontalAdvance(QLatin1Char(' '));
        for (int row = 0; row < list.GetItemCount(); ++row) {
            const QString time = list.GetItemText(row, 3);
            QVERIFY2(metrics.horizontalAdvance(time) + margins <= list.GetColumnWidth(3), qPrintable(time));
        }
        auto *pane = Main().findChild<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
        Q_UNUSED(pane);
        for (int p = 1; p <= 6; ++p) {
            Main().OnCommand(ID_PROTOCOL_BASE + p);
            const QString name = Main().ProtocolText();
            QVERIFY(!name.isEmpty());
            QLabel *protocol = nullptr;
            for (QLabel *label : Main().findChildren<QLabel *>())
                if (label->text() == name) protocol = label;
            QVERIFY(protocol);
            QVERIFY2(protocol->fontMetrics().horizontalAdvance(name) <= protocol->contentsRect().width(), qPrintable(name));
            QVERIFY(protocol->width() >= 100);
        }
        Main().OnCommand(ID_PROTOCOL_BASE + 1);
        const QString caption = Main().windowTitle();
        QVERIFY2(!caption.contains("  ") && !caption.contains("- -"), qPrintable(caption));
        QVERIFY2(caption.startsWith("Vexa") && caption.contains("isdn-call.trc"), qPrintable(caption));
        CloseAll();
        QCOMPARE(Main().windowTitle(), QString("Vexa"));
    }

    // The filter dialog opens over the list.
    void theFilterDialogOpensOverTheList() {
        CChildFrame *frame = Open(VEXA_SAMPLES "/isdn-call.trc");
        QVERIFY(frame);
        CListCtrlEx &list = List(frame);
        const QRect listArea(list.mapToGlobal(QPoint(0, 0)), list.size());
        QRect dialogArea;
        WhenDialogOpens("vexa::CFilterDialog", [&](QDialog &dialog) { dialogArea = dialog.frameGeometry(); });
        list.RunFilter();
        QVERIFY(dialogArea.isValid());
        QVERIFY2(listArea.contains(dialogArea.center()),
                 qPrintable(QStringLiteral("dialog centre %1,%2; list %3,%4 %5x%6")
                                .arg(dialogArea.center().x()).arg(dialogArea.center().y())
                                .arg(listArea.x()).arg(listArea.y()).arg(listArea.width()).arg(listArea.height())));
        CloseAll();
    }
};

int main(int argc, char **argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("TMPDIR", config.path().toLocal8Bit());
    CVexaClientApp app(argc, argv);
    // Message boxes would wait for a click: close each one as it appears.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && (w->inherits("QMessageBox") || w->inherits("QFileDialog"))) w->close();
    });
    closer.start(50);
    g_dialogCloser = &closer;
    if (!app.CreateMainWindow()) return 1;
    app.MainFrame()->resize(1000, 700);
    app.MainFrame()->show();
    WindowsTest test(app);
    int failed = QTest::qExec(&test, argc, argv);
    failed += RunFeaturesTest(app, argc, argv);
    return failed;
}

#include "WindowsTest.moc"
