// The ladder diagram of one call in a window: one column per side, one arrow per message,
// the time at the left. Only the arrows in sight are drawn, so that a call of many
// thousand messages opens and scrolls at once. Clicking an arrow, or walking to it with
// the keyboard (Up, Down, Home, End, Page Up, Page Down), makes it current and announces
// its signal so that the trace window can select its row and go to it. The diagram saves
// as SVG (the picture vexa-interpret writes) and PNG and prints over as many pages as it
// needs.
#pragma once

#include "CallFlow.h"
#include "CallFlowSvg.h"

#include <QAbstractScrollArea>
#include <QString>

class QPainter;
class QPrinter;

namespace vexa {

class CCallFlowView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CCallFlowView(QWidget *parent = nullptr);

    void SetFlow(CallFlow flow, FlowColors colors);
    const CallFlow &Flow() const { return m_flow; }
    int CurrentArrow() const { return m_current; }
    // Makes an arrow current, scrolls it into sight and announces it.
    void SetCurrentArrow(int arrow);
    // The arrow drawn at a point of the viewport; -1 where there is none.
    int ArrowAt(QPoint viewportPoint) const;
    // The viewport rectangle of an arrow's row.
    QRect ArrowRect(int arrow) const;

    bool SaveSvg(const QString &path) const;
    bool SavePng(const QString &path) const;
    // Prints the whole diagram, the rows split over pages; the page count.
    int Print(QPrinter &printer) const;

signals:
    // An arrow was made current by the user: its signal and message index.
    void ArrowActivated(int sequence, int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Draws the arrows first..last with the picture moved up by top pixels.
    void Draw(QPainter &p, int first, int last, int top, int height, bool withCurrent) const;
    void UpdateScrollBars();

    CallFlow m_flow;
    FlowColors m_colors;
    int m_current = -1;
};

class CCallFlowWindow : public QWidget {
    Q_OBJECT
public:
    explicit CCallFlowWindow(QWidget *parent = nullptr);
    CCallFlowView *View() const { return m_view; }
    void SetFlow(CallFlow flow, FlowColors colors);

public slots:
    void OnSaveAs();
    void OnPrintPreview();

signals:
    void ArrowActivated(int sequence, int index);

private:
    CCallFlowView *m_view;
};

}  // namespace vexa
