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

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool event(QEvent *event) override;

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
};

}  // namespace vexa
