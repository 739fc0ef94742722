// The result text view: construction, sizes, drawing, Go To, keys and the context menu.
// The commands (Save, Font, printing) are in CVexaEditViewCommands.cpp.
#include "CVexaEditView.h"

#include "CVexaClientDoc.h"
#include "CommandIds.h"
#include "QtPlatform.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStringDecoder>

#include <algorithm>
#include <climits>
#include <cstdlib>

using namespace vexa;

// The characters of a display line as Qt text: UTF-8 as the components write it, or, for
// a trace line that is not UTF-8, Latin-1. Line-feeds and carriage returns inside a line
// stand as blanks.
QString CVexaEditView::LineText(const std::string &text) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString result = utf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (utf8.hasError()) result = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    for (QChar &c : result) {
        if (c == u'\n' || c == u'\r') c = u' ';
    }
    return result;
}

CVexaEditView::CVexaEditView(CVexaClientDoc &doc, VexaSettings &settings, QWidget *parent)
    : CTextPaneView(parent), m_doc(doc), m_settings(settings) {
    m_doc.m_pResultView = this;
    OnInitialUpdate();
}

CVexaEditView::~CVexaEditView() {
    if (m_doc.m_pResultView == this) m_doc.m_pResultView = nullptr;
    void *self = static_cast<void *>(this);
    if (m_doc.m_pPreviewView == self) m_doc.m_pPreviewView = nullptr;
    if (m_doc.m_pResultPreviewView == self) m_doc.m_pResultPreviewView = nullptr;
}

void CVexaEditView::OnInitialUpdate() {
    SetContentSizes(m_doc.m_sizeResult, {}, {});

    m_screenFontRecord = m_settings.m_lfResultView;
    m_screenFont = FontFromRecord(m_screenFontRecord);
    viewport()->setFont(m_screenFont);
    m_nLineStep = m_screenFontRecord.lfHeight;

    // The printer font: the same record, 12 points high (240 twips).
    m_printerFont = m_screenFontRecord;
    m_printerFont.lfHeight = -240;
    m_printerFont.lfWidth = 0;
    m_printerFont.lfQuality = 1;

    UpdateBars();
}

void CVexaEditView::SetContentSizes(ContentSize total, ContentSize page, ContentSize line) {
    // The document calls this whenever its display lines have changed.
    m_bLayoutDirty = true;
    StartLayout();
    CZoomView::SetContentSizes(total, page, line);
    TextChanged();
}

void CVexaEditView::Repaint() {
    m_bLayoutDirty = true;
    StartLayout();
    viewport()->update();
}

void CVexaEditView::StartLayout() {
    // Below this many lines the rows are worked out when first drawn.
    constexpr size_t kLinesWorthAThread = 100000;
    const LineArray &lines = m_doc.m_DisplayLines;
    if (lines.size() < kLinesWorthAThread) return;
    if (m_doc.m_RunLayout && m_doc.m_RunLayout->Matches(lines)) return;  // the run's own
    const LinesIdentity identity = LinesIdentity::Of(lines);
    if (m_pending && m_pending->identity == identity) return;
    m_pending.reset();  // an earlier one, for lines since changed, is waited for and dropped
    PendingLayout pending;
    pending.identity = identity;
    pending.result = std::async(std::launch::async, [snapshot = lines] {
        auto layout = std::make_shared<CResultLayout>();
        layout->Build(snapshot);
        return std::shared_ptr<const CResultLayout>(std::move(layout));
    });
    m_pending = std::move(pending);
}

FontRecord CVexaEditView::GetResultFont() const { return m_screenFontRecord; }

int CVexaEditView::RowHeight() const { return std::max(1, QFontMetrics(m_screenFont, viewport()).height()); }

QColor CVexaEditView::ColourOf(LineColour colour) const {
    switch (colour) {
    case LineColour::Black: return QColor(0, 0, 0);
    case LineColour::Navy: return QColor(0, 0, 128);
    case LineColour::Red: return QColor(255, 0, 0);
    case LineColour::Blue: return QColor(0, 0, 255);
    case LineColour::Magenta: return QColor(255, 0, 255);
    case LineColour::Brown: return QColor(128, 64, 0);
    case LineColour::Incoming: return ToQColor(m_settings.m_crIncoming);
    case LineColour::Outgoing: return ToQColor(m_settings.m_crOutgoing);
    }
    return QColor(0, 0, 0);
}

void CVexaEditView::EnsureLayout() {
    const LineArray &lines = m_doc.m_DisplayLines;
    if (!m_bLayoutDirty && m_layout->Matches(lines)) return;
    m_bLayoutDirty = false;
    // The rows the run worked out as it made the lines, or those worked out meanwhile on
    // another thread, when they are of these lines; else they are worked out here.
    if (m_doc.m_RunLayout && m_doc.m_RunLayout->Matches(lines)) {
        m_layout = m_doc.m_RunLayout;
        return;
    }
    if (m_pending) {
        std::shared_ptr<const CResultLayout> done = m_pending->result.get();
        m_pending.reset();
        if (done->Matches(lines)) {
            m_layout = std::move(done);
            return;
        }
    }
    auto layout = std::make_shared<CResultLayout>();
    layout->Build(lines);
    m_layout = std::move(layout);
}

void CVexaEditView::PrepareTextRows() {
    if (m_doc.m_bTraceRecognised && !m_doc.m_DisplayLines.empty()) EnsureLayout();
}

size_t CVexaEditView::TextRowCount() const {
    if (!m_doc.m_bTraceRecognised || m_doc.m_DisplayLines.empty()) return 0;
    return m_layout->RowCount();
}

std::string_view CVexaEditView::TextRow(size_t row, std::string &scratch) const {
    scratch.clear();
    if (row >= TextRowCount()) return scratch;
    ToDisplayText(m_doc.m_DisplayLines[m_layout->RowLine(m_doc.m_DisplayLines, row)], scratch);
    DropLeadingLineFeed(scratch);
    return scratch;
}

void CVexaEditView::GrowContentSize(int rowHeight) {
    const int32_t height = m_doc.m_sizeResult.cy;
    const int32_t grown = CResultLayout::GrownHeight(height, rowHeight, m_layout->RowsAboveLastLine());
    if (grown == height) return;
    m_doc.m_sizeResult = {1000, grown};
    // The base's own: the lines have not changed, only the room they need.
    CZoomView::SetContentSizes(m_doc.m_sizeResult, {}, {});
}

void CVexaEditView::OnDraw(QPainter &painter, const QRect &exposed) {
    const LineArray &lines = m_doc.m_DisplayLines;
    if (!m_doc.m_bTraceRecognised || lines.empty()) return;
    EnsureLayout();
    const int rowHeight = RowHeight();
    GrowContentSize(rowHeight);

    // The colours and places come from the layout, so only the rows in view are drawn.
    const size_t rows = m_layout->RowCount();
    if (rows == 0 || exposed.bottom() < 0) return;
    const size_t first = static_cast<size_t>(std::max(0, exposed.top())) / static_cast<size_t>(rowHeight);
    const size_t last = std::min(rows - 1, static_cast<size_t>(exposed.bottom()) / static_cast<size_t>(rowHeight));
    if (first > last) return;

    const QFontMetrics metrics(m_screenFont, viewport());
    painter.save();
    if (!IsPrinting()) DrawMarks(painter, first, last);
    painter.setFont(m_screenFont);
    std::string text;
    for (size_t row = first; row <= last; ++row) {
        ToDisplayText(lines[m_layout->RowLine(lines, row)], text);
        DropLeadingLineFeed(text);
        if (text.empty()) continue;
        painter.setPen(ColourOf(m_layout->RowColour(lines, row)));
        const long long y = static_cast<long long>(row) * rowHeight;
        painter.drawText(QPoint(0, static_cast<int>(y) + metrics.ascent()), LineText(text));
    }
    painter.restore();
}

void CVexaEditView::DrawResultLines(QPainter &painter, const QFont &font) {
    const LineArray &lines = m_doc.m_DisplayLines;
    if (!m_doc.m_bTraceRecognised || lines.empty()) return;
    painter.save();
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 0));
    const QFontMetrics metrics(font, viewport());
    const int fontHeight = std::max(1, metrics.height());
    CResultColourState state;
    std::string text;
    long long y = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const LineMarker marker = ToDisplayText(lines[i], text);
        painter.setPen(ColourOf(state.Next(marker, text)));
        const int height = text.empty() ? 0 : fontHeight;
        if (y > m_doc.m_sizeResult.cy) {
            m_doc.m_sizeResult = {1000, static_cast<int32_t>(std::min<long long>(y + 500, INT32_MAX))};
            CZoomView::SetContentSizes(m_doc.m_sizeResult, {}, {});
        }
        DropLeadingLineFeed(text);
        if (!text.empty()) painter.drawText(QPoint(0, static_cast<int>(y) + metrics.ascent()), LineText(text));
        y += height;
    }
    painter.restore();
}

void CVexaEditView::GotoMessage(const QString &key, int row) {
    const LineArray &lines = m_doc.m_DisplayLines;
    // The row's own block where the document knows it, else the first line with the key.
    int64_t found = row >= 0 ? m_doc.DisplayLineOfRow(row) : -1;
    if (found < 0 || static_cast<size_t>(found) >= lines.size()) found = m_doc.FindDisplayLine(key.toStdString());
    const int rowHeight = RowHeight();
    // The lines above, measured as stored (markers take no room); the last of them with
    // any height stays in view above the found line.
    long long top = found > 0 ? static_cast<long long>(StoredRowsBefore(lines, static_cast<size_t>(found))) * rowHeight : 0;
    if (top > 0) top -= rowHeight;

    // The room a paint of the new text would give, so that the scroll range reaches the
    // line even before that paint.
    if (m_doc.m_bTraceRecognised && !lines.empty()) {
        EnsureLayout();
        GrowContentSize(rowHeight);
    }
    ScrollToPosition(QPoint(0, static_cast<int>(std::min<long long>(top, INT_MAX))));
    viewport()->update();
}

int CVexaEditView::VerticalLineScroll() const { return std::max(1, std::abs(m_nLineStep)); }

int CVexaEditView::VerticalPageScroll() const { return std::max(1, viewport()->height()); }

bool CVexaEditView::event(QEvent *event) {
    if (event->type() == WM_GOTO_MESSAGE) {
        const auto *go = static_cast<GotoMessageEvent *>(event);
        GotoMessage(go->Key(), go->Row());
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Tab goes to the message list below, not along the focus chain.
        if (key->key() == Qt::Key_Tab && m_doc.m_pListView) {
            m_doc.m_pListView->FocusList();
            return true;
        }
    }
    return CTextPaneView::event(event);
}

void CVexaEditView::keyPressEvent(QKeyEvent *event) {
    if (IsPaneKey(event)) return CTextPaneView::keyPressEvent(event);
    QScrollBar *vertical = verticalScrollBar();
    QScrollBar *horizontal = horizontalScrollBar();
    switch (event->key()) {
    case Qt::Key_PageUp:
        vertical->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_Up:
        vertical->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Down:
        vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_Home:
        vertical->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    case Qt::Key_End:
        vertical->triggerAction(QAbstractSlider::SliderToMaximum);
        break;
    case Qt::Key_Left:
        horizontal->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Right:
        horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_F1:
        RequestHelp();
        break;
    default:
        CTextPaneView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CVexaEditView::AddResultsMenuItems(QMenu &menu) {
    struct Item {
        const char *text;
        int id;
    };
    static constexpr Item kItems[] = {
        {"Save", ids::ID_RESULTS_SAVE},
        {"Print Preview", ids::ID_RESULTS_PRINT_PREVIEW},
        {"Print", ids::ID_RESULTS_PRINT},
        {"Font", ids::ID_RESULTS_FONT},
    };
    for (const Item &item : kItems) menu.addAction(QString::fromLatin1(item.text))->setData(item.id);
}

void CVexaEditView::contextMenuEvent(QContextMenuEvent *event) {
    event->accept();
    // Offered only once the interpretation has filled the list.
    if (!m_doc.m_bOutputLoaded) return;
    QMenu menu(this);
    menu.setTitle(QStringLiteral("Results"));
    AddResultsMenuItems(menu);
    if (QAction *chosen = menu.exec(event->globalPos())) OnResultsCommand(chosen->data().toInt());
}
