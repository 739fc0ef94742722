#include "CMainFrame.h"

#include "CChildFrame.h"
#include "CVexaClientApp.h"
#include "CVexaClientView.h"
#include "CommandIds.h"
#include "QtPlatform.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>

namespace vexa {

using namespace ids;

namespace {

// The status-bar prompt of a command: the text before the line break of its string.
QString Prompt(int id) { return Text(id).section('\n', 0, 0); }
QString Tip(int id) { return Text(id).section('\n', 1, 1); }

}  // namespace

CMainFrame::CMainFrame(CVexaClientApp &app) : m_app(app) {
    setWindowTitle(Text(IDS_MAINFRAME));
    setAcceptDrops(true);
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);

    BuildMenus();

    m_toolBar = addToolBar(tr("Standard"));
    m_toolBar->setObjectName("toolbar128");
    m_toolBar->setIconSize(QSize(16, 15));
    m_toolBar->addAction(m_actions[ID_FILE_OPEN]);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_actions[ID_INTERPRET_START]);
    m_toolBar->addAction(m_actions[ID_HELP]);

    // Pane 0 is the message pane; pane 1 the protocol; 2 to 4 the lock keys.
    m_protocolPane = new QLabel(this);
    m_protocolPane->setFixedWidth(100);
    m_protocolPane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->addPermanentWidget(m_protocolPane);
    for (const char *lock : {"CAP", "NUM", "SCRL"}) {
        auto *pane = new QLabel(this);
        pane->setObjectName(lock);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(lock) + 8);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addPermanentWidget(pane);
    }
    statusBar()->showMessage(Text(IDS_READY));
    ShowMenu(false);
}

// The trace windows close with the main window; their going must not reach the menus of a
// main window that is itself going.
CMainFrame::~CMainFrame() { disconnect(m_mdiArea, nullptr, this, nullptr); }

QAction *CMainFrame::MakeAction(int id, const QString &text, const QKeySequence &keys) {
    auto *action = new QAction(text, this);
    action->setData(id);
    if (!keys.isEmpty()) action->setShortcut(keys);
    action->setShortcutContext(Qt::ApplicationShortcut);
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    m_actions.insert(id, action);
    addAction(action);  // accelerators work whatever menu is shown
    return action;
}

void CMainFrame::BuildMenus() {
    MakeAction(ID_FILE_OPEN, tr("&Open...\tCtrl+O"), QKeySequence(Qt::CTRL | Qt::Key_O));
    m_actions[ID_FILE_OPEN]->setIcon(QIcon(QStringLiteral(":/vexa/open.xpm")));
    m_actions[ID_FILE_OPEN]->setStatusTip(Prompt(IDS_PROMPT_FILE_OPEN));
    m_actions[ID_FILE_OPEN]->setToolTip(Tip(IDS_PROMPT_FILE_OPEN));
    MakeAction(ID_FILE_CLOSE, tr("&Close"));
    MakeAction(ID_APP_EXIT, tr("E&xit"));
    MakeAction(ID_VIEW_TOOLBAR, tr("&Toolbar"))->setCheckable(true);
    MakeAction(ID_VIEW_STATUS_BAR, tr("&Status Bar"))->setCheckable(true);
    m_actions[ID_VIEW_TOOLBAR]->setChecked(true);
    m_actions[ID_VIEW_STATUS_BAR]->setChecked(true);
    MakeAction(ID_HELP, tr("Help"));
    m_actions[ID_HELP]->setIcon(QIcon(QStringLiteral(":/vexa/help.xpm")));
    m_actions[ID_HELP]->setStatusTip(Prompt(IDS_PROMPT_HELP));
    m_actions[ID_HELP]->setToolTip(Tip(IDS_PROMPT_HELP));
    MakeAction(ID_APP_ABOUT, tr("&About VexaClient..."));
    const char *protocols[] = {"KTR40 - Generic", "KTR40 - French", "KTR40 - German", "KTR40 - Australian", "DECT/GDI", "IP"};
    for (int p = 1; p <= 6; ++p) MakeAction(ID_PROTOCOL_BASE + p, tr(protocols[p - 1]))->setCheckable(true);
    MakeAction(ID_SIGNAL_NAMES, tr("Signal Names..."));
    MakeAction(ID_INTERPRET_START, tr("&Start"));
    m_actions[ID_INTERPRET_START]->setIcon(QIcon(QStringLiteral(":/vexa/interpret.xpm")));
    m_actions[ID_INTERPRET_START]->setStatusTip(Prompt(IDS_PROMPT_INTERPRET));
    m_actions[ID_INTERPRET_START]->setToolTip(Tip(IDS_PROMPT_INTERPRET));
    MakeAction(ID_WINDOW_NEW, tr("&New Window"));
    MakeAction(ID_WINDOW_CASCADE, tr("&Cascade"));
    MakeAction(ID_WINDOW_TILE_HORZ, tr("&Tile"));
    MakeAction(ID_WINDOW_ARRANGE, tr("&Arrange Icons"));
    MakeAction(ID_COLOR_SETTINGS, tr("&Color Settings..."));
    MakeAction(ID_SAVE_CURRENT_SETTINGS, tr("Save &Current Settings"));
    // Accelerators of table 128 that no menu shows.
    MakeAction(ID_FILE_NEW, QString(), QKeySequence(Qt::CTRL | Qt::Key_N));
    MakeAction(ID_FILE_SAVE, QString(), QKeySequence(Qt::CTRL | Qt::Key_S));
    MakeAction(ID_NEXT_PANE, QString(), QKeySequence(Qt::Key_F6));
    MakeAction(ID_PREV_PANE, QString(), QKeySequence(Qt::SHIFT | Qt::Key_F6));

    auto menu = [this](const QString &title, std::initializer_list<int> items) {
        auto *m = new QMenu(title, this);
        for (int id : items) {
            if (id == 0) m->addSeparator();
            else m->addAction(m_actions[id]);
        }
        return m;
    };
    m_menu128 = {menu(tr("&File"), {ID_FILE_OPEN, 0, ID_APP_EXIT}), menu(tr("&View"), {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}),
                 menu(tr("&Help"), {ID_HELP, 0, ID_APP_ABOUT})};
    QMenu *protocol = menu(tr("&Protocol"), {});
    QMenu *euroIsdn = protocol->addMenu(tr("KTR40 - EuroISDN"));
    for (int p = 1; p <= 4; ++p) euroIsdn->addAction(m_actions[ID_PROTOCOL_BASE + p]);
    protocol->addAction(m_actions[ID_PROTOCOL_BASE + 5]);
    protocol->addAction(m_actions[ID_PROTOCOL_BASE + 6]);
    protocol->addSeparator();
    protocol->addAction(m_actions[ID_SIGNAL_NAMES]);
    connect(protocol, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    m_menu129 = {menu(tr("&File"), {ID_FILE_OPEN, ID_FILE_CLOSE, 0, ID_APP_EXIT}),
                 protocol,
                 menu(tr("&Interpret"), {ID_INTERPRET_START}),
                 menu(tr("&View"), {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}),
                 menu(tr("&Window"), {ID_WINDOW_NEW, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE}),
                 menu(tr("&Options"), {ID_COLOR_SETTINGS, ID_SAVE_CURRENT_SETTINGS}),
                 menu(tr("&Help"), {ID_HELP, 0, ID_APP_ABOUT})};
}

void CMainFrame::ShowMenu(bool documentActive) {
    menuBar()->clear();
    for (QMenu *m : documentActive ? m_menu129 : m_menu128) menuBar()->addMenu(m);
    m_actions[ID_INTERPRET_START]->setEnabled(documentActive);
    UpdateCommandStates();
}

void CMainFrame::UpdateCommandStates() {
    CChildFrame *frame = ActiveChildFrame();
    const int protocol = frame ? frame->Document().m_nProtocol : 0;
    for (int p = 1; p <= 6; ++p) m_actions[ID_PROTOCOL_BASE + p]->setChecked(p == protocol);
}

void CMainFrame::AddChildFrame(CChildFrame *frame) {
    m_mdiArea->addSubWindow(frame);
    frame->ActivateFrame();
}

CChildFrame *CMainFrame::ActiveChildFrame() const {
    QMdiSubWindow *window = m_mdiArea->activeSubWindow();
    if (!window && !m_mdiArea->subWindowList().isEmpty()) window = m_mdiArea->currentSubWindow();
    return dynamic_cast<CChildFrame *>(window);
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow *window) {
    auto *frame = dynamic_cast<CChildFrame *>(window);
    ShowMenu(frame != nullptr);
    if (frame) {
        frame->TraceView()->ShowProtocolInStatusBar();
        setWindowTitle(Text(IDS_MAINFRAME) + " - " + frame->windowTitle());
    } else if (m_mdiArea->subWindowList().isEmpty()) {
        setWindowTitle(Text(IDS_MAINFRAME));
        SetProtocolText(QString());
    }
}

void CMainFrame::SetProtocolText(const QString &text) { m_protocolPane->setText(text); }

QString CMainFrame::ProtocolText() const { return m_protocolPane->text(); }

void CMainFrame::OnCommand(int id) {
    CChildFrame *frame = ActiveChildFrame();
    switch (id) {
    case ID_FILE_OPEN: m_app.OnFileOpen(); return;
    case ID_FILE_NEW: return;  // a trace document is never created empty
    case ID_FILE_SAVE:
        // The trace is never written; the interpretation is kept with Save in its own menu.
        statusBar()->showMessage(tr("Traces are never written. To keep the interpretation, choose Save in the "
                                    "result text's menu."),
                                 5000);
        return;
    case ID_FILE_CLOSE:
        if (frame) frame->close();
        return;
    case ID_APP_EXIT: close(); return;
    case ID_VIEW_TOOLBAR: m_toolBar->setVisible(m_actions[id]->isChecked()); return;
    case ID_VIEW_STATUS_BAR: statusBar()->setVisible(m_actions[id]->isChecked()); return;
    case ID_APP_ABOUT: m_app.OnAppAbout(); return;
    case ID_WINDOW_NEW:
        if (frame) m_app.NewWindow(frame->Document());
        return;
    case ID_WINDOW_CASCADE: m_mdiArea->cascadeSubWindows(); return;
    case ID_WINDOW_TILE_HORZ: m_mdiArea->tileSubWindows(); return;
    case ID_WINDOW_ARRANGE: ArrangeIcons(); return;
    case ID_NEXT_PANE: CyclePane(true); return;
    case ID_PREV_PANE: CyclePane(false); return;
    default: break;
    }
    // The document's commands go to the trace view of the active window; Help goes there
    // too and otherwise to the application.
    if (frame) {
        frame->TraceView()->OnCommand(id);
        UpdateCommandStates();
    } else if (id == ID_HELP) {
        m_app.OnHelp();
    }
}

// Lines up the minimised trace windows along the bottom of the client area.
void CMainFrame::ArrangeIcons() {
    int x = 0;
    for (QMdiSubWindow *window : m_mdiArea->subWindowList()) {
        if (!window->isMinimized()) continue;
        window->move(x, m_mdiArea->viewport()->height() - window->height());
        x += window->width();
    }
}

// F6 and Shift+F6: the next or previous pane of the active window.
void CMainFrame::CyclePane(bool forward) {
    CChildFrame *frame = ActiveChildFrame();
    if (frame) frame->CyclePane(forward);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent *event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent *event) {
    OpenDroppedFiles(event->mimeData()->urls());
    event->acceptProposedAction();
}

void CMainFrame::OpenDroppedFiles(const QList<QUrl> &urls) {
    m_bInterpretOnOpen = true;
    activateWindow();
    for (const QUrl &url : urls) {
        if (url.isLocalFile()) m_app.OpenDocumentFile(url.toLocalFile());
    }
}

bool CMainFrame::event(QEvent *event) {
    // An empty message pane reads "Ready".
    if (event->type() == QEvent::StatusTip && static_cast<QStatusTipEvent *>(event)->tip().isEmpty()) {
        statusBar()->showMessage(Text(IDS_READY));
        return true;
    }
    return QMainWindow::event(event);
}

}  // namespace vexa
