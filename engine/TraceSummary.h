// The summary of a whole trace: messages per type and direction, causes by value with
// their texts, invalid messages with their first "!!!" reason, and calls that never ended
// (a SETUP without RELEASE COMPLETE). Each line names the signals it stands for, so that
// a window can lead to their rows.
#pragma once

#include "CallFlow.h"

#include <ostream>
#include <string>
#include <vector>

namespace vexa {

struct SummaryLine {
    std::string text;
    std::vector<int16_t> sequences;  // the signals of the line, in trace order
};

struct TraceSummary {
    std::vector<SummaryLine> messageTypes;  // "SETUP  Send  3"
    std::vector<SummaryLine> causes;        // "17 User busy  2"
    std::vector<SummaryLine> invalid;       // "123 DISCONNECT  !!! ..."
    std::vector<SummaryLine> unended;       // "call key: SETUP 120 at 10.02.11.10"
};

TraceSummary BuildTraceSummary(const std::vector<FlowMessage> &messages);

// The summary as text, one section after the other, as vexa-interpret prints it.
void WriteTraceSummary(const TraceSummary &summary, std::ostream &out);

}  // namespace vexa
