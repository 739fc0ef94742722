// The trace view: the left pane of a trace window. It shows the trace's lines as they were
// read, and it is where the document's commands arrive: the protocol, the interpretation,
// the signal names and colour settings, saving the settings, help and its own right-button
// menu with the output options.
#pragma once

#include "CZoomView.h"
#include "VexaSettings.h"
#include "ViewInterfaces.h"

#include <QFont>

#include <vector>

class QMenu;

namespace vexa {

class CVexaClientDoc;

class CVexaClientView : public CZoomView, public ITraceView {
    Q_OBJECT
public:
    CVexaClientView(CVexaClientDoc &doc, VexaSettings &settings, QWidget *parent = nullptr);
    ~CVexaClientView() override;

    void OnInitialUpdate();
    // The document's and the view's commands, by id.
    void OnCommand(int id);
    // ITraceView
    void ShowProtocolInStatusBar() override;
    void Repaint() override;

    CVexaClientDoc &Document() const { return m_doc; }
    const QFont &ViewFont() const { return m_font; }
    int32_t LineHeight() const { return m_nLineHeight; }
    // The right-button menu as it would be shown now (null before a trace is open).
    QMenu *BuildContextMenu();
    // Scrolls to the first trace line holding key, as the message list's Go To asks.
    void GoToKey(const QString &key, int row = -1);
    void SaveCurrentSettings();

protected:
    void OnDraw(QPainter &painter, const QRect &exposed) override;
    int VerticalLineScroll() const override { return std::abs(m_nLineHeight); }
    int VerticalPageScroll() const override;
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    // Where each trace line stands: worked out once for the lines and the font, so that a
    // paint draws only the lines in view.
    void Layout();
    int LineAt(int y) const;
    void ScrollLines(int delta);
    void ChangeFont();
    void RunSignalNames();
    void RunColourSettings();
    void PrintThroughPreviewView();

    CVexaClientDoc &m_doc;
    VexaSettings &m_settings;
    QFont m_font;
    int32_t m_nLineHeight = -13;
    std::vector<int32_t> m_tops;  // top of each line, and the end of the last one
    size_t m_laidOutLines = static_cast<size_t>(-1);
    int m_laidOutHeight = -1;
};

}  // namespace vexa
