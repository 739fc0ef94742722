// View > Call Flow, the list's Call Flow and View > Summary: windows that show a call and
// the whole trace at a glance, each opened over one trace window and closed with it.
#pragma once

class QMdiSubWindow;

namespace vexa {

class CListCtrlEx;
class CVexaClientDoc;
struct VexaSettings;

// Opens the ladder diagram of the call of a list row's signal; an arrow chosen there
// selects its signal's row and goes to it. False when the row stands for no message.
bool ShowCallFlow(QMdiSubWindow *frame, CVexaClientDoc &doc, CListCtrlEx &list, int row,
                  const VexaSettings &settings);
// Opens the summary of the whole trace; a line chosen there selects its first signal's row
// and goes to it. False when the document holds no interpretation.
bool ShowSummary(QMdiSubWindow *frame, CVexaClientDoc &doc, CListCtrlEx &list);

}  // namespace vexa
