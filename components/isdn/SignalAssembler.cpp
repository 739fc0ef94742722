#include "SignalAssembler.h"

#include "DecodedText.h"
#include "HexText.h"
#include "TraceLine.h"

#include <algorithm>

namespace vexa::isdn {

using namespace component;

namespace {

// Index of the five configured names: 0 DlrData, 1 DlrDataLong, 2 DliData, 3 DliDataLong,
// 4 DliuiDataLong. DlrData and DliData carry one part of a split message.
bool CarriesPart(int nameIndex) { return nameIndex == 0 || nameIndex == 2; }

constexpr size_t kPieceLength = 511;

// Copies a word of a record line into a string that keeps its room: the plain append
// of an emptied string, cheaper than the general replacing of assign.
void CopyWord(std::string &to, std::string_view from) {
    to.clear();
    to.append(from);
}

// The rows this reader reads, by their keyword.
enum class Keyword { None, EquNo, Part, Data, Len };

// The keyword a row's text (from its keyword on) starts with, and in rest what follows it.
// The keywords differ in their first letter: only the one it names is tried.
Keyword KeywordOf(std::string_view text, std::string_view &rest) {
    switch (text.empty() ? '\0' : text[0]) {
    case 'E': return TakeKeyword(text, "EQU", rest) && TakeKeyword(rest, "NO", rest) ? Keyword::EquNo : Keyword::None;
    case 'P': return TakeKeyword(text, "PART", rest) ? Keyword::Part : Keyword::None;
    case 'D': return TakeKeyword(text, "DATA", rest) ? Keyword::Data : Keyword::None;
    case 'L': return TakeKeyword(text, "LEN", rest) ? Keyword::Len : Keyword::None;
    default: return Keyword::None;
    }
}

}  // namespace

SignalAssembler::SignalAssembler() {
    m_names = {"DLRDATA", "DLRDATALONG", "DLIDATA", "DLIDATALONG", "DLIUIDATALONG"};
}

void SignalAssembler::SetSignalNames(const std::array<std::string, 5> &names) { m_names = names; }

void SignalAssembler::Reset() {
    m_open = OpenSignal{};
    m_waiting.clear();
    m_midLine = false;
    m_lastWasData = false;
    m_abandoned = false;
    m_pending = false;
}

bool SignalAssembler::TakePending() {
    bool p = m_pending;
    m_pending = false;
    return p;
}

void SignalAssembler::AddProblem(std::vector<std::string> &list, std::string problem) {
    if (list.size() < kMaxProblems)
        list.push_back(std::move(problem));
    else if (list.size() == kMaxProblems)
        list.push_back("Further problems not listed");
}

void SignalAssembler::ClearOpen() {
    m_open.carriage = Carriage::None;
    m_open.closed = true;
    SignalHeader &h = m_open.header;
    h.sequence = 0;
    h.time.clear();
    h.direction.clear();
    h.signalName.clear();
    h.originator.clear();
    h.destination.clear();
    h.equ.clear();
    m_open.octets.clear();
    m_open.droppedOctets = 0;
    m_open.problems.clear();
    m_open.hasPart = false;
    m_open.partIndex = 0;
    m_open.partCount = 0;
}

AssembledMessage &SignalAssembler::NewMessage(LineResult &result) {
    if (result.count == result.completed.size()) result.completed.emplace_back();
    return result.completed[result.count++];
}

void SignalAssembler::TakeOpen(AssembledMessage &msg) {
    // The header's words are copied into msg's buffers, which keep their room from one
    // message to the next (short words are copied faster than strings change places);
    // the octets change places. ClearOpen empties the open signal before the next one.
    const SignalHeader &from = m_open.header;
    SignalHeader &to = msg.header;
    to.sequence = from.sequence;
    to.time.assign(from.time);
    to.direction.assign(from.direction);
    to.signalName.assign(from.signalName);
    to.originator.assign(from.originator);
    to.destination.assign(from.destination);
    to.equ.assign(from.equ);
    msg.octets.swap(m_open.octets);
    msg.problems.swap(m_open.problems);
}

void SignalAssembler::Feed(std::string_view piece, LineResult &result) {
    result.kind = kOther;
    result.completion = 0;
    result.count = 0;
    bool continuation = m_midLine;
    bool ended = !piece.empty() && piece.back() == '\n';
    m_midLine = !ended && piece.size() >= kPieceLength;

    std::string_view line = StripLineEnd(piece);
    if (continuation && !StartsLineOfItsOwn(line)) {
        if (m_lastWasData && !m_open.closed)
            AddProblem(m_open.problems, "DATA row longer than 511 characters: its end was not read");
        return;
    }
    m_lastWasData = false;

    // A row begins with a blank: most lines of a trace are rows, which need none of the
    // record line's checks.
    const bool row = !line.empty() && (line[0] == ' ' || line[0] == '\t');
    if (!row && IsEndLine(line)) {
        if (!m_open.closed) CloseOpenSignal(false, result);
        if (result.completion) result.completion = 1;
        if (!m_waiting.empty() || m_abandoned) m_pending = true;
        m_waiting.clear();
        m_abandoned = false;
        ClearOpen();
        return;
    }

    if (!row) {
        RecordLine rec;  // made only for lines that may be record lines
        if (ParseRecordLine(line, rec)) {
            if (!m_open.closed) {
                CloseOpenSignal(false, result);
                if (result.completion) result.completion = 2;
            }
            ClearOpen();
            int nameIndex = -1;
            for (int i = 0; i < 5; ++i) {
                if (!m_names[i].empty() && rec.signalName == m_names[i]) {
                    nameIndex = i;
                    break;
                }
            }
            if (nameIndex < 0) return;
            result.kind = kRecordLine;
            m_open.carriage = CarriesPart(nameIndex) ? Carriage::Part : Carriage::Whole;
            m_open.closed = false;
            SignalHeader &h = m_open.header;
            h.sequence = rec.sequence;
            CopyWord(h.time, rec.time);
            CopyWord(h.direction, rec.direction);
            CopyWord(h.signalName, rec.signalName);
            CopyWord(h.originator, rec.originator);
            CopyWord(h.destination, rec.destination);
            return;
        }
    }

    std::string_view keyword;
    if (m_open.closed || !SplitRow(line, keyword)) return;

    std::string_view rest;
    const Keyword kind = KeywordOf(keyword, rest);
    if (kind == Keyword::EquNo) {
        CopyWord(m_open.header.equ, TrimBlanks(keyword));
        result.kind = kHeaderRow;
    } else if (kind == Keyword::Part) {
        result.kind = kControlRow;
        if (m_open.carriage != Carriage::Part) {
            AddProblem(m_open.problems, "PART row in a signal that carries a whole message (ignored)");
            return;
        }
        long long i = 0, n = 0;
        std::string_view t = TrimBlanks(rest);
        bool ok = ReadDecimal(t, 0x7FFFFFFF, i) && !t.empty() && t.front() == '/';
        if (ok) {
            t.remove_prefix(1);
            ok = ReadDecimal(t, 0x7FFFFFFF, n) && TrimBlanks(t).empty();
        }
        if (!ok || m_open.hasPart) {
            AddProblem(m_open.problems, m_open.hasPart ? "Second PART row in one signal"
                                                       : "PART row not of the form PART i/n: \"" +
                                                             SafeText(TrimBlanks(rest)) + "\"");
            if (!m_open.hasPart) {
                m_open.hasPart = true;
                m_open.partIndex = 0;
                m_open.partCount = 0;
            }
            return;
        }
        m_open.hasPart = true;
        m_open.partIndex = i;
        m_open.partCount = n;
    } else if (kind == Keyword::Data) {
        result.kind = kDataRow;
        m_lastWasData = m_midLine;
        ReadDataRow(rest);
    } else if (kind == Keyword::Len) {
        result.kind = kControlRow;
        ReadLenRow(rest, result);
    }
}

// A line of exactly 511 characters (or a multiple) arrives cut before its line end, and
// the program skips the piece that holds only the line end: the piece after such a cut
// may be the next line. It is taken as one when it plainly starts a line of the trace
// (an end line, a record line, a row with a keyword this reader reads); the rest of a
// long DATA row is hex digits, and the rest of a long free text is left unread.
bool SignalAssembler::StartsLineOfItsOwn(std::string_view line) const {
    if (line.empty()) return false;
    if (line[0] != ' ' && line[0] != '\t') {
        RecordLine rec;
        return IsEndLine(line) || ParseRecordLine(line, rec);
    }
    std::string_view keyword, rest;
    return SplitRow(line, keyword) && KeywordOf(keyword, rest) != Keyword::None;
}

void SignalAssembler::ReadDataRow(std::string_view text) {
    HexRowProblems problems;
    size_t dropped = AppendHexOctets(text, m_open.octets, problems, kMaxMessageOctets);
    m_open.droppedOctets += dropped;
    if (problems.badCharacters)
        AddProblem(m_open.problems, "DATA row with characters that are not hex digits: \"" +
                                        SafeText(TrimBlanks(text)) + "\"");
    if (problems.oddDigits)
        AddProblem(m_open.problems, "DATA row with an odd number of hex digits: \"" + SafeText(TrimBlanks(text)) + "\"");
    if (problems.tokens == 0) AddProblem(m_open.problems, "DATA row without octets");
}

void SignalAssembler::ReadLenRow(std::string_view text, LineResult &result) {
    long long len = 0;
    std::string_view t = TrimBlanks(text);
    size_t carried = m_open.octets.size() + m_open.droppedOctets;
    if (!ReadDecimal(t, 100000000, len) || !TrimBlanks(t).empty()) {
        AddProblem(m_open.problems, "LEN row without a valid number: \"" + SafeText(TrimBlanks(text)) + "\"");
    } else if (static_cast<size_t>(len) > carried) {
        AddProblem(m_open.problems, "Fewer octets than LEN says: " + std::to_string(carried) + " DATA octets, LEN " +
                                        std::to_string(len));
    } else if (static_cast<size_t>(len) < carried) {
        AddProblem(m_open.problems, "More octets than LEN says: " + std::to_string(carried) + " DATA octets, LEN " +
                                        std::to_string(len));
    }
    CloseOpenSignal(true, result);
    if (result.completion) result.completion = 1;
}

void SignalAssembler::CloseOpenSignal(bool lenSeen, LineResult &result) {
    m_open.closed = true;
    if (m_open.droppedOctets)
        AddProblem(m_open.problems, "Message longer than " + std::to_string(kMaxMessageOctets) + " octets: " +
                                        std::to_string(m_open.droppedOctets) + " octets not kept");
    if (m_open.carriage == Carriage::Whole) {
        if (!lenSeen) AddProblem(m_open.problems, "LEN row missing: the signal may be incomplete");
        TakeOpen(NewMessage(result));
        result.completion = 1;
        return;
    }
    if (m_open.carriage == Carriage::Part) FinishPart(lenSeen, result);
}

void SignalAssembler::Standalone(std::string problem, LineResult &result) {
    AssembledMessage &msg = NewMessage(result);
    TakeOpen(msg);
    if (!problem.empty()) AddProblem(msg.problems, std::move(problem));
    result.completion = 1;
}

void SignalAssembler::FinishPart(bool lenSeen, LineResult &result) {
    const long long i = m_open.partIndex, n = m_open.partCount;
    std::string partText = "PART " + std::to_string(i) + "/" + std::to_string(n);
    if (!lenSeen) AddProblem(m_open.problems, "LEN row missing in " + partText);
    if (!m_open.hasPart) return Standalone("PART row missing: the part cannot be joined to a message", result);
    if (n == 0 || i == 0 || i > n)
        return Standalone(partText + ": part number out of range; shown on its own", result);

    auto key = std::make_pair(m_open.header.equ, m_open.header.direction);
    if (i == 1) {
        if (n == 1) return Standalone(std::string(), result);  // a message of one part
        auto it = m_waiting.find(key);
        if (it != m_waiting.end()) {
            m_abandoned = true;
            m_waiting.erase(it);
        }
        if (m_waiting.size() >= kMaxWaitingMessages) {
            m_waiting.erase(m_waiting.begin());
            m_abandoned = true;
        }
        Waiting w;
        w.header = std::move(m_open.header);
        w.octets = std::move(m_open.octets);
        w.problems = std::move(m_open.problems);
        w.partCount = n;
        m_waiting.emplace(std::move(key), std::move(w));
        return;
    }
    auto it = m_waiting.find(key);
    if (it == m_waiting.end())
        return Standalone(partText + " without the parts before it; shown on its own", result);
    Waiting &w = it->second;
    if (w.partCount != n || w.nextPart != i)
        return Standalone(partText + " does not follow part " + std::to_string(w.nextPart - 1) + "/" +
                              std::to_string(w.partCount) + " of this equipment; shown on its own",
                          result);
    for (std::string &p : m_open.problems) AddProblem(w.problems, std::move(p));
    size_t room = kMaxMessageOctets - std::min(kMaxMessageOctets, w.octets.size());
    if (m_open.octets.size() > room) {
        if (!w.overflow)
            AddProblem(w.problems, "Message longer than " + std::to_string(kMaxMessageOctets) +
                                       " octets: the rest is not kept");
        w.overflow = true;
        w.octets.insert(w.octets.end(), m_open.octets.begin(), m_open.octets.begin() + room);
    } else {
        w.octets.insert(w.octets.end(), m_open.octets.begin(), m_open.octets.end());
    }
    ++w.nextPart;
    if (i < n) return;
    AssembledMessage &msg = NewMessage(result);
    msg.header = std::move(w.header);
    msg.octets = std::move(w.octets);
    msg.problems = std::move(w.problems);
    m_waiting.erase(it);
    result.completion = 1;
}

}  // namespace vexa::isdn
