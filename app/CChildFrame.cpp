#include "CChildFrame.h"

#include "CVexaClientApp.h"
#include "CVexaClientView.h"
#include "CVexaEditView.h"
#include "CVexaListView.h"
#include "CVexaMdiEditView.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QListView>
#include <QSplitter>

namespace vexa {

CChildFrame::CChildFrame(CVexaClientDoc &doc, VexaSettings &settings, bool firstWindow) : m_doc(doc) {
    setAttribute(Qt::WA_DeleteOnClose);
    m_wndSplitter = new QSplitter(Qt::Horizontal, this);
    m_wndSplitter->setChildrenCollapsible(false);
    // Later windows on the same document show the same trace and results; the document
    // keeps talking to the views of its first window.
    IListView *list = doc.m_pListView;
    IResultView *result = doc.m_pResultView;
    ITraceView *trace = doc.m_pTraceView;
    m_traceView = new CVexaClientView(doc, settings, m_wndSplitter);
    m_results = new CVexaMdiEditView(doc, settings, m_wndSplitter);
    if (!firstWindow) {
        doc.m_pListView = list;
        doc.m_pResultView = result;
        doc.m_pTraceView = trace;
    }
    m_wndSplitter->addWidget(m_traceView);
    m_wndSplitter->addWidget(m_results);
    setWidget(m_wndSplitter);
    m_traceView->OnInitialUpdate();
}

CChildFrame::~CChildFrame() { DestroyViews(); }

void CChildFrame::DestroyViews() {
    QSplitter *splitter = m_wndSplitter;
    if (!splitter) return;
    m_wndSplitter = nullptr;
    m_traceView = nullptr;
    m_results = nullptr;
    setWidget(nullptr);
    delete splitter;
}

void CChildFrame::RegisterViews() {
    if (!m_results) return;
    m_doc.m_pTraceView = m_traceView;
    m_doc.m_pResultView = m_results->EditView();
    m_doc.m_pListView = m_results->ListView();
}

void CChildFrame::SetTitleFromDocument(int number) {
    const QString name = QFileInfo(QString::fromStdString(m_doc.m_strTracePath)).fileName();
    setWindowTitle(number > 0 ? QStringLiteral("%1:%2").arg(name).arg(number) : name);
}

void CChildFrame::ActivateFrame() {
    showMaximized();
    setFocus();
}

// The two panes share the frame's width equally when it is first shown; each keeps at
// least a quarter of it.
void CChildFrame::showEvent(QShowEvent *event) {
    QMdiSubWindow::showEvent(event);
    if (m_splitDone || !m_wndSplitter) return;
    const int w = std::max(4, m_wndSplitter->width());
    m_traceView->setMinimumWidth(w / 4);
    m_results->setMinimumWidth(w / 4);
    m_wndSplitter->setSizes({w / 2, w / 2});
    m_splitDone = true;
}

void CChildFrame::CyclePane(bool forward) {
    if (!m_results) return;
    QList<QWidget *> panes = {m_traceView, m_results->EditView(), &m_results->ListView()->ListCtrl()};
    int current = -1;
    for (int i = 0; i < panes.size(); ++i)
        if (panes[i]->hasFocus() || panes[i]->isAncestorOf(focusWidget())) current = i;
    const int next = (current + (forward ? 1 : panes.size() - 1)) % panes.size();
    panes[current < 0 ? 0 : next]->setFocus();
}

// The document goes as soon as its last window closes, while the window itself is
// deleted only later: its views, which refer to the document, go first.
void CChildFrame::closeEvent(QCloseEvent *event) {
    QMdiSubWindow::closeEvent(event);
    if (!event->isAccepted()) return;
    DestroyViews();
    CVexaClientApp::Instance()->FrameClosed(*this);
}

}  // namespace vexa
