#include "CMenuEx.h"

#include "CMenuExStyle.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

#include <cstring>

// The menu's icons are compiled into the list library.
static void InitListIcons() { Q_INIT_RESOURCE(list_icons); }

namespace vexa {

CMenuEx::CMenuEx(QWidget *parent) : QMenu(parent) {
    InitListIcons();
    const QPalette palette = QApplication::palette("QMenu");
    m_crText = palette.color(QPalette::Active, QPalette::WindowText);
    m_crBack = palette.color(QPalette::Active, QPalette::Window);
    m_crHighlight = palette.color(QPalette::Active, QPalette::Highlight);
    m_crHighlightText = palette.color(QPalette::Active, QPalette::HighlightedText);
    m_font = QApplication::font("QMenu");
    m_nMenuHeight = QFontMetrics(m_font).height() + 6;
    m_nIconWidth = m_nIconHeight = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
    auto *ownerDraw = new CMenuExStyle();
    ownerDraw->setParent(this);
    setStyle(ownerDraw);
    setFont(m_font);
    SetMenuBackColor(m_crBack);
}

CMenuEx::~CMenuEx() = default;

void CMenuEx::SetIconSize(int width, int height) {
    m_nIconWidth = width;
    m_nIconHeight = height;
}

void CMenuEx::SetMenuBackColor(const QColor &colour) {
    m_crBack = colour;
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
}

QAction *CMenuEx::AppendOwnerDrawnItem(int commandId, MenuItemData *record) {
    QAction *action = addAction(QString::fromLatin1(record->text));
    action->setData(QVariant::fromValue(reinterpret_cast<quintptr>(record)));
    action->setProperty("commandId", commandId);
    return action;
}

MenuItemData *CMenuEx::Record(const QAction *action) {
    if (!action) return nullptr;
    bool ok = false;
    const quintptr p = action->data().value<quintptr>();
    ok = action->data().isValid() && p != 0;
    return ok ? reinterpret_cast<MenuItemData *>(p) : nullptr;
}

int CMenuEx::CommandId(const QAction *action) const {
    const QVariant id = action ? action->property("commandId") : QVariant();
    return id.isValid() ? id.toInt() : 0;
}

QPixmap CMenuEx::LoadIcon(int id) {
    if (id == -1) return {};
    return QPixmap(QStringLiteral(":/icons/%1.png").arg(id & 0xFFFF));
}

QSize CMenuEx::MeasureItem(const MenuItemData &record) const {
    const QFontMetrics metrics(m_font);
    const int length = static_cast<int>(strnlen(record.text, sizeof record.text));
    int width = length * metrics.averageCharWidth() + m_nIconWidth + 10;
    // Room for the text as a selected item shows it (bold), so that no text is cut.
    QFont bold = m_font;
    bold.setWeight(QFont::Bold);
    const int needed = QFontMetrics(bold).horizontalAdvance(QString::fromLatin1(record.text, length)) + m_nIconWidth + 10;
    if (width < needed) width = needed;
    const int height = m_nIconHeight > m_nMenuHeight + 1 ? m_nIconHeight : m_nMenuHeight + 1;
    return {width, height};
}

void CMenuEx::DrawItem(QPainter *painter, const QRect &itemRect, const MenuItemData &record, bool selected) const {
    QRect rect = itemRect;
    int iconId = record.iconId;
    if (iconId != -1 && selected && record.selectedIconId != -1) iconId = record.selectedIconId;
    const QPixmap icon = LoadIcon(iconId);

    painter->save();
    QFont font = m_font;
    QColor textColour;
    const QRect frame = rect.adjusted(0, 0, -1, -1);
    if (selected) {
        painter->fillRect(rect, m_bFlatHighlight ? m_crBack : m_crHighlight);
        // A raised frame: light above and left, shadow below and right.
        const QPalette palette = QApplication::palette();
        painter->setPen(palette.color(QPalette::Light));
        painter->drawLine(frame.topLeft(), frame.topRight());
        painter->drawLine(frame.topLeft(), frame.bottomLeft());
        painter->setPen(palette.color(QPalette::Dark));
        painter->drawLine(frame.bottomLeft(), frame.bottomRight());
        painter->drawLine(frame.topRight(), frame.bottomRight());
        font.setWeight(QFont::Bold);
        textColour = m_crHighlightText;
    } else {
        painter->fillRect(rect, m_crBack);
        painter->setPen(m_crBack);
        painter->drawRect(frame);
        textColour = m_crText;
    }

    const int iconWidth = m_nIconWidth == 0 || m_nIconHeight == 0 ? 32 : m_nIconWidth;
    const int iconHeight = m_nIconWidth == 0 || m_nIconHeight == 0 ? 32 : m_nIconHeight;
    if (!icon.isNull()) {
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawPixmap(QRect(rect.topLeft(), QSize(iconWidth, iconHeight)), icon);
    }

    rect.setLeft(rect.left() + (m_nIconWidth == 0 ? 32 : m_nIconWidth));
    const QString text = QString::fromLatin1(record.text, static_cast<int>(strnlen(record.text, sizeof record.text)));
    if (!text.isEmpty()) {
        painter->setFont(font);
        painter->setPen(textColour);
        painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }
    painter->restore();
}

}  // namespace vexa
