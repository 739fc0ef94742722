#include "CListModel.h"

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

void CListModel::InsertRow(int position, RowTexts texts) {
    const int count = RowCount();
    if (position < 0 || position > count) position = count;
    beginInsertRows(QModelIndex(), position, position);
    m_rows.insert(m_rows.begin() + position, std::move(texts));
    endInsertRows();
}

void CListModel::DeleteRow(int position) {
    if (position < 0 || position >= RowCount()) return;
    beginRemoveRows(QModelIndex(), position, position);
    m_rows.erase(m_rows.begin() + position);
    endRemoveRows();
}

void CListModel::DeleteAllRows() {
    if (m_rows.empty()) return;
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    endResetModel();
}

QString CListModel::Text(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= kColumns) return {};
    return m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

int CListModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : RowCount(); }

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
