#include "CMainFrame.h"

#include "CChildFrame.h"
#include "CVexaClientApp.h"
#include "CallFlowCommands.h"
#include "CListCtrlEx.h"
#include "CVexaClientView.h"
#include "CVexaEditView.h"
#include "CVexaListView.h"
#include "CVexaMdiEditView.h"
#include "CommandIds.h"
#include "QtPlatform.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

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

    // While the list is narrowed, a pane before the others says how.
    m_narrowingPane = new QLabel(this);
    m_narrowingPane->setObjectName(QStringLiteral("narrowing"));
    m_narrowingPane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_narrowingPane->hide();
    statusBar()->addPermanentWidget(m_narrowingPane);
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

    // The lock keys: every key event tells Caps Lock and Num Lock; the lights are looked
    // at now and then, since a lock key pressed in another program sends us nothing.
    qApp->installEventFilter(this);
    auto *lockTimer = new QTimer(this);
    connect(lockTimer, &QTimer::timeout, this, &CMainFrame::UpdateLockKeys);
    lockTimer->start(500);
    UpdateLockKeys();
}

// The trace windows close with the main window; their going must not reach the menus of a
// main window that is itself going.
CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    disconnect(m_mdiArea, nullptr, this, nullptr);
}

namespace {

// The brightness of the keyboard lights named "...::<name>" (one per keyboard): on when
// any is lit; -1 when the system shows none.
int LedState(const QString &folder, const QString &name) {
    const QStringList leds = QDir(folder).entryList({QStringLiteral("*::") + name}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    if (leds.isEmpty()) return -1;
    int state = 0;
    for (const QString &led : leds) {
        QFile file(folder + '/' + led + QStringLiteral("/brightness"));
        if (file.open(QIODevice::ReadOnly) && file.readAll().trimmed().toInt() > 0) state = 1;
    }
    return state;
}

}  // namespace

void CMainFrame::UpdateLockKeys() {
    int caps = LedState(m_ledFolder, QStringLiteral("capslock"));
    int num = LedState(m_ledFolder, QStringLiteral("numlock"));
    const int scroll = LedState(m_ledFolder, QStringLiteral("scrolllock"));
    if (caps < 0) caps = m_capsFromKeys;
    if (num < 0) num = m_numFromKeys;
    const std::pair<const char *, int> states[] = {{"CAP", caps}, {"NUM", num}, {"SCRL", scroll}};
    for (const auto &[lock, on] : states)
        if (auto *pane = findChild<QLabel *>(QLatin1String(lock))) pane->setText(on > 0 ? QLatin1String(lock) : QString());
}

QString CMainFrame::LockPaneText(const char *lock) const {
    auto *pane = findChild<QLabel *>(QLatin1String(lock));
    return pane ? pane->text() : QString();
}

bool CMainFrame::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // The modifier state of the window system's key event: Lock (Caps Lock) and Mod2
        // (Num Lock).
        const quint32 native = key->nativeModifiers();
        const bool press = event->type() == QEvent::KeyPress;
        if (native != 0 || key->nativeScanCode() != 0) {
            // A lock key's own events tell the state before the key: the lock turns to the
            // other state of the one its press saw.
            if (key->key() == Qt::Key_CapsLock) {
                if (press) m_capsAtPress = (native & 0x02) ? 1 : 0;
                else m_capsFromKeys = !m_capsAtPress;
            } else if (key->key() == Qt::Key_NumLock) {
                if (press) m_numAtPress = (native & 0x10) ? 1 : 0;
                else m_numFromKeys = !m_numAtPress;
            } else {
                m_capsFromKeys = (native & 0x02) ? 1 : 0;
                m_numFromKeys = (native & 0x10) ? 1 : 0;
            }
        }
        UpdateLockKeys();
    }
    return QMainWindow::eventFilter(watched, event);
}

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
    MakeAction(ID_FILE_CLOSE, tr("&Close\tCtrl+W"), QKeySequence(Qt::CTRL | Qt::Key_W));
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
    MakeAction(ID_INTERPRET_START, tr("&Start\tF5"), QKeySequence(Qt::Key_F5));
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
    MakeAction(ID_GOTO_SIGNAL, tr("&Go To Signal...\tCtrl+G"), QKeySequence(Qt::CTRL | Qt::Key_G));
    // Ctrl+F itself is the text pane's own key; the item reaches the bar with the mouse.
    MakeAction(ID_FIND_TEXT, tr("&Find...\tCtrl+F"));
    // Ctrl+C is each pane's own key as well; the item copies with the mouse.
    MakeAction(ID_EDIT_COPY, tr("&Copy\tCtrl+C"));
    MakeAction(ID_PREV_PANE, QString(), QKeySequence(Qt::SHIFT | Qt::Key_F6));
    MakeAction(ID_VIEW_CALL_FLOW, tr("Call &Flow\tCtrl+L"), QKeySequence(Qt::CTRL | Qt::Key_L));
    MakeAction(ID_VIEW_SUMMARY, tr("S&ummary"));

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
                 menu(tr("&Interpret"), {ID_INTERPRET_START, 0, ID_GOTO_SIGNAL, ID_FIND_TEXT, ID_EDIT_COPY}),
                 menu(tr("&View"), {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, 0, ID_VIEW_CALL_FLOW, ID_VIEW_SUMMARY}),
                 m_windowMenu = menu(tr("&Window"), {ID_WINDOW_NEW, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE}),
                 menu(tr("&Options"), {ID_COLOR_SETTINGS, ID_SAVE_CURRENT_SETTINGS}),
                 menu(tr("&Help"), {ID_HELP, 0, ID_APP_ABOUT})};
}

void CMainFrame::SetRecentFiles(const QStringList &paths) {
    if (m_fileMenus.isEmpty()) m_fileMenus = {m_menu128.front(), m_menu129.front()};
    for (QAction *item : m_recentItems) {
        for (QMenu *file : m_fileMenus) file->removeAction(item);
        item->deleteLater();
    }
    m_recentItems.clear();
    if (paths.isEmpty()) return;
    for (QMenu *file : m_fileMenus) {
        // Before the separator above Exit, with a separator of their own.
        QAction *before = nullptr;
        const QList<QAction *> items = file->actions();
        for (int i = 1; i < items.size(); ++i)
            if (items[i] == m_actions[ID_APP_EXIT]) before = items[i - 1];
        for (int i = 0; i < paths.size(); ++i) {
            const QString path = paths[i];
            const QString shown = QDir::toNativeSeparators(QDir(QDir::homePath()).relativeFilePath(path).startsWith("..")
                                                               ? path
                                                               : QStringLiteral("~/") + QDir(QDir::homePath()).relativeFilePath(path));
            auto *item = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), this);
            item->setData(ID_FILE_MRU_FIRST + i);
            item->setStatusTip(path);
            connect(item, &QAction::triggered, this, [this, path] { m_app.OpenDocumentFile(path); });
            file->insertAction(before, item);
            m_recentItems << item;
        }
        auto *separator = new QAction(this);
        separator->setSeparator(true);
        file->insertAction(before, separator);
        m_recentItems << separator;
    }
}

QStringList CMainFrame::RecentFileItems() const {
    QStringList items;
    for (QAction *a : m_menu129.front()->actions())
        if (m_recentItems.contains(a) && !a->isSeparator()) items << a->text();
    return items;
}

QString CMainFrame::NarrowingText() const { return m_narrowingPane->isVisibleTo(this) ? m_narrowingPane->text() : QString(); }

void CMainFrame::UpdateNarrowing() {
    CChildFrame *frame = ActiveChildFrame();
    const QString text =
        frame && frame->ResultsFrame() ? frame->ResultsFrame()->ListView()->ListCtrl().Narrowing() : QString();
    m_narrowingPane->setText(text);
    m_narrowingPane->setVisible(!text.isEmpty());
}

bool CMainFrame::GoToSignal(const QString &numberOrTime) {
    CChildFrame *frame = ActiveChildFrame();
    if (!frame || !frame->ResultsFrame()) return false;
    CListCtrlEx &list = frame->ResultsFrame()->ListView()->ListCtrl();
    QString wanted = numberOrTime.trimmed();
    if (wanted.isEmpty()) {
        bool ok = false;
        wanted = QInputDialog::getText(this, tr("Go To Signal"),
                                       tr("Sequence number (42) or time (09.41.07):"), QLineEdit::Normal, QString(), &ok)
                     .trimmed();
        if (!ok || wanted.isEmpty()) return false;
    }
    // A number names a sequence number; anything else the start of a time, or the first
    // signal after it.
    bool isNumber = false;
    const int number = wanted.toInt(&isNumber);
    const int rows = list.GetItemCount();
    int found = -1;
    const int start = std::max(0, list.GetFirstSelectedRow() + 1);
    for (int k = 0; k < rows && found < 0; ++k) {
        const int row = (start + k) % rows;  // the next one after the selected row
        if (isNumber ? list.GetItemText(row, 0).trimmed().toInt() == number : list.GetItemText(row, 3).startsWith(wanted))
            found = row;
    }
    if (found < 0 && !isNumber) {
        for (int row = 0; row < rows && found < 0; ++row)
            if (list.GetItemText(row, 3) >= wanted) found = row;
    }
    if (found < 0) {
        statusBar()->showMessage(tr("No signal %1 in the list").arg(wanted), 5000);
        return false;
    }
    list.SelectRow(found);
    list.scrollTo(list.model()->index(found, 0));
    list.OnListCommand(ID_LIST_GOTO);
    list.setFocus(Qt::ShortcutFocusReason);
    return true;
}

bool CMainFrame::OpenCallFlow(CChildFrame *frame, int row) {
    if (!frame || !frame->ResultsFrame()) return false;
    CListCtrlEx &list = frame->ResultsFrame()->ListView()->ListCtrl();
    if (row < 0) {
        statusBar()->showMessage(tr("Select a signal in the list to see its call"), 5000);
        return false;
    }
    if (!ShowCallFlow(frame, frame->Document(), list, row, m_app.Settings())) {
        statusBar()->showMessage(tr("No call is known for this signal"), 5000);
        return false;
    }
    return true;
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
    if (frame->ResultsFrame()) {
        CListCtrlEx &list = frame->ResultsFrame()->ListView()->ListCtrl();
        connect(&list, &CListCtrlEx::NarrowingChanged, this, &CMainFrame::UpdateNarrowing);
        QPointer<CChildFrame> owner = frame;
        connect(&list, &CListCtrlEx::CallFlowRequested, this, [this, owner](int row) {
            if (owner) OpenCallFlow(owner, row);
        });
    }
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
    // The caption is the program's name; the maximised trace window adds " - [its title]".
    if (frame) {
        if (frame->TraceView()) frame->TraceView()->ShowProtocolInStatusBar();
    } else if (m_mdiArea->subWindowList().isEmpty()) {
        setWindowTitle(Text(IDS_MAINFRAME));
        SetProtocolText(QString());
    }
    UpdateWindowMenu();
    UpdateNarrowing();
}

// The pane is 100 pixels wide, wider where a protocol's name needs it.
void CMainFrame::SetProtocolText(const QString &text) {
    m_protocolPane->setText(text);
    const int margins = 2 * m_protocolPane->frameWidth() + 2 * m_protocolPane->margin() + 8;
    m_protocolPane->setFixedWidth(std::max(100, m_protocolPane->fontMetrics().horizontalAdvance(text) + margins));
}

void CMainFrame::UpdateWindowMenu() {
    if (!m_windowMenu) return;
    for (QAction *item : m_windowItems) {
        m_windowMenu->removeAction(item);
        item->deleteLater();
    }
    m_windowItems.clear();
    const QList<QMdiSubWindow *> windows = m_mdiArea->subWindowList();
    if (windows.isEmpty()) return;
    m_windowItems << m_windowMenu->addSeparator();
    int number = 0;
    for (QMdiSubWindow *window : windows) {
        if (!window->widget()) continue;  // closed, and about to go
        ++number;
        QAction *item = m_windowMenu->addAction(
            number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(window->windowTitle())
                        : QStringLiteral("%1 %2").arg(number).arg(window->windowTitle()));
        item->setCheckable(true);
        item->setChecked(window == m_mdiArea->activeSubWindow());
        QPointer<QMdiSubWindow> target = window;
        connect(item, &QAction::triggered, this, [this, target] {
            if (target) m_mdiArea->setActiveSubWindow(target);
        });
        m_windowItems << item;
    }
}

QString CMainFrame::ProtocolText() const { return m_protocolPane->text(); }

void CMainFrame::OnCommand(int id) {
    CChildFrame *frame = ActiveChildFrame();
    switch (id) {
    case ID_FILE_OPEN: m_app.OnFileOpen(); return;
    case ID_FILE_NEW: return;  // a trace document is never created empty
    case ID_FILE_SAVE:
        // The trace is never written: Ctrl+S saves the interpretation, as the result
        // text's Save does.
        if (frame && frame->ResultsFrame()) frame->ResultsFrame()->EditView()->SaveResults();
        return;
    case ID_GOTO_SIGNAL: GoToSignal(); return;
    case ID_VIEW_CALL_FLOW:
        if (frame && frame->ResultsFrame()) OpenCallFlow(frame, frame->ResultsFrame()->ListView()->ListCtrl().GetFirstSelectedRow());
        return;
    case ID_VIEW_SUMMARY:
        if (frame && frame->ResultsFrame() &&
            !ShowSummary(frame, frame->Document(), frame->ResultsFrame()->ListView()->ListCtrl()))
            statusBar()->showMessage(tr("Interpret the trace first"), 5000);
        return;
    case ID_FIND_TEXT:
        if (frame && frame->TraceView()) {
            CVexaClientView *trace = frame->TraceView();
            const bool inTrace = trace->hasFocus() || trace->isAncestorOf(QApplication::focusWidget());
            if (inTrace) trace->ShowFindBar();
            else frame->ResultsFrame()->EditView()->ShowFindBar();
        }
        return;
    case ID_EDIT_COPY:
        // From the pane in use: the trace's or the result text's selection, or the list's
        // selected row with the headings.
        if (frame && frame->TraceView() && frame->ResultsFrame()) {
            QWidget *focus = QApplication::focusWidget();
            CVexaClientView *trace = frame->TraceView();
            CListCtrlEx &list = frame->ResultsFrame()->ListView()->ListCtrl();
            if (focus && (focus == trace || trace->isAncestorOf(focus))) trace->CopySelection();
            else if (focus && (focus == &list || list.isAncestorOf(focus))) list.CopyRows(false);
            else frame->ResultsFrame()->EditView()->CopySelection();
        }
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
