// One interpretation run: a pass over the trace that feeds every line to the parser
// component of the document's protocol and writes the decoded messages, as they are
// completed, to the output file and to the document's run lines.
#pragma once

#include "COutputWriter.h"
#include "CVexaClientDoc.h"
#include "CTraceSource.h"

#include <string>
#include <vector>

namespace vexa {

class CInterpretationRun {
public:
    explicit CInterpretationRun(CVexaClientDoc &doc);
    bool Run();

private:
    enum class Next { Continue, NextLine };

    bool Start();
    void ReserveRunLines();
    bool FindFirstRecordLine();
    void ProcessLines();
    void ProcessLine();
    // The current line to the output, unchanged.
    void WriteLine() { m_lineStable ? m_out.WriteOutStable(m_line) : m_out.WriteOut(m_line); }
    void HoldIpLines(std::vector<std::string> &held, bool holdEveryLine);
    Next CompleteSignal();
    // Writes decoded message i of the completed signal; false stops the loop over i.
    bool WriteDecodedMessage(int16_t i);
    bool WriteSpecialBlock(const SequenceMessage &m);
    void WriteDectHeaderOf(const SequenceMessage &m, bool useAlternative);
    void FetchCallReference();
    void WriteIncompleteBlock();
    void Finish();

    bool IsIsdn() const { return m_protocol >= 1 && m_protocol <= 4; }
    bool IsDect() const { return m_protocol == 5; }
    bool IsIp() const { return m_protocol == 6; }
    static bool IsRow(int16_t kind) { return kind >= 1 && kind <= 3; }

    CVexaClientDoc &m_doc;
    CParserClient *m_client = nullptr;
    int m_protocol = 0;
    bool m_writeAllRows = false;
    bool m_writeHexInfo = false;
    CTraceSource m_trace;
    COutputWriter m_out;

    std::string_view m_line;  // the current line: a piece of the trace, the marked line or "END"
    bool m_lineStable = false;  // m_line stays where it is for the whole run (a kept piece, "END")
    std::vector<std::string> m_dataRows;
    int16_t m_lineKind = 0;
    int16_t m_completion = 0;
    int16_t m_status = 0;
    int32_t m_lastIndex = 1;
    int16_t m_sequence = 0;
    int32_t m_previousSequence = -1;
    int32_t m_count = 0;
    int32_t m_lastWrittenSequence = 0;
    // The last message decoded (its text is that of an incomplete one) and the one the
    // next fetch fills: two messages whose roles change with each fetch.
    SequenceMessage m_messages[2];
    SequenceMessage *m_lastDecoded = &m_messages[0];
    SequenceMessage *m_fetched = &m_messages[1];
    bool m_endMarkFed = false;
    int64_t m_ipSavedPosition = 0;
    std::string m_callReference;
    bool m_callReferenceFlag = false;
};

}  // namespace vexa
