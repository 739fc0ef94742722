// The message list control: six columns, one row per signal, every row drawn by the
// control in the row's own colour, the selected row filled blue across the whole width.
// Its right-button menu offers the direction choice, the filters, Go To, the column
// switches, the font and printing.
#pragma once

#include "CListModel.h"
#include "CMenuEx.h"
#include "VexaSettings.h"

#include <QFont>
#include <QStringList>
#include <QTreeView>

#include <array>
#include <functional>
#include <string>

namespace vexa {

class CVexaClientDoc;
class CVexaListView;

class CListCtrlEx : public QTreeView {
    Q_OBJECT
public:
    explicit CListCtrlEx(const VexaSettings &settings, QWidget *parent = nullptr);
    ~CListCtrlEx() override;

    // Ties the control to its view and the document whose messages it lists; the context
    // menu is offered only when menuEnabled is set.
    void Initialize(CVexaListView *view, CVexaClientDoc *doc, bool menuEnabled = true);

    // Columns.
    void InsertColumn(int column, const QString &heading, int width);
    int GetColumnCount() const;
    int GetColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);
    // The width of the column shown at a display position; 0 when none stands there.
    int GetColumnWidthByOrder(int position) const;
    // The row and the display position of the column under a point of the list's area;
    // false when the point is on no row or right of the last column.
    bool HitTestEx(QPoint point, int &row, int &column) const;

    // Rows.
    void InsertItem(int row, const CListModel::RowTexts &texts);
    void DeleteItem(int row);
    void DeleteAllItems();
    // Takes the rows and their colours of another list of the same document (a second
    // window on a trace starts with what the first one shows).
    void CopyRowsFrom(const CListCtrlEx &other);
    int GetItemCount() const { return m_model.RowCount(); }
    QString GetItemText(int row, int column) const { return m_model.Text(row, column); }
    std::string_view GetItemTextUtf8(int row, int column) const { return m_model.Utf8Text(row, column); }
    // The first selected row, -1 when none.
    int GetFirstSelectedRow() const;
    void SelectRow(int row);

    // One colour entry "r,g,b" per row, in row order.
    void AddRowColour(int red, int green, int blue);
    void RemoveLastRowColour();
    void ClearRowColours();
    const QStringList &RowColours() const { return m_crRowColours; }
    // The colour a row is drawn in when it is not highlighted; invalid without an entry.
    QColor RowColour(int row) const;

    // Redraws the focused and the selected rows, when the focus comes or goes.
    void RepaintSelectedItems();

    // The colours the control paints with (text, unselected row background, empty area).
    void SetTextColor(ColorRef colour);
    void SetTextBkColor(ColorRef colour);
    void SetBkColor(ColorRef colour);
    ColorRef TextBkColor() const { return m_clrTextBk; }

    // Fonts: the list font draws the rows; the print font has its height in twips.
    const QFont &ListFont() const { return m_pListFont; }
    const FontRecord &ListFontRecord() const { return m_lfListFont; }
    const FontRecord &PrintFontRecord() const { return m_lfPrintFont; }
    // Takes a chosen font for the list and, with the height in twips, for printing.
    void ApplyListFont(const QFont &font);
    int m_nPrintRowHeight = 0;  // printed row height in twips, set when printing begins

    // The commands of the context menu, 500 to 513.
    void OnListCommand(int id);
    // What a right click does before the menu is shown: builds the menu once per
    // document, after the first interpretation.
    void PrepareContextMenu();
    void BuildContextMenu();
    bool AppendMenuItem(const QString &text, int record, int iconId, int commandId);
    CMenuEx &ContextMenu() { return m_menu; }
    const MenuItemData &MenuRecord(int record) const { return m_menuItems[static_cast<size_t>(record)]; }
    void ChangeListFont();
    void RunFilter();
    // Filtered fills: the list is emptied of colours and filled with the messages the
    // parser component finds for the key.
    void FillByCallReference(const std::string &key);
    void FillByCallingPartyNumber(const std::string &key);
    void FillByEquNumber(const std::string &key);
    void FillByScpId(const std::string &key);
    void FillByTransactionFlag(const std::string &key);
    void FillByProtocol(const std::string &key);
    // Has the result text show only the blocks of the listed signals.
    void RebuildResultText();
    // The last Go To key: a space, the sequence number as five digits, a space.
    const QString &GoToKey() const { return m_strGoToKey; }

    // Where Tab sends the focus. By default the document's trace view, when it is a
    // widget; the window that holds the list can name another way to reach it.
    void SetTraceViewFocus(std::function<void()> focus) { m_traceViewFocus = std::move(focus); }

    // The selected rows as tab-separated text, the headings of the columns shown first;
    // all rows with allRows. Ctrl+C copies the selected rows, Ctrl+Shift+C all of them.
    QString RowsAsText(bool allRows) const;
    void CopyRows(bool allRows) const;
    // Fits a column to its widest text and its heading (a double click on its border).
    void FitColumn(int column);

    // How the list is narrowed ("Filter: call reference 01", "Outgoing only"); empty
    // while it shows all rows.
    const QString &Narrowing() const { return m_strNarrowing; }
    void SetNarrowing(const QString &text);

    CVexaClientDoc *Document() const { return m_pDoc; }
    CListModel &Model() { return m_model; }

signals:
    void NarrowingChanged(const QString &text);
    // Call Flow was chosen for a row; the main window draws that row's call.
    void CallFlowRequested(int row);

protected:
    bool viewportEvent(QEvent *event) override;
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;

private:
    QRect RowBounds(int row) const;          // all columns, in the list's area
    QRect HighlightRect(int row) const;      // the bounds stretched to the client width
    void UpdateRow(int row);
    bool MoveFocusToTraceView();  // false when there is no trace view to go to
    // The result text and the trace view of the window this list stands in; null when
    // the list is not in a trace window.
    QObject *OwnResultView() const;
    QObject *OwnTraceView() const;
    // Empties this list and every other list of the document before a filtered fill.
    void ClearDocumentLists();
    void PlaceOverList(QWidget &dialog);
    void GoTo();
    void SwitchColumn(int column);
    void FilterRows(void (*fill)(CVexaClientDoc &, std::string_view), const std::string &key);

    CListModel m_model;
    CVexaClientDoc *m_pDoc = nullptr;
    FontRecord m_lfPrintFont;
    FontRecord m_lfListFont;
    QFont m_pListFont;
    bool m_bFullRowSel = false;
    bool m_bClientWidthSel = true;
    mutable ColorRef m_clrText;
    ColorRef m_clrTextBk;
    ColorRef m_clrBkgnd;
    QStringList m_crRowColours;
    // The text of the colour added last: rows mostly share a colour, and the list then
    // shares its text instead of making it again.
    std::array<int, 3> m_lastColour{};
    QString m_strLastColour;
    CMenuEx m_menu;
    std::array<MenuItemData, 15> m_menuItems;
    CVexaListView *m_pView = nullptr;
    QString m_strGoToKey;
    bool m_bMenuEnabled = false;
    bool m_bMenuBuilt = false;
    QString m_strNarrowing;
    std::function<void()> m_traceViewFocus;
};

}  // namespace vexa
