// Hands the drawing and measuring of a CMenuEx's items to the menu itself; everything
// else (separators, the frame of the popup) is drawn by the application's style.
#pragma once

#include <QProxyStyle>

namespace vexa {

class CMenuExStyle : public QProxyStyle {
    Q_OBJECT
public:
    CMenuExStyle();

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override;
};

}  // namespace vexa
