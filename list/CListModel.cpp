#include "CListModel.h"

#include <algorithm>

namespace vexa {

CListModel::CListModel(QObject *parent) : QAbstractTableModel(parent) {}

void CListModel::SetHeadings(const QStringList &headings) {
    const int before = static_cast<int>(m_headings.size());
    const int after = static_cast<int>(headings.size());
    if (after > before) {
        beginInsertColumns(QModelIndex(), before, after - 1);
        m_headings = headings;
        endInsertColumns();
    } else {
        m_headings = headings;
        if (after > 0) emit headerDataChanged(Qt::Horizontal, 0, after - 1);
    }
}

namespace {
constexpr size_t kTextPiece = 1u << 20;
}

std::string &CListModel::PieceWithRoom(size_t size) {
    if (m_pieces.empty() || m_pieces.back().capacity() - m_pieces.back().size() < size) {
        m_pieces.emplace_back();
        m_pieces.back().reserve(std::max(kTextPiece, size));
    }
    return m_pieces.back();
}

void CListModel::InsertRow(int position, const RowTexts &texts) {
    size_t size = 0;
    for (std::string_view text : texts) size += text.size();
    std::string &piece = PieceWithRoom(size);
    Row row;
    row.piece = static_cast<uint32_t>(m_pieces.size() - 1);
    row.start = static_cast<uint32_t>(piece.size());
    for (int c = 0; c < kColumns; ++c) {
        piece += texts[static_cast<size_t>(c)];
        row.end[static_cast<size_t>(c)] = static_cast<uint32_t>(piece.size() - row.start);
    }
    const int count = RowCount();
    if (position < 0 || position >= count) {
        // Appended: stored now, announced with the others.
        m_rows.push_back(std::move(row));
        if (!m_bFlushQueued) {
            m_bFlushQueued = true;
            QMetaObject::invokeMethod(this, &CListModel::Flush, Qt::QueuedConnection);
        }
        return;
    }
    Flush();
    beginInsertRows(QModelIndex(), position, position);
    m_rows.insert(m_rows.begin() + position, std::move(row));
    ++m_nShown;
    endInsertRows();
}

void CListModel::Flush() {
    m_bFlushQueued = false;
    const int count = RowCount();
    if (count <= m_nShown) return;
    beginInsertRows(QModelIndex(), m_nShown, count - 1);
    m_nShown = count;
    endInsertRows();
}

void CListModel::DeleteRow(int position) {
    if (position < 0 || position >= RowCount()) return;
    if (position >= m_nShown) {
        m_rows.erase(m_rows.begin() + position);  // not announced yet
        return;
    }
    Flush();
    beginRemoveRows(QModelIndex(), position, position);
    m_rows.erase(m_rows.begin() + position);
    --m_nShown;
    endRemoveRows();
}

void CListModel::DeleteAllRows() {
    if (m_rows.empty()) {
        m_pieces.clear();  // what deleted rows left
        return;
    }
    beginResetModel();
    m_rows.clear();
    m_pieces.clear();
    m_pieces.shrink_to_fit();
    m_nShown = 0;
    endResetModel();
}

std::string_view CListModel::Utf8Text(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= kColumns) return {};
    const Row &r = m_rows[static_cast<size_t>(row)];
    const uint32_t begin = column == 0 ? 0 : r.end[static_cast<size_t>(column - 1)];
    return std::string_view(m_pieces[r.piece]).substr(r.start + begin, r.end[static_cast<size_t>(column)] - begin);
}

QString CListModel::Text(int row, int column) const {
    const std::string_view text = Utf8Text(row, column);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int CListModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_nShown; }

int CListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_headings.size());
}

QVariant CListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return Text(index.row(), index.column());
}

QVariant CListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_headings.size()) return {};
    if (role == Qt::DisplayRole) return m_headings[section];
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags CListModel::flags(const QModelIndex &index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == 0) f |= Qt::ItemIsEditable;
    return f;
}

bool CListModel::setData(const QModelIndex &, const QVariant &, int) { return false; }

}  // namespace vexa
