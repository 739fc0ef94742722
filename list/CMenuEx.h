// A popup menu whose items the program draws itself: an icon beside each text, a
// selected item filled in the highlight colour with a raised frame and a bold text.
#pragma once

#include <QColor>
#include <QFont>
#include <QMenu>
#include <QPixmap>

namespace vexa {

// What an owner-drawn item shows; the item's action points at its record.
struct MenuItemData {
    char text[32] = {};
    int iconId = -1;          // icon resource id; -1: no icon
    int selectedIconId = -1;  // shown while selected; -1: the icon id
};

class CMenuEx : public QMenu {
    Q_OBJECT
public:
    explicit CMenuEx(QWidget *parent = nullptr);
    ~CMenuEx() override;

    void SetIconSize(int width, int height);
    void SetMenuTextColor(const QColor &colour) { m_crText = colour; }
    void SetMenuBackColor(const QColor &colour);
    void SetMenuHighlightColor(const QColor &colour) { m_crHighlight = colour; }
    void SetFlatHighlight(bool flat) { m_bFlatHighlight = flat; }

    // Appends an owner-drawn item for a command; the record must outlive the menu.
    QAction *AppendOwnerDrawnItem(int commandId, MenuItemData *record);

    // The size of an item, and its drawing into a rectangle.
    QSize MeasureItem(const MenuItemData &record) const;
    void DrawItem(QPainter *painter, const QRect &rect, const MenuItemData &record, bool selected) const;

    static MenuItemData *Record(const QAction *action);
    // The 32 x 32 picture of an icon id; null when the program has none.
    static QPixmap LoadIcon(int id);

    QColor TextColor() const { return m_crText; }
    QColor BackColor() const { return m_crBack; }
    QColor HighlightColor() const { return m_crHighlight; }
    QColor HighlightTextColor() const { return m_crHighlightText; }
    int IconWidth() const { return m_nIconWidth; }
    int IconHeight() const { return m_nIconHeight; }
    int CommandId(const QAction *action) const;

private:
    QColor m_crText;
    QColor m_crBack;
    QColor m_crHighlight;
    QColor m_crHighlightText;
    QFont m_font;
    int m_nMenuHeight = 0;
    int m_nIconWidth = 0;
    int m_nIconHeight = 0;
    bool m_bFlatHighlight = false;
};

}  // namespace vexa
