// The views of every window of one trace document, as one: while a trace has more than one
// window (Window > New Window), the document talks to this, and each of its windows shows
// the same list rows, result text and trace.
#pragma once

#include "ViewInterfaces.h"

#include <functional>
#include <vector>

namespace vexa {

class CChildFrame;

class CDocumentViews : public IListView, public IResultView, public ITraceView {
public:
    // frames: the document's windows, in the order they were opened; active: the one the
    // user works in now (null when none of them is active).
    CDocumentViews(std::function<std::vector<CChildFrame *>()> frames, std::function<CChildFrame *()> active);

    // IListView: rows go to every window's list; questions are answered by the first.
    bool AddRow(int row, int16_t sequence, const std::string &direction, const std::string &signalType,
                const std::string &message, const std::string &time, const std::string &from, const std::string &to,
                bool valid) override;
    bool ReplaceRow(int row, int16_t sequence, const std::string &direction, const std::string &signalType,
                    const std::string &message, const std::string &time, const std::string &from,
                    const std::string &to, bool valid) override;
    void ClearList() override;
    int GetRowCount() const override;
    std::string GetItemText(int row, int column) const override;
    // The list of the window the user works in takes the focus; the others stay behind.
    void FocusList() override;

    // IResultView and ITraceView: every window follows.
    void SetContentSizes(ContentSize total, ContentSize page, ContentSize line) override;
    void Repaint() override;
    void ShowProtocolInStatusBar() override;

private:
    CChildFrame *Working() const;

    std::function<std::vector<CChildFrame *>()> m_frames;
    std::function<CChildFrame *()> m_active;
};

}  // namespace vexa
