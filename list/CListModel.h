// The rows of the message list: six texts a row, in the order the rows were added. The
// list keeps the order in which the parser delivers the messages; it never sorts.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace vexa {

class CListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 6;
    using RowTexts = std::array<QString, kColumns>;

    explicit CListModel(QObject *parent = nullptr);

    // The column headings; a column counts once it has a heading.
    void SetHeadings(const QStringList &headings);

    void InsertRow(int position, RowTexts texts);
    void DeleteRow(int position);
    void DeleteAllRows();

    int RowCount() const { return static_cast<int>(m_rows.size()); }
    // The text of a row's column; empty outside the list.
    QString Text(int row, int column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // A label may be edited, but no edit is ever taken: the row keeps its text.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    QStringList m_headings;
    std::vector<RowTexts> m_rows;
};

}  // namespace vexa
