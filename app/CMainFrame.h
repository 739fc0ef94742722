// The main window: the trace windows in its client area, the menus (128 while no trace is
// open, 129 while one is active), the accelerators, the tool bar, the status bar with the
// protocol pane, and the files dropped onto it.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QUrl>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace vexa {

class CVexaClientApp;
class CChildFrame;
class CVexaClientView;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(CVexaClientApp &app);
    ~CMainFrame() override;

    // Opening a trace starts its interpretation at once while this is set.
    bool m_bInterpretOnOpen = false;

    void AddChildFrame(CChildFrame *frame);
    CChildFrame *ActiveChildFrame() const;
    // The text of the protocol pane (pane 1).
    void SetProtocolText(const QString &text);
    QString ProtocolText() const;
    // Files dropped onto the window: each opens and is interpreted at once, and so is
    // every trace opened afterwards.
    void OpenDroppedFiles(const QList<QUrl> &urls);
    // Runs a command by its id, as a menu item, an accelerator or a tool bar button does.
    void OnCommand(int id);
    // The action of a command id (for the tests and the screenshots).
    QAction *Action(int id) const { return m_actions.value(id); }
    QMdiArea *MdiArea() const { return m_mdiArea; }
    QToolBar *ToolBar() const { return m_toolBar; }
    // The Window menu lists the open trace windows below its commands.
    void UpdateWindowMenu();
    QMenu *WindowMenu() const { return m_windowMenu; }
    // The CAP, NUM and SCRL panes show the lock keys as they stand. The state comes from
    // the keyboard's lights where the system shows them (ledFolder, normally
    // /sys/class/leds), else from the modifiers of the last key event.
    void UpdateLockKeys();
    // The File menu's list of the traces opened last, newest first.
    void SetRecentFiles(const QStringList &paths);
    QStringList RecentFileItems() const;
    // The pane that says how the active window's list is narrowed; hidden while it shows all.
    QString NarrowingText() const;
    void UpdateNarrowing();
    // Ctrl+G: the signal of a sequence number or a time, in the active window's list.
    // The text is asked for unless given.
    bool GoToSignal(const QString &numberOrTime = QString());
    // The ladder diagram of the call of a trace window's list row (View > Call Flow,
    // Ctrl+L, the list's Call Flow); a message in the status bar where there is none.
    bool OpenCallFlow(CChildFrame *frame, int row);
    void SetLedFolder(const QString &folder) { m_ledFolder = folder; }
    QString LockPaneText(const char *lock) const;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *MakeAction(int id, const QString &text, const QKeySequence &keys = {});
    void BuildMenus();
    void ShowMenu(bool documentActive);
    void OnSubWindowActivated(QMdiSubWindow *window);
    void ArrangeIcons();
    void CyclePane(bool forward);
    void UpdateCommandStates();

    CVexaClientApp &m_app;
    QMdiArea *m_mdiArea = nullptr;
    QToolBar *m_toolBar = nullptr;
    QLabel *m_protocolPane = nullptr;
    QHash<int, QAction *> m_actions;
    QList<QMenu *> m_menu128;
    QList<QMenu *> m_menu129;
    QMenu *m_windowMenu = nullptr;
    QList<QMenu *> m_fileMenus;
    QList<QAction *> m_recentItems;
    QLabel *m_narrowingPane = nullptr;
    QList<QAction *> m_windowItems;
    QString m_ledFolder = QStringLiteral("/sys/class/leds");
    // Caps Lock and Num Lock as the last key event's modifiers told; -1 while unknown.
    int m_capsFromKeys = -1;
    int m_numFromKeys = -1;
    int m_capsAtPress = 0;
    int m_numAtPress = 0;
};

}  // namespace vexa
