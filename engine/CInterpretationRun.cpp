#include "CInterpretationRun.h"

#include "OutputText.h"
#include "StringTable.h"

#include <algorithm>
#include <new>
#include <unistd.h>

namespace vexa {

namespace {
constexpr int16_t kPendingIncomplete = -10;
constexpr int16_t kIpMark = -100;
constexpr int16_t kIpRewind = 100;
constexpr int16_t kIpRewindAndDrop = 300;
constexpr int16_t kIpRelease = 200;
constexpr int16_t kIpDiscard = -200;
constexpr uint32_t kProgressEvery = 1u << 16;  // lines between two progress reports
}  // namespace

bool CVexaClientDoc::RunInterpretation() {
    CInterpretationRun run(*this);
    bool done = run.Run();
    m_host.RunFinished();
    return done;
}

CInterpretationRun::CInterpretationRun(CVexaClientDoc &doc)
    : m_doc(doc), m_out(doc.m_RunLines, doc.Settings().m_bWriteAllRows) {}

bool CInterpretationRun::Run() {
    if (!Start()) return false;
    if (!FindFirstRecordLine()) return false;
    ProcessLines();
    Finish();
    return m_doc.m_bOutputLoaded;  // false when the output could not be written whole
}

bool CInterpretationRun::Start() {
    CVexaClientDoc &doc = m_doc;
    doc.m_nRunProtocol = doc.m_nProtocol;
    if (doc.m_nRunProtocol == 0) {
        doc.Host().ShowMessage(LoadString(IDS_NO_PROTOCOL));
        return false;
    }
    if (!doc.m_bParserCreated) {
        if (!doc.CreateParser()) return false;
        doc.NewOutputName();
        doc.m_bParserCreated = true;
    } else {
        if (CParserClient *client = doc.RunClient()) client->Reset();
        doc.m_DisplayLines.Clear();
        doc.m_RunLines.Clear();
        if (doc.m_pListView) doc.m_pListView->ClearList();
        doc.ReleaseParser();
        if (!doc.CreateParser()) return false;
        // A later run rewrites the document's output file, unless that is a file the user
        // saved: the saved interpretation stays as it was saved, and the run gets a new
        // output file of its own.
        if (doc.m_bOutputKept) doc.NewOutputName();
    }
    m_protocol = doc.m_nRunProtocol;
    m_client = doc.RunClient();
    m_writeAllRows = doc.Settings().m_bWriteAllRows;
    m_writeHexInfo = doc.Settings().m_bWriteHexInfo;
    doc.m_IpDataRows.clear();
    doc.m_IpHeldRows.clear();
    doc.m_bIpMarkOpen = false;

    if (doc.m_strTracePath.empty() || !m_trace.Open(doc.m_strTracePath, doc.m_TraceLines, doc.m_TraceStamp)) return false;
    if (doc.m_bKeepLines) ReserveRunLines();
    doc.m_RunLayout.reset();
    doc.m_SignalBlocks.Clear();
    doc.m_RowSignals.clear();
    doc.m_RowDisplayLines.clear();
    doc.m_bDisplayByRows = false;
    // The rows of the result text are worked out by the writer where a view will show them.
    if (!m_out.Open(doc.m_strOutputPath, doc.m_pResultView != nullptr, doc.m_bKeepLines)) {
        doc.m_bOutputLoaded = false;
        std::string text = LoadString(IDS_OUTPUT_NOT_WRITABLE);
        text += doc.m_strOutputPath;
        doc.Host().ShowMessage(text);
        return false;
    }
    doc.m_bTraceRecognised = false;
    m_out.WriteStart();
    return true;
}

// Room for the run lines at once, so that the list of a large run is never copied to
// grow: a decoded trace makes some five run lines of every trace line. Room that is not
// used costs only address space (the most here, 2 GB, for traces of some 30 million
// lines); where even that is short, the list grows as it goes.
void CInterpretationRun::ReserveRunLines() {
    constexpr int64_t kLinesPerTraceLine = 8;
    constexpr int64_t kAverageLineLength = 40;
    constexpr int64_t kMostReserved = int64_t(1) << 28;
    const int64_t traceLines = m_trace.FromMemory() ? m_trace.Size() : m_trace.Size() / kAverageLineLength;
    try {
        m_doc.m_RunLines.Reserve(static_cast<size_t>(std::min(traceLines * kLinesPerTraceLine, kMostReserved)));
    } catch (const std::bad_alloc &) {
    }
}

bool CInterpretationRun::FindFirstRecordLine() {
    std::string_view line;
    while (m_trace.ReadLine(line)) {
        if (line.empty() || line == "\n") continue;
        if (!IsRecordLine(line)) continue;
        m_doc.m_bTraceRecognised = true;
        m_line = line;
        m_lineStable = m_trace.FromMemory();
        m_client->ParseLine(m_line, m_lineKind, m_completion);
        if (!m_writeAllRows && m_lineKind != 0) m_dataRows.emplace_back(m_line);
        if (m_writeAllRows) WriteLine();
        return true;
    }
    m_trace.Close();
    m_out.Close();
    m_doc.m_RunLines.Clear();
    m_doc.m_DisplayLines.Clear();
    m_doc.Host().ShowMessage(LoadString(IDS_NOT_A_TRACE));
    return false;
}

void CInterpretationRun::ProcessLines() {
    if (IsIp()) static_cast<CIpParser *>(m_client)->FindFirstByProtocol("");
    uint32_t sinceProgress = 0;
    std::string_view piece;
    for (;;) {
        if (m_trace.ReadLine(piece)) {
            m_line = piece;
            m_lineStable = m_trace.FromMemory();
        } else {
            if (IsIsdn() && m_doc.m_IsdnParser.GetPendingStatus() == kPendingIncomplete) WriteIncompleteBlock();
            if (m_endMarkFed) break;
            m_line = "END";
            m_lineStable = true;
            m_endMarkFed = true;
        }
        if (m_line.empty() || m_line == "\n") continue;
        ProcessLine();
        if (++sinceProgress == kProgressEvery) {
            sinceProgress = 0;
            m_doc.Host().RunProgress(m_trace.Tell(), m_trace.Size());
        }
    }
}

void CInterpretationRun::ProcessLine() {
    m_status = m_client->ParseLine(m_line, m_lineKind, m_completion);
    CVexaClientDoc &doc = m_doc;

    if (!m_writeAllRows && m_completion == 0 && (!IsIp() || !doc.m_bIpMarkOpen)) {
        if (m_writeHexInfo ? m_lineKind > 0 : IsRow(m_lineKind)) m_dataRows.emplace_back(m_line);
    }

    if (IsIp()) {
        if (m_status == kIpMark) {
            m_ipSavedPosition = m_trace.Tell();
            doc.m_bIpMarkOpen = true;
            doc.m_strIpMarkedLine = m_line;
        } else if ((m_status == kIpRewind || m_status == kIpRewindAndDrop) && doc.m_bIpMarkOpen) {
            // A rewind goes back to the mark; without an open mark there is nowhere to go.
            m_trace.Seek(m_ipSavedPosition);
            doc.m_bIpMarkOpen = false;
            m_line = doc.m_strIpMarkedLine;
            m_lineStable = false;
            if (m_status == kIpRewindAndDrop) {
                doc.m_IpDataRows.clear();
                doc.m_IpHeldRows.clear();
            }
        }
        if (!m_writeAllRows && !m_writeHexInfo) HoldIpLines(doc.m_IpHeldRows, false);
        if (m_completion != 0) {
            m_out.WriteDataRows(m_dataRows, 1);
            m_dataRows.clear();
        }
        if (m_writeHexInfo) HoldIpLines(doc.m_IpDataRows, true);
    }

    if (m_completion != 0 && CompleteSignal() == Next::NextLine) return;

    if (m_completion == 2 && !m_writeAllRows) WriteLine();
    m_completion = 0;

    if (m_writeAllRows || m_line.starts_with("END")) {
        if (IsIsdn() && doc.m_IsdnParser.GetPendingStatus() == kPendingIncomplete) WriteIncompleteBlock();
        if (!(IsIp() && doc.m_bIpMarkOpen)) {
            WriteLine();
            m_endMarkFed = true;
        }
    }
    m_out.Flush();
}

// The lines of an IP message that spans several segments are held while its mark is
// open, and written or dropped as the component decides.
void CInterpretationRun::HoldIpLines(std::vector<std::string> &held, bool holdEveryLine) {
    const bool hold = holdEveryLine || IsRow(m_lineKind);
    if (!m_doc.m_bIpMarkOpen) {
        for (const std::string &row : held) m_out.WriteOut(row);
        held.clear();
        return;
    }
    if (m_status == kIpRelease) {
        for (const std::string &row : held) m_out.WriteOut(row);
        held.clear();
    } else if (m_status == kIpDiscard || m_lineKind == 0 || m_lineKind == 1) {
        held.clear();
    }
    if (hold) held.emplace_back(m_line);
}

CInterpretationRun::Next CInterpretationRun::CompleteSignal() {
    m_lastIndex = m_client->GetLastMessageIndex();
    m_sequence = m_client->GetSequenceNumber(m_lastIndex);
    m_count = m_client->GetSequenceMessageCount(m_sequence);
    m_lastWrittenSequence = 0;

    if (m_sequence == m_previousSequence) {
        // No block of its own: its messages are shown in the last signal's block.
        m_doc.m_SignalBlocks.ExtendLast(m_lastIndex);
        if (IsIp()) {
            if (m_doc.m_bIpMarkOpen) return Next::NextLine;
            if (m_writeAllRows || m_lineKind != 0) WriteLine();
            return Next::NextLine;
        }
        m_dataRows.emplace_back(m_line);
        return Next::NextLine;
    }
    m_previousSequence = m_sequence;
    if (IsDect() && m_count < 1 && m_status == 0) m_out.WriteDataRows(m_dataRows, 1);

    for (int32_t i = 1; i <= m_count && i <= INT16_MAX; ++i) {
        if (!WriteDecodedMessage(static_cast<int16_t>(i))) break;
    }
    m_out.WriteClosingMarker();
    // Where this signal's lines end, in the run lines and in the trace the document shows.
    const int64_t traceEnd = m_trace.FromMemory() ? m_trace.Tell() : -1;
    m_doc.m_SignalBlocks.Add(m_lastIndex, m_sequence,
                             traceEnd >= 0 && traceEnd < CSignalBlocks::kUnknown ? static_cast<uint32_t>(traceEnd)
                                                                                  : CSignalBlocks::kUnknown);
    m_out.NoteBlockEnd();
    return Next::Continue;
}

bool CInterpretationRun::WriteDecodedMessage(int16_t i) {
    // The blocks show the direction, the message name, the decoded text and the family's
    // further strings; the signal type, time, originator and destination are not fetched.
    constexpr uint32_t kTextsShown = CParserClient::kAllTexts & ~(1u << 1 | 1u << 3 | 1u << 4 | 1u << 5);
    int16_t status2 = m_client->GetSequenceMessage(i, m_sequence, *m_fetched, kTextsShown);
    if (status2 == 0) return false;
    // The message just fetched becomes the last decoded one; the one before lends its
    // strings' room to the next fetch.
    std::swap(m_fetched, m_lastDecoded);
    const SequenceMessage &m = *m_lastDecoded;
    m_out.WriteDataRows(m_dataRows, i);

    if (WriteSpecialBlock(m)) return false;

    // The German variant's header shows the message's call reference too.
    if (IsIsdn()) FetchCallReference();

    if (m_status == 0) {
        // Header-only block.
        m_out.WriteOpeningMarker();
        if (status2 == 1) m_out.WriteDirection(m.Text(1), m.Text(3));
        if (IsDect()) WriteDectHeaderOf(m, false);
        if (IsIsdn()) m_out.WriteCallReference(m_callReference, m_callReferenceFlag);
        if (m_protocol == 1 || m_protocol == 2) m_out.WriteProtocolDiscriminator(m.Text(8));
        m_out.WriteMessageSeparator();
        m_out.WriteClosingMarker();
        return false;
    }

    if (i == 1) {
        m_out.WriteHeaderSeparator();
        m_out.WriteOpeningMarker();
    }
    if (m_sequence != m_lastWrittenSequence) {
        m_lastWrittenSequence = m_sequence;
        if (status2 == 1) m_out.WriteDirection(m.Text(1), m.Text(3));
        if (IsDect()) WriteDectHeaderOf(m, false);
        if (IsIsdn()) m_out.WriteCallReference(m_callReference, m_callReferenceFlag);
        if (m_protocol >= 1 && m_protocol <= 3) m_out.WriteProtocolDiscriminator(m.Text(8));
        m_out.WriteHeaderSeparator();
    }
    if (IsIsdn() && m_status == -4) return false;
    m_out.WriteBodyLines(m.Text(7));
    m_out.WriteMessageSeparator();
    return true;
}

// The blocks of the component's special statuses; false when the status has none.
bool CInterpretationRun::WriteSpecialBlock(const SequenceMessage &m) {
    const bool special = (IsDect() && m_status >= -7 && m_status <= -4) || (IsIsdn() && m_status >= -7 && m_status <= -5);
    if (!special) return false;
    const std::string &text = m.Text(7);
    if (!(IsDect() && m_status == -5)) m_out.WriteOpeningMarker();
    if (IsDect()) {
        switch (m_status) {
        case -4:
            m_out.WriteMessageType(text);
            WriteDectHeaderOf(m, false);
            break;
        case -5: m_out.WriteScpLines(m.Text(9), m.Text(10)); break;
        case -6: m_out.WriteMessageType(text); break;
        case -7:
            m_out.WriteDirection(m.Text(1), m.Text(3));
            WriteDectHeaderOf(m, true);
            break;
        }
    } else {
        switch (m_status) {
        case -5: m_out.WriteProtocolDiscriminator(text); break;
        case -6:
            m_out.WriteProtocolDiscriminator(m.Text(8));
            m_out.WriteCallReferenceValue(text);
            break;
        case -7:
            m_out.WriteDirection(m.Text(1), m.Text(3));
            m_out.WriteProtocolDiscriminator(m.Text(8));
            FetchCallReference();
            m_out.WriteCallReference(m_callReference, m_callReferenceFlag);
            m_out.WriteMessageType(text);
            break;
        }
    }
    m_out.WriteMessageSeparator();
    m_out.WriteClosingMarker();
    return true;
}

void CInterpretationRun::WriteDectHeaderOf(const SequenceMessage &m, bool useAlternative) {
    std::string userPart;
    m_doc.m_DectParser.GetUserPart(m_sequence, userPart);
    m_out.WriteDectHeader(m.Text(8), m.Text(9), m.status, m.Text(10), m.Text(11), m.Text(12), userPart,
                          useAlternative, useAlternative ? std::string_view(m.Text(7)) : std::string_view());
}

void CInterpretationRun::FetchCallReference() {
    std::string raw, value;
    m_doc.m_IsdnParser.GetCallReference(m_lastIndex, raw);
    m_callReferenceFlag = m_doc.m_IsdnParser.DecodeCallReference(raw, value);
    m_callReference = NormaliseHexText(value);
}

void CInterpretationRun::WriteIncompleteBlock() {
    m_out.WriteOpeningMarker();
    m_out.WriteIncomplete(m_lastDecoded->Text(7));
    m_out.WriteMessageSeparator();
    m_out.WriteClosingMarker();
}

void CInterpretationRun::Finish() {
    m_trace.Close();
    const bool written = m_out.Close();
    m_doc.m_SignalBlocks.SetRunEnds(m_out.TakeBlockEnds());
    if (!written) {
        // A full disk, say: the file ends at what could be written. A cut interpretation
        // would pass for the whole one, so none of it is shown, listed or kept: the user
        // is told, and the file is emptied (it stays the document's, for a later run,
        // and goes when the document closes).
        std::string text = LoadString(IDS_OUTPUT_NOT_WRITABLE);
        text += m_doc.m_strOutputPath;
        m_doc.Host().ShowMessage(text);
        m_doc.m_RunLines.Clear();
        m_doc.m_SignalBlocks.Clear();
        m_doc.m_RunLayout.reset();
        m_doc.m_bOutputLoaded = false;
        (void)!truncate(m_doc.m_strOutputPath.c_str(), 0);
        m_doc.ClearDisplay();
        return;
    }
    CVexaClientDoc &doc = m_doc;
    doc.m_DisplayLines.AddAll(doc.m_RunLines);
    doc.m_RunLayout = m_out.Layout();
    if (doc.m_pResultView) {
        doc.m_pResultView->SetContentSizes(doc.m_sizeResult, {}, {});
        doc.m_pResultView->Repaint();
    }
    doc.LoadOutput();
    if (doc.m_pListView && doc.m_pListView->GetRowCount() > 0) doc.m_pListView->FocusList();
}

}  // namespace vexa
