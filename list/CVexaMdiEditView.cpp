#include "CVexaMdiEditView.h"

#include "CVexaEditView.h"
#include "CVexaListView.h"

#include <QResizeEvent>
#include <QSplitter>
#include <QVBoxLayout>

namespace vexa {

CVexaMdiEditView::CVexaMdiEditView(CVexaClientDoc &doc, VexaSettings &settings, QWidget *parent) : QWidget(parent) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_wndSplitter = new QSplitter(Qt::Vertical, this);
    m_wndSplitter->setChildrenCollapsible(false);
    m_pEditView = new CVexaEditView(doc, settings, m_wndSplitter);
    m_pListView = new CVexaListView(doc, settings, m_wndSplitter);
    m_wndSplitter->addWidget(m_pEditView);
    m_wndSplitter->addWidget(m_pListView);
    layout->addWidget(m_wndSplitter);
}

CVexaMdiEditView::~CVexaMdiEditView() = default;

void CVexaMdiEditView::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    // The first real size splits the frame in halves, neither pane below a quarter.
    const int h = event->size().height();
    if (m_bPanesSized || h <= 0) return;
    m_bPanesSized = true;
    m_pEditView->setMinimumHeight(h / 4);
    m_pListView->setMinimumHeight(h / 4);
    m_wndSplitter->setSizes({h / 2, h / 2});
}

}  // namespace vexa
