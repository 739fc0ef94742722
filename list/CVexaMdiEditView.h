// The results frame: the right-hand pane of a trace window, split into the result text
// view on top and the message list view below.
#pragma once

#include <QWidget>

class QSplitter;
class CVexaEditView;

namespace vexa {

class CVexaClientDoc;
class CVexaListView;
struct VexaSettings;

class CVexaMdiEditView : public QWidget {
    Q_OBJECT
public:
    CVexaMdiEditView(CVexaClientDoc &doc, VexaSettings &settings, QWidget *parent = nullptr);
    ~CVexaMdiEditView() override;

    CVexaEditView *EditView() const { return m_pEditView; }
    CVexaListView *ListView() const { return m_pListView; }
    QSplitter *Splitter() const { return m_wndSplitter; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QSplitter *m_wndSplitter = nullptr;
    CVexaEditView *m_pEditView = nullptr;
    CVexaListView *m_pListView = nullptr;
    bool m_bPanesSized = false;
};

}  // namespace vexa
