// The window of one trace document: the trace view on the left and the results frame
// (result text above the message list) on the right, always maximised.
#pragma once

#include <QMdiSubWindow>

class QSplitter;

namespace vexa {

class CVexaClientDoc;
class CVexaClientView;
class CVexaMdiEditView;
struct VexaSettings;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    // firstWindow: the document's first window, whose views the document reaches.
    CChildFrame(CVexaClientDoc &doc, VexaSettings &settings, bool firstWindow);
    ~CChildFrame() override;

    CVexaClientDoc &Document() const { return m_doc; }
    // The views live until the window closes.
    CVexaClientView *TraceView() const { return m_traceView; }
    CVexaMdiEditView *ResultsFrame() const { return m_results; }
    QSplitter *Splitter() const { return m_wndSplitter; }

    // Shows the window maximised and active.
    void ActivateFrame();
    // The trace's file name; with a number, "name:number" (one of several windows).
    void SetTitleFromDocument(int number = 0);
    // Makes this window's views the ones the document talks to.
    void RegisterViews();
    // F6 / Shift+F6: the keyboard focus to the next or previous pane.
    void CyclePane(bool forward);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Deletes the trace view and the results frame with their views, which all refer to
    // the document; afterwards the view accessors answer null.
    void DestroyViews();

    CVexaClientDoc &m_doc;
    QSplitter *m_wndSplitter = nullptr;
    CVexaClientView *m_traceView = nullptr;
    CVexaMdiEditView *m_results = nullptr;
    bool m_splitDone = false;
};

}  // namespace vexa
