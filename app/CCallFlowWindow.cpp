#include "CCallFlowWindow.h"

#include <QFileDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <fstream>

namespace vexa {

namespace {

using L = FlowLayout;

QColor ToColor(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

}  // namespace

CCallFlowView::CCallFlowView(QWidget *parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    verticalScrollBar()->setSingleStep(L::kRowHeight);
}

void CCallFlowView::SetFlow(CallFlow flow, FlowColors colors) {
    m_flow = std::move(flow);
    m_colors = colors;
    m_current = -1;
    UpdateScrollBars();
    viewport()->update();
}

void CCallFlowView::UpdateScrollBars() {
    const QSize page = viewport()->size();
    verticalScrollBar()->setPageStep(std::max(L::kRowHeight, page.height() - L::kRowHeight));
    verticalScrollBar()->setRange(0, std::max(0, L::Height(m_flow) - page.height()));
    horizontalScrollBar()->setPageStep(page.width());
    horizontalScrollBar()->setRange(0, std::max(0, L::Width(m_flow) - page.width()));
}

void CCallFlowView::resizeEvent(QResizeEvent *event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

QRect CCallFlowView::ArrowRect(int arrow) const {
    const int y = L::ArrowY(arrow) - L::kRowHeight / 2 - verticalScrollBar()->value();
    return QRect(-horizontalScrollBar()->value(), y, L::Width(m_flow), L::kRowHeight);
}

int CCallFlowView::ArrowAt(QPoint point) const {
    const int y = point.y() + verticalScrollBar()->value() - (L::ArrowY(0) - L::kRowHeight / 2);
    if (y < 0) return -1;
    const int arrow = y / L::kRowHeight;
    return arrow < static_cast<int>(m_flow.arrows.size()) ? arrow : -1;
}

void CCallFlowView::SetCurrentArrow(int arrow) {
    if (m_flow.arrows.empty()) return;
    arrow = std::clamp(arrow, 0, static_cast<int>(m_flow.arrows.size()) - 1);
    m_current = arrow;
    const QRect r = ArrowRect(arrow);
    QScrollBar *v = verticalScrollBar();
    // The first arrow brings back the top of the diagram; the others show just below the
    // side names or at the bottom.
    if (arrow == 0) v->setValue(0);
    else if (r.top() < L::kHeader) v->setValue(v->value() + r.top() - L::kHeader);
    else if (r.bottom() > viewport()->height()) v->setValue(v->value() + r.bottom() - viewport()->height());
    viewport()->update();
    const FlowMessage &m = m_flow.arrows[static_cast<size_t>(arrow)];
    emit ArrowActivated(m.sequence, m.index);
}

void CCallFlowView::mousePressEvent(QMouseEvent *event) {
    const int arrow = ArrowAt(event->position().toPoint());
    if (arrow >= 0) SetCurrentArrow(arrow);
}

void CCallFlowView::keyPressEvent(QKeyEvent *event) {
    const int rowsPerPage = std::max(1, viewport()->height() / L::kRowHeight - 2);
    const int last = static_cast<int>(m_flow.arrows.size()) - 1;
    int to = m_current;
    switch (event->key()) {
    case Qt::Key_Down: to = m_current < 0 ? 0 : m_current + 1; break;
    case Qt::Key_Up: to = m_current < 0 ? 0 : m_current - 1; break;
    case Qt::Key_Home: to = 0; break;
    case Qt::Key_End: to = last; break;
    case Qt::Key_PageDown: to = m_current + rowsPerPage; break;
    case Qt::Key_PageUp: to = m_current - rowsPerPage; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: to = std::max(0, m_current); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    SetCurrentArrow(to);
}

void CCallFlowView::Draw(QPainter &p, int first, int last, int top, int height, bool withCurrent) const {
    p.setRenderHint(QPainter::Antialiasing);
    // The side columns with their names stay at the top of every page and of the view.
    p.setPen(QColor(128, 128, 128));
    for (size_t c = 0; c < m_flow.sides.size(); ++c) {
        const int x = L::ColumnX(static_cast<int>(c));
        p.drawLine(x, L::kHeader - 10, x, height);
    }
    for (int a = first; a <= last; ++a) {
        const FlowMessage &m = m_flow.arrows[static_cast<size_t>(a)];
        const int y = L::ArrowY(a) - top;
        if (withCurrent && a == m_current)
            p.fillRect(QRect(0, y - L::kRowHeight / 2, L::Width(m_flow), L::kRowHeight), QColor(220, 230, 250));
        const QColor color = ToColor(!m.valid ? m_colors.invalid : m.Outgoing() ? m_colors.outgoing : m_colors.incoming);
        const int x1 = L::ColumnX(m_flow.SideColumn(m.from)), x2 = L::ColumnX(m_flow.SideColumn(m.to));
        p.setPen(Qt::black);
        p.drawText(4, y + 4, QString::fromStdString(m.time));
        if (!m.valid) {
            p.setPen(color);
            p.drawText(L::kInvalidMarkX, y + 4, QStringLiteral("!!!"));
        }
        p.setPen(QPen(color, 1.5));
        p.drawLine(x1, y, x2, y);
        const int head = x2 >= x1 ? -8 : 8;
        p.setBrush(color);
        const QPoint points[3] = {{x2, y}, {x2 + head, y - 4}, {x2 + head, y + 4}};
        p.drawPolygon(points, 3);
        const QString label = QString::fromStdString(ArrowLabel(m));
        const int w = p.fontMetrics().horizontalAdvance(label);
        p.drawText((x1 + x2) / 2 - w / 2, y - 5, label);
    }
    p.fillRect(QRect(0, 0, L::Width(m_flow), L::kHeader - 12), Qt::white);
    p.setPen(Qt::black);
    QFont bold = p.font();
    bold.setBold(true);
    p.setFont(bold);
    for (size_t c = 0; c < m_flow.sides.size(); ++c) {
        const QString side = QString::fromStdString(m_flow.sides[c]);
        const int x = L::ColumnX(static_cast<int>(c));
        p.drawText(x - p.fontMetrics().horizontalAdvance(side) / 2, 24, side);
    }
}

void CCallFlowView::paintEvent(QPaintEvent *) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), Qt::white);
    p.translate(-horizontalScrollBar()->value(), 0);
    if (m_flow.arrows.empty() && m_flow.sides.empty()) return;
    const int top = verticalScrollBar()->value();
    const int first = std::max(0, (top - L::kRowHeight) / L::kRowHeight);
    const int last = std::min(static_cast<int>(m_flow.arrows.size()) - 1,
                              (top + viewport()->height()) / L::kRowHeight + 1);
    Draw(p, first, last, top, viewport()->height(), true);
}

bool CCallFlowView::SaveSvg(const QString &path) const {
    std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    WriteCallFlowSvg(m_flow, m_colors, out);
    out.close();
    return static_cast<bool>(out);
}

bool CCallFlowView::SavePng(const QString &path) const {
    const int height = std::min(L::Height(m_flow), 32000);  // a picture's height has its limits
    QImage image(L::Width(m_flow), height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    const int last = std::min(static_cast<int>(m_flow.arrows.size()) - 1, (height - L::kHeader) / L::kRowHeight);
    Draw(p, 0, last, 0, height, false);
    p.end();
    return image.save(path, "PNG");
}

int CCallFlowView::Print(QPrinter &printer) const {
    QPainter p;
    if (!p.begin(&printer)) return 0;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    // The diagram, laid out in the screen's pixels, is scaled to the page's width whatever
    // the printer's resolution; its texts are sized in those pixels too, so that they scale
    // with the lines. Each page repeats the side names.
    const double scale = page.width() / static_cast<double>(std::max(1, L::Width(m_flow)));
    QFont text = font();
    text.setPixelSize(QFontInfo(font()).pixelSize());
    p.setFont(text);
    const int rowsPerPage = std::max(1, static_cast<int>((page.height() / scale - L::kHeader - 20) / L::kRowHeight));
    const int count = static_cast<int>(m_flow.arrows.size());
    int pages = 0;
    for (int first = 0; first < std::max(count, 1); first += rowsPerPage) {
        if (pages++ > 0) printer.newPage();
        p.save();
        p.scale(scale, scale);
        const int last = std::min(count, first + rowsPerPage) - 1;
        Draw(p, first, last, first * L::kRowHeight, static_cast<int>(page.height() / scale), false);
        p.restore();
    }
    p.end();
    return pages;
}

CCallFlowWindow::CCallFlowWindow(QWidget *parent) : QWidget(parent, Qt::Window), m_view(new CCallFlowView(this)) {
    setWindowTitle(tr("Call Flow"));
    auto *buttons = new QHBoxLayout;
    auto *save = new QPushButton(tr("&Save As..."), this);
    auto *print = new QPushButton(tr("&Print..."), this);
    buttons->addWidget(save);
    buttons->addWidget(print);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_view);
    connect(save, &QPushButton::clicked, this, &CCallFlowWindow::OnSaveAs);
    connect(print, &QPushButton::clicked, this, &CCallFlowWindow::OnPrintPreview);
    connect(m_view, &CCallFlowView::ArrowActivated, this, &CCallFlowWindow::ArrowActivated);
    resize(720, 560);
}

void CCallFlowWindow::SetFlow(CallFlow flow, FlowColors colors) {
    setWindowTitle(tr("Call Flow - %1").arg(QString::fromStdString(flow.title)));
    m_view->SetFlow(std::move(flow), colors);
    m_view->setFocus();
}

void CCallFlowWindow::OnSaveAs() {
    QString filter;
    const QString path = QFileDialog::getSaveFileName(this, tr("Save Call Flow"), QString(),
                                                      tr("SVG picture (*.svg);;PNG picture (*.png)"), &filter);
    if (path.isEmpty()) return;
    const bool png = path.endsWith(".png", Qt::CaseInsensitive) || filter.contains("png");
    if (!(png ? m_view->SavePng(path) : m_view->SaveSvg(path)))
        QMessageBox::critical(this, tr("Vexa"), tr("%1 cannot be written.").arg(path));
}

void CCallFlowWindow::OnPrintPreview() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *p) { m_view->Print(*p); });
    preview.exec();
}

}  // namespace vexa
