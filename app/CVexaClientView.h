// The trace view: the left pane of a trace window. It shows the trace's lines as they were
// read, and it is where the document's commands arrive: the protocol, the interpretation,
// the signal names and colour settings, saving the settings, help and its own right-button
// menu with the output options.
#pragma once

#include "CTextPaneView.h"
#include "VexaSettings.h"
#include "ViewInterfaces.h"

#include <QFont>

#include <vector>

class QMenu;

namespace vexa {

class CVexaClientDoc;
class CVexaMdiEditView;

class CVexaClientView : public CTextPaneView, public ITraceView {
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

    // The rows of the text pane: the trace's lines, as drawn.
    size_t TextRowCount() const override;
    std::string_view TextRow(size_t row, std::string &scratch) const override;
    int TextRowTop(size_t row) const override;
    int TextRowHeight() const override;
    size_t TextRowAt(int contentY) const override { return static_cast<size_t>(LineAt(contentY)); }
    const QFont &TextFont() const override { return m_font; }
    void PrepareTextRows() override { Layout(); }

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
    // The results frame beside this view in its window, and its result text.
    CVexaMdiEditView *OwnResults() const;
    QWidget *OwnResultView() const;

    CVexaClientDoc &m_doc;
    VexaSettings &m_settings;
    QFont m_font;
    FontRecord m_fontRecord;  // the trace font as the settings keep it
    int32_t m_nLineHeight = -13;
    std::vector<int32_t> m_tops;  // top of each line, and the end of the last one
    size_t m_laidOutLines = static_cast<size_t>(-1);
    int m_laidOutHeight = -1;
};

}  // namespace vexa
