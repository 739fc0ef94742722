#include "CDocumentViews.h"

#include "CChildFrame.h"
#include "CVexaClientView.h"
#include "CVexaEditView.h"
#include "CVexaListView.h"
#include "CVexaMdiEditView.h"

namespace vexa {

namespace {

CVexaListView *ListOf(CChildFrame *frame) {
    return frame && frame->ResultsFrame() ? frame->ResultsFrame()->ListView() : nullptr;
}

CVexaEditView *ResultOf(CChildFrame *frame) {
    return frame && frame->ResultsFrame() ? frame->ResultsFrame()->EditView() : nullptr;
}

}  // namespace

CDocumentViews::CDocumentViews(std::function<std::vector<CChildFrame *>()> frames, std::function<CChildFrame *()> active)
    : m_frames(std::move(frames)), m_active(std::move(active)) {}

CChildFrame *CDocumentViews::Working() const {
    const std::vector<CChildFrame *> frames = m_frames();
    CChildFrame *active = m_active();
    for (CChildFrame *frame : frames)
        if (frame == active && ListOf(frame)) return frame;
    for (CChildFrame *frame : frames)
        if (ListOf(frame)) return frame;
    return nullptr;
}

bool CDocumentViews::AddRow(int row, int16_t sequence, const std::string &direction, const std::string &signalType,
                            const std::string &message, const std::string &time, const std::string &from,
                            const std::string &to, bool valid) {
    bool added = true;
    for (CChildFrame *frame : m_frames())
        if (CVexaListView *list = ListOf(frame))
            added = list->AddRow(row, sequence, direction, signalType, message, time, from, to, valid) && added;
    return added;
}

bool CDocumentViews::ReplaceRow(int row, int16_t sequence, const std::string &direction,
                                const std::string &signalType, const std::string &message, const std::string &time,
                                const std::string &from, const std::string &to, bool valid) {
    bool replaced = true;
    for (CChildFrame *frame : m_frames())
        if (CVexaListView *list = ListOf(frame))
            replaced = list->ReplaceRow(row, sequence, direction, signalType, message, time, from, to, valid) && replaced;
    return replaced;
}

void CDocumentViews::ClearList() {
    for (CChildFrame *frame : m_frames())
        if (CVexaListView *list = ListOf(frame)) list->ClearList();
}

int CDocumentViews::GetRowCount() const {
    for (CChildFrame *frame : m_frames())
        if (CVexaListView *list = ListOf(frame)) return list->GetRowCount();
    return 0;
}

std::string CDocumentViews::GetItemText(int row, int column) const {
    for (CChildFrame *frame : m_frames())
        if (CVexaListView *list = ListOf(frame)) return list->GetItemText(row, column);
    return {};
}

void CDocumentViews::FocusList() {
    if (CVexaListView *list = ListOf(Working())) list->FocusList();
}

void CDocumentViews::SetContentSizes(ContentSize total, ContentSize page, ContentSize line) {
    for (CChildFrame *frame : m_frames())
        if (CVexaEditView *result = ResultOf(frame)) result->SetContentSizes(total, page, line);
}

void CDocumentViews::Repaint() {
    for (CChildFrame *frame : m_frames()) {
        if (CVexaEditView *result = ResultOf(frame)) result->Repaint();
        if (frame && frame->TraceView()) frame->TraceView()->Repaint();
    }
}

void CDocumentViews::ShowProtocolInStatusBar() {
    CChildFrame *frame = Working();
    if (frame && frame->TraceView()) frame->TraceView()->ShowProtocolInStatusBar();
}

}  // namespace vexa
