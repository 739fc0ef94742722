#include "CMenuExStyle.h"

#include "CMenuEx.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

namespace vexa {

namespace {

const CMenuEx *OwnerMenu(const QWidget *widget) { return qobject_cast<const CMenuEx *>(widget); }

// The record of the item an option describes: by its place for drawing, by its text for
// measuring (the option names no action).
const MenuItemData *ItemRecord(const CMenuEx *menu, const QStyleOptionMenuItem *item, bool byPlace) {
    if (byPlace) {
        if (QAction *action = menu->actionAt(item->rect.center())) return CMenuEx::Record(action);
        return nullptr;
    }
    for (QAction *action : menu->actions()) {
        if (!action->isSeparator() && action->text() == item->text) return CMenuEx::Record(action);
    }
    return nullptr;
}

}  // namespace

CMenuExStyle::CMenuExStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void CMenuExStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                               const QWidget *widget) const {
    if (element == CE_MenuItem) {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        const CMenuEx *menu = OwnerMenu(widget);
        if (item && menu && item->menuItemType != QStyleOptionMenuItem::Separator) {
            if (const MenuItemData *record = ItemRecord(menu, item, true)) {
                menu->DrawItem(painter, item->rect, *record, item->state & State_Selected);
                return;
            }
        }
        if (item && menu && item->menuItemType == QStyleOptionMenuItem::Separator) {
            painter->fillRect(item->rect, menu->BackColor());
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void CMenuExStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                 const QWidget *widget) const {
    if (element == PE_PanelMenu || element == PE_FrameMenu) {
        if (const CMenuEx *menu = OwnerMenu(widget)) {
            if (element == PE_PanelMenu) painter->fillRect(option->rect, menu->BackColor());
            painter->setPen(menu->BackColor().darker(160));
            painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
            return;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

QSize CMenuExStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                                     const QWidget *widget) const {
    if (type == CT_MenuItem) {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        const CMenuEx *menu = OwnerMenu(widget);
        if (item && menu && item->menuItemType != QStyleOptionMenuItem::Separator) {
            if (const MenuItemData *record = ItemRecord(menu, item, false)) return menu->MeasureItem(*record);
        }
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

int CMenuExStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const {
    if (OwnerMenu(widget)) {
        switch (metric) {
        case PM_MenuHMargin:
        case PM_MenuVMargin: return 0;
        case PM_MenuPanelWidth: return 1;
        default: break;
        }
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

}  // namespace vexa
