// Takes screenshots of the Vexa windows as a user sees them: the main window with an
// interpreted trace, the context menus and each dialog. Usage:
//   vexa_screenshots OUTPUT_FOLDER TRACE
// Run it on a display (scripts/screenshots.sh starts one with Xvfb).
#include "CChildFrame.h"
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

#include <QContextMenuEvent>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QWidget>

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

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: vexa_screenshots OUTPUT_FOLDER TRACE\n");
        return 2;
    }
    g_folder = QString::fromLocal8Bit(argv[1]);
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
    return 0;
}
