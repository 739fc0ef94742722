#include "CZoomView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

using vexa::ContentSize;

CZoomView::CZoomView(QWidget *parent) : QAbstractScrollArea(parent) {
    // The client area shows the standard arrow cursor, on the window's white ground.
    viewport()->setCursor(Qt::ArrowCursor);
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(palette);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    // A click or Tab gives the view the keyboard, for its scrolling keys.
    setFocusPolicy(Qt::StrongFocus);

    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(Qt::Horizontal, action); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(Qt::Vertical, action); });
}

CZoomView::~CZoomView() = default;

void CZoomView::SetContentSizes(ContentSize total, ContentSize page, ContentSize line) {
    m_totalLog = total;
    // One logical unit is one pixel, so the device size is the logical size.
    m_totalDev = total;
    m_pageLog = page;
    m_lineLog = line;

    m_pageDev = {page.cx, std::abs(page.cy)};
    m_lineDev = {line.cx, std::abs(line.cy)};
    // A step of 0 is derived: the page from the content, then the line from the page.
    if (m_pageDev.cx == 0) m_pageDev.cx = m_totalDev.cx / 10;
    if (m_pageDev.cy == 0) m_pageDev.cy = m_totalDev.cy / 10;
    if (m_lineDev.cx == 0) m_lineDev.cx = m_pageDev.cx / 10;
    if (m_lineDev.cy == 0) m_lineDev.cy = m_pageDev.cy / 10;
    m_bSizesSet = true;

    UpdateBars();
    viewport()->update();
}

void CZoomView::UpdateBars() {
    const QSize client = viewport()->size();
    QScrollBar *h = horizontalScrollBar();
    QScrollBar *v = verticalScrollBar();
    // The bars' own page step sizes the thumb (the window's share of the content); the
    // amounts of page and line clicks are applied in OnScrollAction.
    h->setRange(0, std::max(0, m_totalDev.cx - client.width()));
    h->setPageStep(std::max(1, client.width()));
    h->setSingleStep(std::max(1, HorizontalLineScroll()));
    v->setRange(0, std::max(0, m_totalDev.cy - client.height()));
    v->setPageStep(std::max(1, client.height()));
    v->setSingleStep(std::max(1, VerticalLineScroll()));
}

void CZoomView::OnScrollAction(Qt::Orientation orientation, int action) {
    const bool horizontal = orientation == Qt::Horizontal;
    QScrollBar *bar = horizontal ? horizontalScrollBar() : verticalScrollBar();
    int amount = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        amount = horizontal ? HorizontalLineScroll() : VerticalLineScroll();
        break;
    case QAbstractSlider::SliderSingleStepSub:
        amount = -(horizontal ? HorizontalLineScroll() : VerticalLineScroll());
        break;
    case QAbstractSlider::SliderPageStepAdd:
        amount = horizontal ? HorizontalPageScroll() : VerticalPageScroll();
        break;
    case QAbstractSlider::SliderPageStepSub:
        amount = -(horizontal ? HorizontalPageScroll() : VerticalPageScroll());
        break;
    default:
        return;  // dragging, top, bottom: the bar's own handling
    }
    // The bar has not yet taken its new value: value() is still the position before the click.
    const long long target = static_cast<long long>(bar->value()) + amount;
    bar->setSliderPosition(static_cast<int>(std::clamp<long long>(target, bar->minimum(), bar->maximum())));
}

QPoint CZoomView::GetDeviceScrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CZoomView::ScrollToPosition(QPoint pt) {
    horizontalScrollBar()->setValue(pt.x());
    verticalScrollBar()->setValue(pt.y());
}

QPoint CZoomView::ContentOrigin() const {
    QPoint origin = -GetDeviceScrollPosition();
    if (m_bCenter) {
        const QRect client = viewport()->rect();
        if (m_totalDev.cx < client.width()) origin.setX((client.right() + 1 - m_totalDev.cx - client.left()) / 2);
        if (m_totalDev.cy < client.height()) origin.setY((client.bottom() + 1 - m_totalDev.cy - client.top()) / 2);
    }
    return origin;
}

CZoomView::PrintFit CZoomView::FitToPrintable(ContentSize content, QSize printable) {
    PrintFit fit{QPoint(0, 0), printable};
    if (content.cx <= 0 || content.cy <= 0 || printable.width() <= 0 || printable.height() <= 0) return fit;
    const double r1 = static_cast<double>(content.cx) / content.cy;
    const double r2 = static_cast<double>(printable.width()) / printable.height();
    if (r1 > r2) {
        const int height = static_cast<int>(printable.width() / r1);
        fit.offset = QPoint(0, printable.height() - height);
        fit.extent.setHeight(height);
    } else if (r2 > r1) {
        const int width = static_cast<int>(printable.height() * r1);
        fit.offset = QPoint(printable.width() - width, 0);
        fit.extent.setWidth(width);
    }
    return fit;
}

void CZoomView::PrepareForPrinting(QPainter &painter, QSize printable) const {
    const PrintFit fit = FitToPrintable(m_totalLog, printable);
    painter.setWindow(0, 0, std::max(1, m_totalLog.cx), std::max(1, m_totalLog.cy));
    painter.setViewport(QRect(fit.offset, fit.extent));
}

void CZoomView::PrintFitted(QPainter &painter, QSize printable) {
    painter.save();
    PrepareForPrinting(painter, printable);
    m_bPrinting = true;
    OnDraw(painter, QRect(0, 0, m_totalLog.cx, m_totalLog.cy));
    m_bPrinting = false;
    painter.restore();
}

void CZoomView::paintEvent(QPaintEvent *event) {
    QPainter painter(viewport());
    const QPoint origin = ContentOrigin();
    painter.translate(origin);
    OnDraw(painter, event->rect().translated(-origin));
}

void CZoomView::resizeEvent(QResizeEvent *event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateBars();
    viewport()->update();
}

void CZoomView::scrollContentsBy(int, int) {
    // The origin may be centred on one axis and scrolled on the other: redraw all of it.
    viewport()->update();
}
