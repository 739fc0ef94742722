// The scrolling view the two text views derive from (the trace view and the result text
// view). The content has a size in logical units, shown one unit to one pixel; content
// smaller than the window is centred in it; when printed, the whole content is scaled onto
// the printable area of the page with its aspect ratio kept. The view draws nothing itself:
// a derived view supplies OnDraw.
#pragma once

#include "ViewInterfaces.h"

#include <QAbstractScrollArea>
#include <QPoint>
#include <QRect>
#include <QSize>

class QPainter;

class CZoomView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CZoomView(QWidget *parent = nullptr);
    ~CZoomView() override;

    // Sets the content size and the page and line scroll steps, in logical units. A step of
    // (0, 0) asks for a derived one: the page a tenth of the content, the line a tenth of
    // the page (1000 x 3000 gives a page of 100 x 300 and a line of 10 x 30). Recomputes
    // the scroll bars and redraws the whole window.
    virtual void SetContentSizes(vexa::ContentSize total, vexa::ContentSize page = {},
                                 vexa::ContentSize line = {});

    // The content size, logical and in pixels (the same: one unit is one pixel).
    vexa::ContentSize GetTotalSize() const { return m_totalLog; }
    vexa::ContentSize GetDeviceTotalSize() const { return m_totalDev; }
    // The scroll steps in pixels, as derived by SetContentSizes.
    vexa::ContentSize GetPageStep() const { return m_pageDev; }
    vexa::ContentSize GetLineStep() const { return m_lineDev; }
    // False until SetContentSizes has been called once.
    bool HasContentSizes() const { return m_bSizesSet; }

    // The scroll position in pixels: the content point at the window's top left.
    QPoint GetDeviceScrollPosition() const;
    // Scrolls so that the content point pt (pixels) stands at the window's top left, as far
    // as the scroll range allows.
    void ScrollToPosition(QPoint pt);
    // Where the content's top left stands in the window: centred on an axis where the
    // content is smaller than the window, else at minus the scroll position.
    QPoint ContentOrigin() const;

    // The print fit: where the whole content goes on a printable area of the given size in
    // device pixels. The aspect ratio is kept; the scaled content stands against the right
    // edge (when narrower) or the bottom edge (when shorter) of the printable area.
    struct PrintFit {
        QPoint offset;
        QSize extent;
        bool operator==(const PrintFit &) const = default;
    };
    static PrintFit FitToPrintable(vexa::ContentSize content, QSize printable);
    // Maps a painter on a printer so that logical content units land as FitToPrintable says.
    void PrepareForPrinting(QPainter &painter, QSize printable) const;
    // Prints the whole content onto one printable area through the print fit (OnDraw with
    // the whole content exposed, IsPrinting() true meanwhile).
    void PrintFitted(QPainter &painter, QSize printable);

protected:
    // Draws the content. The painter is translated so that (0, 0) is the content's top
    // left; exposedContentRect is the part to draw, in content coordinates.
    virtual void OnDraw(QPainter &painter, const QRect &exposedContentRect) = 0;

    // True while PrintFitted runs OnDraw.
    bool IsPrinting() const { return m_bPrinting; }

    // Scroll amounts in pixels for a scroll bar's line and page clicks and the arrow and
    // page keys. By default the derived steps.
    virtual int HorizontalLineScroll() const { return m_lineDev.cx; }
    virtual int HorizontalPageScroll() const { return m_pageDev.cx; }
    virtual int VerticalLineScroll() const { return m_lineDev.cy; }
    virtual int VerticalPageScroll() const { return m_pageDev.cy; }

    // Recomputes the scroll bars from the content size and the window size.
    void UpdateBars();

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void OnScrollAction(Qt::Orientation orientation, int action);

    vexa::ContentSize m_totalLog;
    vexa::ContentSize m_totalDev;
    vexa::ContentSize m_pageLog;
    vexa::ContentSize m_lineLog;
    vexa::ContentSize m_pageDev;
    vexa::ContentSize m_lineDev;
    bool m_bCenter = true;  // content smaller than the window is centred in it
    bool m_bSizesSet = false;
    bool m_bPrinting = false;
};
