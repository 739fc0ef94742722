// The summary of a whole trace in a window: messages per type and direction, causes,
// invalid messages and calls that never ended, each section a branch of a tree. Choosing a
// line (double click or Enter) announces the first of its signals, so that the trace
// window can select its row and go to it.
#pragma once

#include "TraceSummary.h"

#include <QTreeWidget>

namespace vexa {

class CSummaryWindow : public QTreeWidget {
    Q_OBJECT
public:
    explicit CSummaryWindow(QWidget *parent = nullptr);
    void SetSummary(const TraceSummary &summary);

signals:
    void SignalChosen(int sequence);

private:
    void OnChosen(QTreeWidgetItem *item);
};

}  // namespace vexa
