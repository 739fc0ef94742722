#include "CallFlowCommands.h"

#include "CCallFlowWindow.h"
#include "CListCtrlEx.h"
#include "CSummaryWindow.h"
#include "CVexaClientDoc.h"
#include "CommandIds.h"
#include "TraceSummary.h"

#include <QMdiSubWindow>
#include <QPointer>

#include <algorithm>

namespace vexa {

namespace {

// The list row of a message: the row of the same signal (where the run knows the
// signals' blocks), else the first row of its sequence number; -1 when the list does not
// show it (narrowed by a direction or a filter).
int RowOfMessage(const CVexaClientDoc &doc, const CListCtrlEx &list, int sequence, int index) {
    const int64_t block = index > 0 ? doc.m_SignalBlocks.BlockOf(index, static_cast<int16_t>(sequence)) : -1;
    const int rows = std::min<int>(list.GetItemCount(), static_cast<int>(doc.m_RowSignals.size()));
    int first = -1;
    for (int row = 0; row < rows; ++row) {
        const CVexaClientDoc::RowSignal &shown = doc.m_RowSignals[static_cast<size_t>(row)];
        if (shown.sequence != sequence) continue;
        if (block >= 0 && doc.m_SignalBlocks.BlockOf(shown.message, shown.sequence) == block) return row;
        if (first < 0) first = row;
    }
    return first;
}

// Selects a signal's row and goes to it in the result text and the trace.
void GoToSignal(QPointer<CListCtrlEx> list, int sequence, int index) {
    if (!list || !list->Document()) return;
    const int row = RowOfMessage(*list->Document(), *list, sequence, index);
    if (row < 0) return;
    list->SelectRow(row);
    list->scrollTo(list->model()->index(row, 0));
    list->OnListCommand(ids::ID_LIST_GOTO);
}

// A window of its own over the trace window: it goes when the trace window goes.
void ShowOver(QMdiSubWindow *frame, QWidget *window, const QString &title) {
    window->setParent(frame, Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(title);
    window->resize(760, 560);
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

bool ShowCallFlow(QMdiSubWindow *frame, CVexaClientDoc &doc, CListCtrlEx &list, int row,
                  const VexaSettings &settings) {
    if (!doc.m_bOutputLoaded || row < 0 || static_cast<size_t>(row) >= doc.m_RowSignals.size()) return false;
    CallFlow flow = BuildCallFlowOfMessage(ReadFlowMessages(doc, FlowFacts::Diagram), doc.m_RowSignals[static_cast<size_t>(row)].message);
    if (flow.arrows.empty()) return false;
    const QString title = QStringLiteral("Call Flow - %1 - %2")
                              .arg(QString::fromStdString(flow.title), frame ? frame->windowTitle() : QString());
    auto *window = new CCallFlowWindow;
    FlowColors colors;
    colors.outgoing = settings.m_crOutgoing;
    colors.incoming = settings.m_crIncoming;
    window->SetFlow(std::move(flow), colors);
    QPointer<CListCtrlEx> target = &list;
    QObject::connect(window, &CCallFlowWindow::ArrowActivated, window,
                     [target](int sequence, int index) { GoToSignal(target, sequence, index); });
    ShowOver(frame, window, title);
    window->View()->setFocus();
    return true;
}

bool ShowSummary(QMdiSubWindow *frame, CVexaClientDoc &doc, CListCtrlEx &list) {
    if (!doc.m_bOutputLoaded) return false;
    auto *window = new CSummaryWindow;
    window->SetSummary(BuildTraceSummary(ReadFlowMessages(doc)));
    QPointer<CListCtrlEx> target = &list;
    QObject::connect(window, &CSummaryWindow::SignalChosen, window,
                     [target](int sequence) { GoToSignal(target, sequence, 0); });
    ShowOver(frame, window, QStringLiteral("Summary - %1").arg(frame ? frame->windowTitle() : QString()));
    return true;
}

}  // namespace vexa
