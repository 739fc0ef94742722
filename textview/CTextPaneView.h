// A text pane: a scrolling view whose content is rows of text (the trace view and the
// result text view). It adds what a reader of a text expects: selecting with the mouse
// and the keyboard and copying with Ctrl+C, and the find bar (Ctrl+F, F3, Shift+F3) with
// every place found marked.
#pragma once

#include "CZoomView.h"
#include "TextFind.h"

#include <QString>

#include <string>
#include <string_view>
#include <vector>

class CFindBar;

class CTextPaneView : public CZoomView {
    Q_OBJECT
public:
    explicit CTextPaneView(QWidget *parent = nullptr);
    ~CTextPaneView() override;

    // A place in the text: a row and a character of the row as shown.
    struct TextPlace {
        size_t row = 0;
        int column = 0;
        bool operator==(const TextPlace &) const = default;
    };

    // Selection and copy.
    void SetSelection(TextPlace anchor, TextPlace end);
    void SelectAll();
    void ClearSelection();
    bool HasSelection() const { return !(m_anchor == m_end); }
    // The selected text, its rows joined by line feeds.
    QString SelectedText() const;
    void CopySelection() const;

    // Find: the bar opens with the selected text, or the last text found.
    void ShowFindBar();
    void HideFindBar();
    CFindBar *FindBar() const { return m_findBar; }
    // Finds every place of a text and shows the first at or after the top of the view.
    void FindAll(const QString &text, vexa::FindOptions options);
    // The next (or previous) place, wrapping past the end (or the start).
    void FindNext(bool forward = true);
    const std::vector<vexa::TextMatch> &Matches() const { return m_matches; }
    int CurrentMatch() const { return m_current; }

protected:
    // The rows, as the derived view shows them.
    virtual size_t TextRowCount() const = 0;
    // The bytes of a row as drawn (scratch may hold them); DisplayText makes them Qt text.
    virtual std::string_view TextRow(size_t row, std::string &scratch) const = 0;
    virtual QString DisplayText(std::string_view bytes) const { return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())); }
    // True where the rows are UTF-8 (the text to find is then coded so too), else Latin-1.
    virtual bool RowsAreUtf8() const { return false; }
    virtual int TextRowTop(size_t row) const = 0;
    virtual int TextRowHeight() const = 0;
    virtual size_t TextRowAt(int contentY) const = 0;
    virtual const QFont &TextFont() const = 0;
    // Called before the rows are worked out anew (the rows may have changed).
    virtual void PrepareTextRows() {}

    // Draws the marks of the selection and the places found behind the rows first to
    // last; the derived view's OnDraw calls it before it draws the text.
    void DrawMarks(QPainter &painter, size_t first, size_t last);
    // The text has changed: the selection and the places found go (the bar stays, and
    // finds again).
    void TextChanged();

    // The keys the pane takes before the derived view's own: copy, select all, find, F3,
    // Escape while finding, and Shift with the moving keys.
    bool IsPaneKey(const QKeyEvent *event) const;
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    TextPlace PlaceAt(QPoint viewportPos) const;
    QString RowText(size_t row) const;
    int XOf(size_t row, int column) const;
    void ShowPlace(size_t row, int column);
    void ShowCurrentMatch(bool wrapped);
    void PlaceFindBar();
    void Refind();

    TextPlace m_anchor;
    TextPlace m_end;
    CFindBar *m_findBar = nullptr;
    std::vector<vexa::TextMatch> m_matches;
    int m_current = -1;
    QString m_findText;
};
