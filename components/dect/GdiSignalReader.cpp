#include "GdiSignalReader.h"

#include "DecodedText.h"
#include "PayloadRows.h"
#include "TraceLine.h"

#include <cstring>

namespace vexa::dect {

using namespace component;

namespace {

constexpr size_t kPieceLength = 511;

enum class Keyword { None, Scp, UserPart, Data, Len };

// True when text begins with word followed by a blank or its end; rest is what follows,
// blanks skipped. Every row of a trace comes here, so it is done in place: the words are
// constants, compared in one step.
template <size_t N>
bool Takes(std::string_view text, const char (&word)[N], std::string_view &rest) {
    constexpr size_t n = N - 1;
    if (text.size() < n || std::memcmp(text.data(), word, n) != 0) return false;
    size_t at = n;
    if (at < text.size() && text[at] != ' ' && text[at] != '\t') return false;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    rest = text.substr(at);
    return true;
}

// The keyword a row's text starts with, and in rest what follows it.
Keyword KeywordOf(std::string_view text, std::string_view &rest) {
    switch (text.empty() ? '\0' : text[0]) {
    case 'S': return Takes(text, "SCP", rest) ? Keyword::Scp : Keyword::None;
    case 'U': return Takes(text, "USER", rest) && Takes(rest, "PART", rest) ? Keyword::UserPart : Keyword::None;
    case 'D': return Takes(text, "DATA", rest) ? Keyword::Data : Keyword::None;
    case 'L': return Takes(text, "LEN", rest) ? Keyword::Len : Keyword::None;
    default: return Keyword::None;
    }
}

bool IsGdiSignal(std::string_view name) { return name == "GDIREQ" || name == "GDIIND"; }

std::string_view Clipped(std::string_view text, size_t max) { return text.substr(0, std::min(text.size(), max)); }

// Puts text into to as a decoded line may show it (see SafeText), using to's room: most
// texts need no escapes and are copied as they stand.
void AssignSafe(std::string &to, std::string_view text) {
    bool plain = true;
    for (size_t i = 0; i < text.size() && plain; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        plain = c >= 0x20 && c < 0x7F && c != '|' && c != '~' && c != '\\' && c != '!' && c != '%';
    }
    if (plain) to.assign(text);
    else to = SafeText(text);
}

}  // namespace

void GdiSignalReader::Reset() {
    m_signals[0] = GdiSignal{};
    m_signals[1] = GdiSignal{};
    m_open = &m_signals[0];
    m_isOpen = false;
    m_droppedOctets = 0;
    m_midLine = false;
    m_lastWasData = false;
}

void GdiSignalReader::AddProblem(std::string problem) {
    component::AddProblem(m_open->problems, std::move(problem), kMaxProblems);
}

void GdiSignalReader::Feed(std::string_view piece, LineResult &result) {
    result.kind = kOther;
    result.completion = 0;
    result.completed = false;
    const bool continuation = m_midLine;
    const bool ended = !piece.empty() && piece.back() == '\n';
    m_midLine = !ended && piece.size() >= kPieceLength;

    std::string_view line = StripLineEnd(piece);
    if (continuation && !StartsLineOfItsOwn(line)) {
        if (m_lastWasData && m_isOpen) AddProblem("DATA row longer than 511 characters: its end was not read");
        return;
    }
    m_lastWasData = false;

    const bool row = !line.empty() && (line[0] == ' ' || line[0] == '\t');
    if (!row && IsEndLine(line)) {
        if (m_isOpen) {
            Close(false, result);
            result.completion = 1;
        }
        return;
    }
    if (!row) {
        RecordLine rec;
        if (!ParseRecordLine(line, rec)) return;
        if (m_isOpen) {
            Close(false, result);
            result.completion = 2;
        }
        if (!IsGdiSignal(rec.signalName)) return;
        result.kind = kRecordLine;
        m_isOpen = true;
        m_droppedOctets = 0;
        // The record line is kept once; its fields are views into the copy.
        GdiSignal &s = *m_open;
        s.sequence = rec.sequence;
        s.recordLine.assign(line);
        const auto at = [&](std::string_view field) {
            return field.empty() ? std::string_view()
                                 : std::string_view(s.recordLine).substr(static_cast<size_t>(field.data() - line.data()),
                                                                         field.size());
        };
        s.time = at(rec.time);
        s.direction = at(rec.direction);
        s.signalName = at(rec.signalName);
        s.originator = at(rec.originator);
        s.destination = at(rec.destination);
        return;
    }

    std::string_view keyword, rest;
    if (!m_isOpen || !SplitRow(line, keyword)) return;
    switch (KeywordOf(keyword, rest)) {
    case Keyword::Scp:
        result.kind = kHeaderRow;
        ReadScpRow(rest);
        break;
    case Keyword::UserPart:
        result.kind = kControlRow;
        if (!m_open->userPart.empty()) AddProblem("Second USER PART row in one signal (the first is kept)");
        else m_open->userPart.assign(Clipped(TrimBlanks(rest), kMaxRowText));
        break;
    case Keyword::Data:
        result.kind = kDataRow;
        m_lastWasData = m_midLine;
        ReadDataRow(rest);
        break;
    case Keyword::Len:
        result.kind = kControlRow;
        ReadLenRow(rest, result);
        break;
    case Keyword::None: break;
    }
}

bool GdiSignalReader::StartsLineOfItsOwn(std::string_view line) const {
    if (line.empty()) return false;
    if (line[0] != ' ' && line[0] != '\t') {
        RecordLine rec;
        return IsEndLine(line) || ParseRecordLine(line, rec);
    }
    std::string_view keyword, rest;
    return SplitRow(line, keyword) && KeywordOf(keyword, rest) != Keyword::None;
}

// "SCP <message>  ID <id>": the message is the text before the word "ID", the id the word after it.
void GdiSignalReader::ReadScpRow(std::string_view rest) {
    if (!m_open->scpMessage.empty() || !m_open->scpId.empty()) {
        AddProblem("Second SCP row in one signal (the first is kept)");
        return;
    }
    std::string_view text = TrimBlanks(rest);
    std::string_view message = text, id;
    for (size_t at = text.find("ID"); at != std::string_view::npos; at = text.find("ID", at + 1)) {
        const bool startsWord = at == 0 || text[at - 1] == ' ' || text[at - 1] == '\t';
        const bool endsWord = at + 2 == text.size() || text[at + 2] == ' ' || text[at + 2] == '\t';
        if (startsWord && endsWord) {
            message = TrimBlanks(text.substr(0, at));
            id = TrimBlanks(text.substr(at + 2));
            break;
        }
    }
    if (message.empty()) AddProblem("SCP row without a station control message");
    AssignSafe(m_open->scpMessage, Clipped(message, kMaxRowText));
    AssignSafe(m_open->scpId, Clipped(id, kMaxRowText));
}

void GdiSignalReader::ReadDataRow(std::string_view rest) {
    m_open->hasData = true;
    m_droppedOctets += component::ReadDataRow(rest, m_open->octets, kMaxMessageOctets, m_open->problems, kMaxProblems);
}

void GdiSignalReader::ReadLenRow(std::string_view rest, LineResult &result) {
    component::ReadLenRow(rest, m_open->octets.size() + m_droppedOctets, m_open->problems, kMaxProblems);
    Close(true, result);
    result.completion = 1;
}

void GdiSignalReader::Close(bool lenSeen, LineResult &result) {
    m_open->lenSeen = lenSeen;
    if (m_droppedOctets)
        AddProblem("Message longer than " + std::to_string(kMaxMessageOctets) + " octets: " +
                   std::to_string(m_droppedOctets) + " octets not kept");
    if (!lenSeen && m_open->hasData) AddProblem("LEN row missing: the signal may be incomplete");
    // The signal is handed out as it stands; the other one, completed before it, is emptied
    // and takes the next signal.
    result.signal = m_open;
    result.completed = true;
    m_open = m_open == &m_signals[0] ? &m_signals[1] : &m_signals[0];
    GdiSignal &next = *m_open;
    next.sequence = 0;
    next.recordLine.clear();
    next.time = next.direction = next.signalName = next.originator = next.destination = {};
    next.scpMessage.clear();
    next.scpId.clear();
    next.userPart.clear();
    next.hasData = false;
    next.lenSeen = false;
    next.octets.clear();
    next.problems.clear();
    m_isOpen = false;
    m_droppedOctets = 0;
}

}  // namespace vexa::dect
