#include "CTextPaneView.h"

#include "CFindBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

using namespace vexa;

namespace {

const QColor kFoundColour(255, 240, 120);
const QColor kCurrentColour(255, 150, 50);

}  // namespace

CTextPaneView::CTextPaneView(QWidget *parent) : CZoomView(parent) { viewport()->setCursor(Qt::IBeamCursor); }

CTextPaneView::~CTextPaneView() = default;

// Rows and places ----------------------------------------------------------------------

QString CTextPaneView::RowText(size_t row) const {
    std::string scratch;
    return DisplayText(TextRow(row, scratch));
}

int CTextPaneView::XOf(size_t row, int column) const {
    if (column <= 0) return 0;
    const QString text = RowText(row);
    return QFontMetrics(TextFont()).horizontalAdvance(text.left(column));
}

CTextPaneView::TextPlace CTextPaneView::PlaceAt(QPoint viewportPos) const {
    const size_t rows = TextRowCount();
    if (rows == 0) return {};
    const QPoint content = viewportPos - ContentOrigin();
    if (content.y() < 0) return {0, 0};
    const size_t row = std::min(rows - 1, TextRowAt(content.y()));
    if (content.y() >= TextRowTop(rows - 1) + TextRowHeight()) return {rows - 1, static_cast<int>(RowText(rows - 1).size())};
    const QString text = RowText(row);
    const QFontMetrics metrics(TextFont());
    // The character whose middle is right of the point.
    int x = 0;
    for (int i = 0; i < text.size(); ++i) {
        const int w = metrics.horizontalAdvance(text[i]);
        if (content.x() < x + w / 2) return {row, i};
        x += w;
    }
    return {row, static_cast<int>(text.size())};
}

// Selection ----------------------------------------------------------------------------

void CTextPaneView::SetSelection(TextPlace anchor, TextPlace end) {
    m_anchor = anchor;
    m_end = end;
    viewport()->update();
}

void CTextPaneView::SelectAll() {
    PrepareTextRows();
    const size_t rows = TextRowCount();
    if (rows == 0) return;
    SetSelection({0, 0}, {rows - 1, static_cast<int>(RowText(rows - 1).size())});
}

void CTextPaneView::ClearSelection() { SetSelection({}, {}); }

QString CTextPaneView::SelectedText() const {
    if (!HasSelection()) return {};
    TextPlace from = m_anchor, to = m_end;
    if (to.row < from.row || (to.row == from.row && to.column < from.column)) std::swap(from, to);
    const size_t rows = TextRowCount();
    if (rows == 0) return {};
    to.row = std::min(to.row, rows - 1);
    QStringList lines;
    std::string scratch;
    for (size_t row = from.row; row <= to.row; ++row) {
        const QString text = RowText(row);
        const int start = row == from.row ? std::min<int>(from.column, static_cast<int>(text.size())) : 0;
        const int end = row == to.row ? std::min<int>(to.column, static_cast<int>(text.size())) : static_cast<int>(text.size());
        lines << text.mid(start, std::max(0, end - start));
    }
    return lines.join(QLatin1Char('\n'));
}

void CTextPaneView::CopySelection() const {
    if (HasSelection()) QApplication::clipboard()->setText(SelectedText());
}

void CTextPaneView::TextChanged() {
    m_anchor = m_end = {};
    m_matches.clear();
    m_current = -1;
    if (m_findBar && m_findBar->isVisible()) Refind();
}

// Find ---------------------------------------------------------------------------------

void CTextPaneView::ShowFindBar() {
    if (!m_findBar) {
        m_findBar = new CFindBar(this);
        connect(m_findBar, &CFindBar::Changed, this, &CTextPaneView::Refind);
        connect(m_findBar, &CFindBar::Next, this, [this] { FindNext(true); });
        connect(m_findBar, &CFindBar::Previous, this, [this] { FindNext(false); });
        connect(m_findBar, &CFindBar::Closed, this, &CTextPaneView::HideFindBar);
    }
    // A selection within one row is what the user wants to find.
    if (HasSelection() && m_anchor.row == m_end.row) {
        const QString selected = SelectedText();
        if (!selected.isEmpty()) m_findBar->Edit()->setText(selected);
    }
    m_findBar->show();
    PlaceFindBar();
    m_findBar->Edit()->setFocus(Qt::ShortcutFocusReason);
    m_findBar->Edit()->selectAll();
    Refind();
}

void CTextPaneView::HideFindBar() {
    if (!m_findBar) return;
    m_findBar->hide();
    m_matches.clear();
    m_current = -1;
    PlaceFindBar();
    setFocus(Qt::OtherFocusReason);
    viewport()->update();
}

void CTextPaneView::PlaceFindBar() {
    const bool shown = m_findBar && m_findBar->isVisible();
    const int height = shown ? m_findBar->sizeHint().height() : 0;
    setViewportMargins(0, 0, 0, height);
    UpdateBars();
    if (!shown) return;
    // In the room the margin leaves under the text, across the text's width.
    const QRect text = viewport()->geometry();
    m_findBar->setGeometry(text.left(), text.bottom() + 1, text.width(), height);
    m_findBar->raise();
}

void CTextPaneView::Refind() {
    if (!m_findBar) return;
    FindAll(m_findBar->Edit()->text(), m_findBar->Options());
}

void CTextPaneView::FindAll(const QString &text, FindOptions options) {
    m_findText = text;
    m_matches.clear();
    m_current = -1;
    PrepareTextRows();
    // The rows are bytes as stored: the pattern in the same coding.
    const QByteArray bytes = RowsAreUtf8() ? text.toUtf8() : text.toLatin1();
    const TextFinder finder(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), options);
    if (!finder.Empty()) {
        std::string scratch;
        const size_t rows = TextRowCount();
        for (size_t row = 0; row < rows; ++row) finder.FindInRow(TextRow(row, scratch), static_cast<uint32_t>(row), m_matches);
    }
    if (!m_matches.empty()) {
        // The first place at or after the top of the view.
        const size_t top = TextRowAt(std::max(0, GetDeviceScrollPosition().y()));
        m_current = MatchAtOrAfter(m_matches, static_cast<uint32_t>(top), 0);
    }
    ShowCurrentMatch(false);
}

void CTextPaneView::FindNext(bool forward) {
    if (m_findBar && m_findBar->isVisible() && m_findText != m_findBar->Edit()->text()) Refind();
    if (m_matches.empty()) {
        if (!m_findBar || !m_findBar->isVisible()) ShowFindBar();
        return;
    }
    const int total = static_cast<int>(m_matches.size());
    int next = m_current + (forward ? 1 : -1);
    bool wrapped = false;
    if (next >= total) next = 0, wrapped = true;
    if (next < 0) next = total - 1, wrapped = true;
    m_current = next;
    ShowCurrentMatch(wrapped);
}

void CTextPaneView::ShowCurrentMatch(bool wrapped) {
    if (m_findBar) m_findBar->ShowCount(m_current, static_cast<int>(m_matches.size()), wrapped);
    if (m_current >= 0) {
        const TextMatch &m = m_matches[static_cast<size_t>(m_current)];
        std::string scratch;
        const std::string_view bytes = TextRow(m.row, scratch);
        const int column = static_cast<int>(DisplayText(bytes.substr(0, m.column)).size());
        ShowPlace(m.row, column);
    }
    viewport()->update();
}

// Scrolls as little as needed to have a place in view, a row of room kept above it.
void CTextPaneView::ShowPlace(size_t row, int column) {
    const QPoint pos = GetDeviceScrollPosition();
    const int top = TextRowTop(row);
    const int height = TextRowHeight();
    const int visible = viewport()->height();
    int y = pos.y();
    if (top < y || top + height > y + visible) y = std::max(0, top - std::max(height, visible / 3));
    const int x = XOf(row, column);
    int left = pos.x();
    if (x < left || x + 40 > left + viewport()->width()) left = std::max(0, x - viewport()->width() / 3);
    ScrollToPosition(QPoint(left, y));
}

// Marks --------------------------------------------------------------------------------

void CTextPaneView::DrawMarks(QPainter &painter, size_t first, size_t last) {
    const bool selection = HasSelection();
    if (!selection && m_matches.empty()) return;
    const QFontMetrics metrics(TextFont());
    const int height = TextRowHeight();
    TextPlace from = m_anchor, to = m_end;
    if (to.row < from.row || (to.row == from.row && to.column < from.column)) std::swap(from, to);
    auto match = std::lower_bound(m_matches.begin(), m_matches.end(), first,
                                  [](const TextMatch &m, size_t row) { return m.row < row; });
    std::string scratch;
    for (size_t row = first; row <= last && row < TextRowCount(); ++row) {
        const bool rowSelected = selection && row >= from.row && row <= to.row;
        const bool rowFound = match != m_matches.end() && match->row == row;
        if (!rowSelected && !rowFound) continue;
        const std::string_view bytes = TextRow(row, scratch);
        const QString text = DisplayText(bytes);
        const int top = TextRowTop(row);
        for (; match != m_matches.end() && match->row == row; ++match) {
            const int x = metrics.horizontalAdvance(DisplayText(bytes.substr(0, match->column)));
            const int w = metrics.horizontalAdvance(DisplayText(bytes.substr(match->column, match->length)));
            const bool current = m_current >= 0 && &*match == &m_matches[static_cast<size_t>(m_current)];
            painter.fillRect(QRect(x, top, std::max(w, 2), height), current ? kCurrentColour : kFoundColour);
        }
        if (rowSelected) {
            const int start = row == from.row ? from.column : 0;
            const int end = row == to.row ? to.column : static_cast<int>(text.size());
            const int x = metrics.horizontalAdvance(text.left(start));
            int w = metrics.horizontalAdvance(text.mid(start, std::max(0, end - start)));
            if (row != to.row) w += metrics.horizontalAdvance(QLatin1Char(' '));  // the line's end
            QColor colour = palette().color(QPalette::Highlight);
            colour.setAlpha(110);
            painter.fillRect(QRect(x, top, w, height), colour);
        }
    }
}

// Input --------------------------------------------------------------------------------

bool CTextPaneView::event(QEvent *event) {
    // Ctrl+C and Ctrl+A are the pane's own while it has the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll) || key->matches(QKeySequence::Find) ||
            key->key() == Qt::Key_F3) {
            event->accept();
            return true;
        }
    }
    return CZoomView::event(event);
}

bool CTextPaneView::IsPaneKey(const QKeyEvent *event) const {
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll) || event->matches(QKeySequence::Find))
        return true;
    if (event->key() == Qt::Key_F3) return true;
    if (event->key() == Qt::Key_Escape) return m_findBar && m_findBar->isVisible();
    if (!(event->modifiers() & Qt::ShiftModifier)) return false;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: return true;
    default: return false;
    }
}

void CTextPaneView::keyPressEvent(QKeyEvent *event) {
    PrepareTextRows();
    if (event->matches(QKeySequence::Copy)) return CopySelection();
    if (event->matches(QKeySequence::SelectAll)) return SelectAll();
    if (event->matches(QKeySequence::Find)) return ShowFindBar();
    if (event->key() == Qt::Key_F3) return FindNext(!(event->modifiers() & Qt::ShiftModifier));
    if (event->key() == Qt::Key_Escape && m_findBar && m_findBar->isVisible()) return HideFindBar();
    // Shift with the arrows, the page keys, Home and End moves the end of the selection.
    if ((event->modifiers() & Qt::ShiftModifier) && TextRowCount() > 0) {
        const size_t rows = TextRowCount();
        const size_t page = std::max<size_t>(1, static_cast<size_t>(viewport()->height() / std::max(1, TextRowHeight())));
        TextPlace end = m_end;
        const int length = static_cast<int>(RowText(end.row).size());
        bool handled = true;
        switch (event->key()) {
        case Qt::Key_Left:
            if (end.column > 0) --end.column;
            else if (end.row > 0) end = {end.row - 1, static_cast<int>(RowText(end.row - 1).size())};
            break;
        case Qt::Key_Right:
            if (end.column < length) ++end.column;
            else if (end.row + 1 < rows) end = {end.row + 1, 0};
            break;
        case Qt::Key_Up: end.row = end.row > 0 ? end.row - 1 : 0; break;
        case Qt::Key_Down: end.row = std::min(rows - 1, end.row + 1); break;
        case Qt::Key_PageUp: end.row = end.row > page ? end.row - page : 0; break;
        case Qt::Key_PageDown: end.row = std::min(rows - 1, end.row + page); break;
        case Qt::Key_Home: end.column = 0; break;
        case Qt::Key_End: end.column = length; break;
        default: handled = false;
        }
        if (handled) {
            end.column = std::min(end.column, static_cast<int>(RowText(end.row).size()));
            if (!HasSelection()) {
                // The selection starts where the mouse last put the caret, or, when that
                // is out of view, at the top row in view.
                const int y = GetDeviceScrollPosition().y();
                const size_t top = TextRowAt(std::max(0, y));
                const bool caretInView = TextRowTop(m_end.row) >= y && TextRowTop(m_end.row) < y + viewport()->height();
                if (!caretInView) {
                    m_anchor = m_end = {top, 0};
                    keyPressEvent(event);  // the key moves the end from there
                    return;
                }
                m_anchor = m_end;
            }
            SetSelection(m_anchor, end);
            ShowPlace(end.row, end.column);
            return;
        }
    }
    CZoomView::keyPressEvent(event);
}

void CTextPaneView::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton) {
        PrepareTextRows();
        setFocus(Qt::MouseFocusReason);
        const TextPlace place = PlaceAt(event->position().toPoint());
        if (event->modifiers() & Qt::ShiftModifier) SetSelection(m_anchor, place);
        else SetSelection(place, place);
        event->accept();
        return;
    }
    CZoomView::mousePressEvent(event);
}

void CTextPaneView::mouseMoveEvent(QMouseEvent *event) {
    if (event->buttons() & Qt::LeftButton) {
        SetSelection(m_anchor, PlaceAt(event->position().toPoint()));
        event->accept();
        return;
    }
    CZoomView::mouseMoveEvent(event);
}

// A double click selects the word under the mouse.
void CTextPaneView::mouseDoubleClickEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) return CZoomView::mouseDoubleClickEvent(event);
    const TextPlace place = PlaceAt(event->position().toPoint());
    const QString text = RowText(place.row);
    auto isWord = [&](int i) { return i >= 0 && i < text.size() && (text[i].isLetterOrNumber() || text[i] == u'_' || text[i] == u'.'); };
    int start = place.column, end = place.column;
    while (isWord(start - 1)) --start;
    while (isWord(end)) ++end;
    SetSelection({place.row, start}, {place.row, end});
    event->accept();
}

void CTextPaneView::resizeEvent(QResizeEvent *event) {
    CZoomView::resizeEvent(event);
    PlaceFindBar();
}
