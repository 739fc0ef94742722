// The rows of the message list: six texts a row, in the order the rows were added. The
// list keeps the order in which the parser delivers the messages; it never sorts.
//
// A fill adds hundreds of thousands of rows one at a time. Rows appended at the end are
// stored at once but announced to the views together, when control returns to the event
// loop or when the list needs them (Flush): the views then lay the rows out once.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

class CListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 6;
    using RowTexts = std::array<std::string_view, kColumns>;  // UTF-8

    explicit CListModel(QObject *parent = nullptr);

    // The column headings; a column counts once it has a heading.
    void SetHeadings(const QStringList &headings);

    void InsertRow(int position, const RowTexts &texts);
    void DeleteRow(int position);
    void DeleteAllRows();
    // Announces the rows appended since the last time to the views.
    void Flush();

    // Every row stored, announced or not.
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    // The text of a row's column; empty outside the list.
    QString Text(int row, int column) const;
    std::string_view Utf8Text(int row, int column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // A label may be edited, but no edit is ever taken: the row keeps its text.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    // One row: the piece of the text store its texts lie in, end to end from start, and
    // where each ends (counted from the row's start). The texts of all rows share a few
    // large pieces, so that a fill of many rows does not allocate once per row; a deleted
    // row's text stays unused there until the list is emptied.
    struct Row {
        uint32_t piece = 0;
        uint32_t start = 0;
        std::array<uint32_t, kColumns> end{};
    };
    // Room for the texts of the rows to come: a new piece when the last one is full. A
    // piece never grows past the room it was made with, so the texts never move: a fill
    // of millions of rows copies each text once.
    std::string &PieceWithRoom(size_t size);

    QStringList m_headings;
    std::deque<Row> m_rows;  // grows without moving the rows it has
    std::vector<std::string> m_pieces;
    int m_nShown = 0;  // rows the views know of
    bool m_bFlushQueued = false;
};

}  // namespace vexa
