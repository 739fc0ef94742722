#include "CListCtrlEx.h"

#include "CVexaClientDoc.h"
#include "CVexaListView.h"
#include "CVexaMdiEditView.h"
#include "CVexaEditView.h"
#include "QtPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QToolTip>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>

#include <algorithm>

namespace vexa {

CListCtrlEx::CListCtrlEx(const VexaSettings &settings, QWidget *parent) : QTreeView(parent), m_model(this) {
    m_lfListFont = settings.m_lfMessageList;
    m_lfPrintFont = settings.m_lfMessageList;
    m_lfPrintFont.lfHeight = -200;  // 10 points, in twips
    m_lfPrintFont.lfWidth = 0;
    m_lfPrintFont.lfQuality = 1;
    m_pListFont = FontFromRecord(m_lfListFont);

    const QPalette p = palette();
    m_clrText = ToColorRef(p.color(QPalette::Active, QPalette::Text));
    m_clrTextBk = ToColorRef(p.color(QPalette::Active, QPalette::Base));
    m_clrBkgnd = ToColorRef(p.color(QPalette::Active, QPalette::Base));

    // A report list: rows of six columns, one row selected at a time, drawn by the control.
    m_bFullRowSel = true;
    setModel(&m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setTabKeyNavigation(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFont(m_pListFont);
    header()->setSectionsMovable(true);
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->setFont(QApplication::font());
    connect(header(), &QHeaderView::sectionHandleDoubleClicked, this, &CListCtrlEx::FitColumn);
}

CListCtrlEx::~CListCtrlEx() { ClearRowColours(); }

void CListCtrlEx::Initialize(CVexaListView *view, CVexaClientDoc *doc, bool menuEnabled) {
    m_pView = view;
    m_pDoc = doc;
    m_bMenuEnabled = menuEnabled;
}

// Columns ----------------------------------------------------------------------------

void CListCtrlEx::InsertColumn(int column, const QString &heading, int width) {
    QStringList headings;
    for (int i = 0; i < m_model.columnCount(); ++i) headings << m_model.headerData(i, Qt::Horizontal, Qt::DisplayRole).toString();
    headings.insert(qBound(0, column, static_cast<int>(headings.size())), heading);
    m_model.SetHeadings(headings);
    header()->resizeSection(column, width);
}

int CListCtrlEx::GetColumnCount() const { return m_model.columnCount(); }

int CListCtrlEx::GetColumnWidth(int column) const {
    return column >= 0 && column < GetColumnCount() ? header()->sectionSize(column) : 0;
}

void CListCtrlEx::SetColumnWidth(int column, int width) {
    if (column >= 0 && column < GetColumnCount()) header()->resizeSection(column, width);
}

int CListCtrlEx::GetColumnWidthByOrder(int position) const {
    const QHeaderView *h = header();
    for (int item = 0; item < h->count(); ++item) {
        if (h->visualIndex(item) == position) return h->sectionSize(item);
    }
    return 0;
}

bool CListCtrlEx::HitTestEx(QPoint point, int &row, int &column) const {
    row = -1;
    column = -1;
    // The row under the point, wherever across the row it lies: asked at a column that
    // has a width, so that a point beside the columns still names its row.
    const QHeaderView *h = header();
    for (int position = 0; position < h->count() && row < 0; ++position) {
        const int item = h->logicalIndex(position);
        if (h->sectionSize(item) <= 0) continue;
        row = indexAt(QPoint(h->sectionViewportPosition(item), point.y())).row();
        break;
    }
    if (row < 0) return false;
    int x = point.x() + horizontalOffset();
    const int columns = header()->count();
    for (int position = 0; position < columns; ++position) {
        x -= GetColumnWidthByOrder(position);
        if (x < 0) {
            column = position;
            break;
        }
    }
    return column >= 0;
}

// Rows -------------------------------------------------------------------------------

void CListCtrlEx::InsertItem(int row, const CListModel::RowTexts &texts) { m_model.InsertRow(row, texts); }

void CListCtrlEx::DeleteItem(int row) { m_model.DeleteRow(row); }

void CListCtrlEx::DeleteAllItems() { m_model.DeleteAllRows(); }

void CListCtrlEx::CopyRowsFrom(const CListCtrlEx &other) {
    if (&other == this) return;
    DeleteAllItems();
    const int rows = other.GetItemCount();
    for (int row = 0; row < rows; ++row) {
        CListModel::RowTexts texts;
        for (int column = 0; column < kColumnCount; ++column)
            texts[static_cast<size_t>(column)] = other.GetItemTextUtf8(row, column);
        InsertItem(row, texts);
    }
    m_crRowColours = other.m_crRowColours;
}

int CListCtrlEx::GetFirstSelectedRow() const {
    if (!selectionModel()) return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    int first = -1;
    for (const QModelIndex &i : rows)
        if (first < 0 || i.row() < first) first = i.row();
    return first;
}

void CListCtrlEx::SelectRow(int row) {
    m_model.Flush();
    if (row < 0 || row >= GetItemCount()) return;
    selectionModel()->setCurrentIndex(m_model.index(row, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CListCtrlEx::AddRowColour(int red, int green, int blue) {
    const std::array<int, 3> colour = {red, green, blue};
    if (m_strLastColour.isEmpty() || colour != m_lastColour) {
        m_lastColour = colour;
        m_strLastColour = QStringLiteral("%1,%2,%3").arg(red).arg(green).arg(blue);
    }
    m_crRowColours.append(m_strLastColour);
}

void CListCtrlEx::RemoveLastRowColour() {
    if (!m_crRowColours.isEmpty()) m_crRowColours.removeLast();
}

void CListCtrlEx::ClearRowColours() { m_crRowColours.clear(); }

QColor CListCtrlEx::RowColour(int row) const {
    if (row < 0 || row >= m_crRowColours.size()) return {};
    // "r,g,b": red before the first comma, then green and blue; the low 8 bits of each.
    const QString &entry = m_crRowColours[row];
    const int first = static_cast<int>(entry.indexOf(QLatin1Char(',')));
    const QString rest = first < 0 ? QString() : entry.mid(first + 1);
    const int second = static_cast<int>(rest.indexOf(QLatin1Char(',')));
    const int red = (first < 0 ? entry : entry.left(first)).trimmed().toInt();
    const int green = (second < 0 ? rest : rest.left(second)).trimmed().toInt();
    const int blue = second < 0 ? 0 : rest.mid(second + 1).trimmed().toInt();
    return QColor(red & 0xFF, green & 0xFF, blue & 0xFF);
}

// Colours and fonts ------------------------------------------------------------------

void CListCtrlEx::SetTextColor(ColorRef colour) {
    m_clrText = colour;
    QPalette p = palette();
    p.setColor(QPalette::Text, ToQColor(colour));
    setPalette(p);
}

void CListCtrlEx::SetTextBkColor(ColorRef colour) {
    m_clrTextBk = colour;
    viewport()->update();
}

void CListCtrlEx::SetBkColor(ColorRef colour) {
    m_clrBkgnd = colour;
    QPalette p = palette();
    p.setColor(QPalette::Base, ToQColor(colour));
    setPalette(p);
}

void CListCtrlEx::ApplyListFont(const QFont &font) {
    m_pListFont = font;
    m_lfListFont = RecordFromFont(font);
    setFont(m_pListFont);
    header()->setFont(QApplication::font());
    viewport()->update();
    // The print font: the same face, its height in twips (twice the size in tenths of a point).
    const double points = QFontInfo(font).pointSizeF();
    m_lfPrintFont = m_lfListFont;
    m_lfPrintFont.lfWidth = 0;
    m_lfPrintFont.lfHeight = -static_cast<int32_t>(2 * qRound(points * 10));
}

// Drawing ----------------------------------------------------------------------------

QRect CListCtrlEx::RowBounds(int row) const {
    const QRect r = visualRect(m_model.index(row, 0));
    return QRect(-horizontalOffset(), r.top(), header()->length(), r.height());
}

QRect CListCtrlEx::HighlightRect(int row) const {
    QRect r = RowBounds(row);
    const int clientRight = viewport()->rect().right();
    if (m_bClientWidthSel && r.right() < clientRight) r.setRight(clientRight);
    return r;
}

void CListCtrlEx::drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const {
    const int row = index.row();
    painter->save();
    painter->setFont(m_pListFont);
    const QFontMetrics metrics(m_pListFont);

    const bool selected = selectionModel() && selectionModel()->isRowSelected(row, QModelIndex());
    // Without show-selection-always, a selected row is highlighted only while the list has
    // the focus.
    const bool highlighted = selected && hasFocus();

    QRect bounds(-horizontalOffset(), option.rect.top(), header()->length(), option.rect.height());
    QRect highlight = bounds;
    const int clientRight = viewport()->rect().right();
    if (m_bClientWidthSel && highlight.right() < clientRight) highlight.setRight(clientRight);
    const int offset = 2 * metrics.horizontalAdvance(QLatin1Char(' '));

    QColor textColour;
    if (highlighted) {
        textColour = palette().color(QPalette::Active, QPalette::HighlightedText);
        painter->fillRect(highlight, QColor(0, 0, 255));
    } else {
        painter->fillRect(highlight, ToQColor(m_clrTextBk));
    }

    if (row < m_crRowColours.size()) {
        const QColor colour = RowColour(row);
        m_clrText = ToColorRef(colour);
        if (!highlighted) textColour = colour;
        painter->setPen(textColour);

        const QHeaderView *h = header();
        const int flags = Qt::AlignVCenter | Qt::TextSingleLine;
        for (int column = 0; column < h->count(); ++column) {
            const int width = h->sectionSize(column);
            if (width <= 0 || h->isSectionHidden(column)) continue;
            const int left = h->sectionViewportPosition(column);
            QRect cell(left, bounds.top(), width, bounds.height());
            // The first column keeps a narrower margin on its left.
            if (column == 0)
                cell.setCoords(left + offset / 2 - 1, bounds.top(), left + width - 1 - offset, bounds.bottom());
            else
                cell.setCoords(left + offset, bounds.top(), left + width - 1 - offset, bounds.bottom());
            if (cell.width() <= 0) continue;
            const QString text = metrics.elidedText(m_model.Text(row, column), Qt::ElideRight, cell.width());
            painter->drawText(cell, flags | Qt::AlignLeft, text);
        }
    }

    if (hasFocus() && currentIndex().isValid() && currentIndex().row() == row) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = highlight;
        focus.backgroundColor = highlighted ? QColor(0, 0, 255) : ToQColor(m_clrTextBk);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, this);
    }
    painter->restore();
}

void CListCtrlEx::UpdateRow(int row) {
    if (row >= 0 && row < m_model.rowCount()) viewport()->update(HighlightRect(row));
}

void CListCtrlEx::RepaintSelectedItems() {
    if (currentIndex().isValid()) UpdateRow(currentIndex().row());
    if (selectionModel())
        for (const QModelIndex &i : selectionModel()->selectedRows()) UpdateRow(i.row());
}

QRegion CListCtrlEx::visualRegionForSelection(const QItemSelection &selection) const {
    QRegion region;
    for (const QItemSelectionRange &range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row) region += HighlightRect(row);
    }
    return region;
}

void CListCtrlEx::currentChanged(const QModelIndex &current, const QModelIndex &previous) {
    QTreeView::currentChanged(current, previous);
    if (previous.isValid()) UpdateRow(previous.row());
    if (current.isValid()) UpdateRow(current.row());
}

// Focus, keys and mouse ------------------------------------------------------------

void CListCtrlEx::focusInEvent(QFocusEvent *event) {
    m_model.Flush();
    QTreeView::focusInEvent(event);
    if (GetItemCount() > 0 && GetFirstSelectedRow() < 0) SelectRow(0);
    if (m_bFullRowSel) RepaintSelectedItems();
}

void CListCtrlEx::focusOutEvent(QFocusEvent *event) {
    QTreeView::focusOutEvent(event);
    QWidget *next = QApplication::focusWidget();
    if (next && isAncestorOf(next)) return;
    if (m_bFullRowSel) RepaintSelectedItems();
}

bool CListCtrlEx::event(QEvent *event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Copy) || (key->key() == Qt::Key_C && key->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier))) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab && !(key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))) {
            if (MoveFocusToTraceView()) return true;
        }
    }
    return QTreeView::event(event);
}

bool CListCtrlEx::MoveFocusToTraceView() {
    if (m_traceViewFocus) {
        m_traceViewFocus();
        return true;
    }
    if (auto *own = qobject_cast<QWidget *>(OwnTraceView())) {
        own->setFocus(Qt::TabFocusReason);
        return true;
    }
    if (!m_pDoc || !m_pDoc->m_pTraceView) return false;
    auto *widget = dynamic_cast<QWidget *>(m_pDoc->m_pTraceView);
    if (!widget) return false;
    widget->setFocus(Qt::TabFocusReason);
    return true;
}

QObject *CListCtrlEx::OwnResultView() const {
    for (QWidget *w = parentWidget(); w; w = w->parentWidget())
        if (auto *results = qobject_cast<CVexaMdiEditView *>(w)) return results->EditView();
    return nullptr;
}

QObject *CListCtrlEx::OwnTraceView() const {
    for (QWidget *w = parentWidget(); w; w = w->parentWidget()) {
        auto *results = qobject_cast<CVexaMdiEditView *>(w);
        if (!results || !results->parentWidget()) continue;
        for (QObject *sibling : results->parentWidget()->children())
            if (dynamic_cast<ITraceView *>(sibling)) return sibling;
        return nullptr;
    }
    return nullptr;
}

void CListCtrlEx::SetNarrowing(const QString &text) {
    if (text == m_strNarrowing) return;
    m_strNarrowing = text;
    emit NarrowingChanged(text);
}

QString CListCtrlEx::RowsAsText(bool allRows) const {
    const QHeaderView *h = header();
    QList<int> columns;  // shown, in their order on screen
    for (int position = 0; position < h->count(); ++position) {
        const int column = h->logicalIndex(position);
        if (h->sectionSize(column) > 0 && !h->isSectionHidden(column)) columns << column;
    }
    QList<int> rows;
    if (allRows) {
        for (int row = 0; row < GetItemCount(); ++row) rows << row;
    } else if (selectionModel()) {
        for (const QModelIndex &i : selectionModel()->selectedRows()) rows << i.row();
        std::sort(rows.begin(), rows.end());
    }
    if (rows.isEmpty()) return {};
    QString text;
    QStringList cells;
    for (int column : columns) cells << m_model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (int row : rows) {
        cells.clear();
        for (int column : columns) cells << m_model.Text(row, column);
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

void CListCtrlEx::CopyRows(bool allRows) const {
    const QString text = RowsAsText(allRows);
    if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

namespace {
// The room the drawing leaves around a cell's text: two blanks on the left (one for the
// first column) and two on the right.
int CellMargins(const QFontMetrics &metrics, int column) {
    const int offset = 2 * metrics.horizontalAdvance(QLatin1Char(' '));
    return (column == 0 ? offset / 2 - 1 : offset) + offset + 1;
}
}  // namespace

void CListCtrlEx::FitColumn(int column) {
    if (column < 0 || column >= GetColumnCount()) return;
    m_model.Flush();
    const QFontMetrics metrics(m_pListFont);
    // The longest texts are measured: one of many fewer characters is not wider.
    size_t longest = 0;
    const int rows = GetItemCount();
    for (int row = 0; row < rows; ++row) longest = std::max(longest, m_model.Utf8Text(row, column).size());
    int widest = 0, measured = 0;
    for (int row = 0; row < rows && measured < 500; ++row) {
        if (m_model.Utf8Text(row, column).size() + 4 < longest) continue;
        widest = std::max(widest, metrics.horizontalAdvance(m_model.Text(row, column)));
        ++measured;
    }
    const QString heading = m_model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    const int headingWidth = QFontMetrics(header()->font()).horizontalAdvance(heading) + 16;
    SetColumnWidth(column, std::max(widest + CellMargins(metrics, column), headingWidth));
    viewport()->update();
}

// A cell whose text is cut shows the whole text as its tool tip.
bool CListCtrlEx::viewportEvent(QEvent *event) {
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QModelIndex index = indexAt(help->pos());
        if (index.isValid()) {
            const QString text = m_model.Text(index.row(), index.column());
            const QFontMetrics metrics(m_pListFont);
            const int room = header()->sectionSize(index.column()) - CellMargins(metrics, index.column());
            if (!text.isEmpty() && metrics.horizontalAdvance(text) > room) {
                QToolTip::showText(help->globalPos(), text, viewport(), visualRect(index));
                return true;
            }
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QTreeView::viewportEvent(event);
}

void CListCtrlEx::keyPressEvent(QKeyEvent *event) {
    if (event->matches(QKeySequence::Copy) || (event->key() == Qt::Key_C && event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier))) {
        CopyRows(event->modifiers() & Qt::ShiftModifier);
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        OnListCommand(504);
    }
}

void CListCtrlEx::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::AltModifier)) {
        int row = -1, column = -1;
        if (HitTestEx(event->position().toPoint(), row, column)) {
            setFocus(Qt::MouseFocusReason);
            // Label editing begins, but no edit is ever taken: the row keeps its text.
            QMetaObject::invokeMethod(
                this, [this, row] { edit(m_model.index(row, 0)); }, Qt::QueuedConnection);
        }
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void CListCtrlEx::mouseDoubleClickEvent(QMouseEvent *event) {
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) OnListCommand(504);
}

void CListCtrlEx::contextMenuEvent(QContextMenuEvent *event) {
    if (!m_bMenuEnabled) return;
    PrepareContextMenu();
    event->accept();
    m_menu.exec(event->globalPos());
}

}  // namespace vexa
