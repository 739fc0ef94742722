// Takes screenshots of the Vexa windows as a user sees them: the main window with an
// interpreted trace, the context menus and each dialog, a cut list cell's tool tip and a
// fitted column, and the call flow diagram and summary of an ISDN, a DECT and an IP
// sample. Usage:
//   vexa_screenshots OUTPUT_FOLDER TRACE [SAMPLES_FOLDER]
// Run it on a display (scripts/screenshots.sh starts one with Xvfb).
#include "CCallFlowWindow.h"
#include "CChildFrame.h"
#include "CHelpWindow.h"
#include "CMainFrame.h"
#include "CVexaClientApp.h"
#include "CVexaClientView.h"
#include "CVexaEditView.h"
#include "CIpFilterDialog.h"
#include "CListCtrlEx.h"
#include "CVexaListView.h"
#include "CVexaMdiEditView.h"
#include "CommandIds.h"
#include "CFindBar.h"
#include "CSummaryWindow.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidgetItemIterator>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

using namespace vexa;

namespace {

QString g_folder;

void Save(QWidget *widget, const QString &name) {
    if (!widget) {
        std::fprintf(stderr, "no window for %s\n", qPrintable(name));
        return;
    }
    const QString path = g_folder + "/" + name + ".png";
    QPixmap shot = widget->screen() ? widget->screen()->grabWindow(0, widget->frameGeometry().x(), widget->frameGeometry().y(),
                                                                   widget->frameGeometry().width(), widget->frameGeometry().height())
                                    : widget->grab();
    if (shot.isNull() || shot.width() < 2) shot = widget->grab();
    shot.save(path);
    std::printf("%s\n", qPrintable(path));
}

// Runs action, which opens a menu or a dialog, and saves a shot of what it opened once it
// has been painted.
void ShootModal(const QString &name, const std::function<void()> &action) {
    auto *poll = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, waited, name] {
        QWidget *w = QApplication::activePopupWidget();
        if (!w) w = QApplication::activeModalWidget();
        *waited += 100;
        if (!w && *waited < 3000) return;
        poll->stop();
        poll->deleteLater();
        if (w) {
            QApplication::processEvents();
            Save(w, name);
            w->close();
        } else {
            Save(nullptr, name);
        }
    });
    poll->start(100);
    action();
    // A menu that did not open leaves the poll running: wait for it to give up.
    while (poll->isActive()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Saves a part of the screen (in screen coordinates), such as a pane with the tool tip
// over it.
void SaveArea(const QRect &area, const QString &name) {
    QScreen *screen = QGuiApplication::primaryScreen();
    const QPixmap shot = screen ? screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()) : QPixmap();
    const QString path = g_folder + "/" + name + ".png";
    if (shot.isNull()) {
        std::fprintf(stderr, "no picture of %s\n", qPrintable(name));
        return;
    }
    shot.save(path);
    std::printf("%s\n", qPrintable(path));
}

QRect ScreenRect(QWidget *widget) { return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()); }

// A cell cut at its column's edge shows its whole text as a tool tip; a double click on
// the column's right border fits the column to its widest text.
void ShootCutCellAndFittedColumn(CListCtrlEx &list) {
    const int column = 2;  // the message name
    list.SetColumnWidth(column, 62);
    QApplication::processEvents();
    int row = 0;
    for (int r = 0; r < list.GetItemCount() && r < 20; ++r)
        if (list.GetItemText(r, column).size() > list.GetItemText(row, column).size()) row = r;
    const QRect cell = list.visualRect(list.model()->index(row, column));
    const QPoint at = cell.center() + QPoint(0, 6);
    QHelpEvent tip(QEvent::ToolTip, at, list.viewport()->mapToGlobal(at));
    QApplication::sendEvent(list.viewport(), &tip);
    Wait(400);
    // The heading and the rows, with a little room below them.
    const int rowsBottom = list.visualRect(list.model()->index(list.GetItemCount() - 1, 0)).bottom();
    const int height = std::min(list.height(), list.header()->height() + rowsBottom + 30);
    QRect area = ScreenRect(&list);
    area.setHeight(height);
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->inherits("QTipLabel")) area |= w->frameGeometry().adjusted(-8, -8, 8, 8);
    SaveArea(area, "list-cell-tooltip");
    QToolTip::hideText();
    Wait(200);

    QHeaderView *header = list.header();
    const int border = header->sectionViewportPosition(column) + header->sectionSize(column) - 1;
    const QPointF where(border, header->height() / 2);
    QMouseEvent click(QEvent::MouseButtonDblClick, where, header->viewport()->mapToGlobal(where), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &click);
    Wait(300);
    area = ScreenRect(&list);
    area.setHeight(height);
    SaveArea(area, "list-column-fitted");
}

// The first list row whose message is name, else the first row.
int RowOf(CListCtrlEx &list, const QString &name) {
    for (int row = 0; row < list.GetItemCount(); ++row)
        if (list.GetItemText(row, 2) == name) return row;
    return 0;
}

template <class Window>
Window *NewestWindowOf(QWidget *frame) {
    const QList<Window *> windows = frame->findChildren<Window *>(Qt::FindDirectChildrenOnly);
    return windows.isEmpty() ? nullptr : windows.back();
}

// Opens a sample with a protocol (1 to 4 ISDN, 5 DECT, 6 IP) and interprets it; its trace
// window, or none.
CChildFrame *OpenSample(CVexaClientApp &app, const QString &path, int protocol) {
    CMainFrame *main = app.MainFrame();
    main->m_bInterpretOnOpen = true;
    main->OnCommand(ids::ID_PROTOCOL_BASE + protocol);
    if (!app.OpenDocumentFile(path)) {
        std::fprintf(stderr, "%s cannot be opened\n", qPrintable(path));
        return nullptr;
    }
    Wait(500);
    CChildFrame *frame = main->ActiveChildFrame();
    if (frame) frame->showMaximized();
    return frame;
}

// The call flow of the call of the first row of a message (View > Call Flow). With goTo,
// an arrow is clicked too, and the main window is shown beside the diagram, gone to the
// arrow's signal; then the print preview.
void ShootCallFlow(CVexaClientApp &app, const QString &path, int protocol, const QString &message,
                   const QString &tag, bool goTo) {
    CMainFrame *main = app.MainFrame();
    CChildFrame *frame = OpenSample(app, path, protocol);
    if (!frame) return;
    CListCtrlEx &list = frame->ResultsFrame()->ListView()->ListCtrl();
    list.SelectRow(RowOf(list, message));
    main->OnCommand(ids::ID_VIEW_CALL_FLOW);
    Wait(300);
    auto *flow = NewestWindowOf<CCallFlowWindow>(frame);
    if (!flow) {
        Save(nullptr, "callflow-" + tag);
        return;
    }
    const CallFlow &call = flow->View()->Flow();
    flow->resize(std::min(FlowLayout::Width(call) + 40, 900), std::min(FlowLayout::Height(call) + 70, 960));
    flow->move(main->geometry().topLeft() + QPoint(40, 30));
    Wait(500);
    Save(flow, "callflow-" + tag);
    if (goTo) {
        main->setGeometry(0, 0, 1000, 980);
        flow->move(1000, 0);
        flow->resize(600, 980);
        Wait(300);
        CCallFlowView *view = flow->View();
        const QPoint at = view->ArrowRect(std::min<int>(2, static_cast<int>(call.arrows.size()) - 1)).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &press);
        Wait(500);
        SaveArea(QRect(0, 0, 1600, 980), "callflow-goto");
        ShootModal("callflow-print-preview", [&] { flow->OnPrintPreview(); });
        main->setGeometry(0, 0, 1400, 900);
    }
    flow->close();
    frame->close();
    Wait(200);
}

// The summary of a whole trace (View > Summary).
void ShootSummary(CVexaClientApp &app, const QString &path, int protocol, const QString &tag) {
    CMainFrame *main = app.MainFrame();
    CChildFrame *frame = OpenSample(app, path, protocol);
    if (!frame) return;
    main->OnCommand(ids::ID_VIEW_SUMMARY);
    Wait(300);
    if (auto *summary = NewestWindowOf<CSummaryWindow>(frame)) {
        int rows = 0, widest = 0;
        for (QTreeWidgetItemIterator it(summary); *it; ++it, ++rows)
            widest = std::max(widest, summary->fontMetrics().horizontalAdvance((*it)->text(0)));
        summary->resize(std::clamp(widest + 2 * summary->indentation() + 30, 640, 1200),
                        std::min(20 + rows * summary->sizeHintForRow(0), 960));
        summary->move(main->geometry().topLeft() + QPoint(40, 30));
        Wait(400);
        Save(summary, "summary-" + tag);
        summary->close();
    } else {
        Save(nullptr, "summary-" + tag);
    }
    frame->close();
    Wait(200);
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: vexa_screenshots OUTPUT_FOLDER TRACE [SAMPLES_FOLDER]\n");
        return 2;
    }
    g_folder = QString::fromLocal8Bit(argv[1]);
    const QString samples = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString::fromUtf8(VEXA_SAMPLES);
    QDir().mkpath(g_folder);
    char *appArgs[] = {argv[0], argv[2], nullptr};
    int appArgc = 2;
    CVexaClientApp app(appArgc, appArgs);
    if (!app.InitInstance()) return 1;
    CMainFrame *main = app.MainFrame();
    main->resize(1400, 900);
    Wait(800);
    Save(main, "main-window");

    CChildFrame *frame = main->ActiveChildFrame();
    if (!frame) return 1;
    CVexaClientView *trace = frame->TraceView();
    ShootModal("trace-context-menu", [&] {
        QMenu *menu = trace->BuildContextMenu();
        menu->exec(trace->mapToGlobal(QPoint(80, 80)));
        delete menu;
    });
    // A right click reaches a scrolling view through its viewport.
    QWidget *result = frame->ResultsFrame()->EditView()->viewport();
    ShootModal("results-context-menu", [&] {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(80, 80), result->mapToGlobal(QPoint(80, 80)));
        QApplication::sendEvent(result, &event);
    });
    QWidget *list = frame->ResultsFrame()->ListView()->ListCtrl().viewport();
    ShootModal("list-context-menu", [&] {
        QWidget *target = list;
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(60, 40), target->mapToGlobal(QPoint(60, 40)));
        QApplication::sendEvent(target, &event);
    });
    CListCtrlEx &listCtrl = frame->ResultsFrame()->ListView()->ListCtrl();
    ShootModal("filter-dialog", [&] { listCtrl.OnListCommand(ids::ID_LIST_FILTER); });
    ShootModal("ip-filter-dialog", [&] {
        CIpFilterDialog dialog(main);
        dialog.exec();
    });
    // The font dialogs open on the current (bold) faces; the result text's has no effects.
    ShootModal("list-font-dialog", [&] { listCtrl.OnListCommand(ids::ID_LIST_FONT); });
    ShootModal("result-font-dialog", [&] { frame->ResultsFrame()->EditView()->OnResultsCommand(ids::ID_RESULTS_FONT); });
    ShootModal("protocol-menu", [&] {
        for (QAction *a : main->menuBar()->actions())
            if (a->text() == "&Protocol") a->menu()->exec(main->mapToGlobal(QPoint(60, 30)));
    });
    ShootModal("colour-settings", [&] { main->OnCommand(ids::ID_COLOR_SETTINGS); });
    ShootModal("signal-names", [&] { main->OnCommand(ids::ID_SIGNAL_NAMES); });
    ShootModal("about", [&] { main->OnCommand(ids::ID_APP_ABOUT); });
    main->OnCommand(ids::ID_HELP);
    Wait(600);
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->inherits("vexa::CHelpWindow")) {
            Save(w, "help");
            w->close();
        }

    // Find in the result text: the bar under it, every place marked, the count.
    CVexaEditView *resultView = frame->ResultsFrame()->EditView();
    resultView->setFocus();
    resultView->ShowFindBar();
    resultView->FindAll(QStringLiteral("SETUP"), {});
    if (resultView->FindBar()) resultView->FindBar()->findChild<QLineEdit *>()->setText(QStringLiteral("SETUP"));
    Wait(300);
    Save(main, "find-bar");
    resultView->HideFindBar();
    // A selection in the trace, as Ctrl+C copies it.
    trace->SelectAll();
    Wait(200);
    Save(main, "trace-selection");
    trace->ClearSelection();
    // A narrowed list: the status bar says how.
    listCtrl.OnListCommand(ids::ID_LIST_OUTGOING);
    Wait(300);
    Save(main, "narrowed-list");
    listCtrl.OnListCommand(ids::ID_LIST_ALL);
    ShootCutCellAndFittedColumn(listCtrl);
    // The recent files and the open windows in the menus.
    ShootModal("file-menu-recent-files", [&] {
        main->menuBar()->actions().front()->menu()->exec(main->mapToGlobal(QPoint(10, 30)));
    });
    main->OnCommand(ids::ID_WINDOW_NEW);
    Wait(400);
    Save(main, "second-window");
    ShootModal("window-menu", [&] {
        for (QAction *a : main->menuBar()->actions())
            if (a->text() == "&Window") a->menu()->exec(main->mapToGlobal(QPoint(300, 30)));
    });

    // The call flow of an ISDN, a DECT and an IP call.
    ShootCallFlow(app, samples + "/isdn-busy.trc", 1, "SETUP", "isdn", true);
    ShootCallFlow(app, samples + "/dect-call.trc", 5, "CC-SETUP", "dect", false);
    ShootCallFlow(app, samples + "/ip-call.trc", 6, "SETUP", "ip", false);
    // Summaries with causes, invalid messages and calls that never ended.
    ShootSummary(app, samples + "/isdn-repeat.trc", 1, "isdn");
    ShootSummary(app, samples + "/dect-errors.trc", 5, "dect");
    ShootSummary(app, samples + "/ip-malformed.trc", 6, "ip");
    // The user guide's pictures in place: the list's cut cells and fitted column, the call flow.
    CHelpWindow *help = CHelpWindow::Show(0);
    help->setGeometry(0, 0, 760, 960);
    for (const char *chapter : {"list", "callflow", "summary"}) {
        help->Browser()->scrollToAnchor(QString::fromLatin1(chapter));
        Wait(600);
        Save(help, QStringLiteral("help-%1").arg(QString::fromLatin1(chapter)));
    }
    help->close();
    return 0;
}
