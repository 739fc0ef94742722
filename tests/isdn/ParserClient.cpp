#include "ParserClient.h"

#include "TraceFeeding.h"

#include <cstdio>

namespace vexa::isdn::test {

std::string ComponentPath() {
#ifdef VEXA_ISDN_COMPONENT
    return VEXA_ISDN_COMPONENT;
#else
    return "VexaParser.so";
#endif
}

ParserClient::ParserClient(const std::string &path) {
    if (!m_parser.CreateDispatchFrom(path, kIsdnProgId))
        std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), m_parser.LastError().c_str());
}

ParserClient::~ParserClient() = default;

int32_t ParserClient::Invoke(int32_t dispid, std::vector<VexaArg> &args, VexaArg &result) {
    return m_parser.InvokeChecked(dispid, args.data(), static_cast<int32_t>(args.size()), &result);
}

LineAnswer ParserClient::ParseLine(std::string_view line) {
    int16_t kind = 0, completion = 0;
    LineAnswer ans;
    ans.status = m_parser.ParseLine(line, kind, completion);
    ans.kind = kind;
    ans.completion = completion;
    return ans;
}

int32_t ParserClient::GetLastMessageIndex() { return m_parser.GetLastMessageIndex(); }

int ParserClient::GetSequenceNumber(int32_t index) { return m_parser.GetSequenceNumber(index); }

int32_t ParserClient::GetSequenceMessageCount(int sequence) {
    return m_parser.GetSequenceMessageCount(static_cast<int16_t>(sequence));
}

MessageView ParserClient::GetSequenceMessage(int i, int sequence) {
    SequenceMessage s;
    MessageView m;
    m.status = m_parser.GetSequenceMessage(static_cast<int16_t>(i), static_cast<int16_t>(sequence), s);
    m.sequence = sequence;
    m.direction = s.Text(1);
    m.signalName = s.Text(2);
    m.messageName = s.Text(3);
    m.time = s.Text(4);
    m.originator = s.Text(5);
    m.destination = s.Text(6);
    m.text = s.Text(7);
    m.discriminator = s.Text(8);
    m.valid = s.valid;
    return m;
}

// The engine's GetMessage leaves out the decoded text (string 7), which the tests compare
// with what GetSequenceMessage gave: the same member is called here with every text asked for.
bool ParserClient::GetMessage(int32_t index, MessageView &m) {
    const ParserDispIds &ids = m_parser.Ids();
    DispatchArg args[1 + 1 + 7 + 1 + 1];
    int n = 0;
    args[n++] = DispatchArg::InLong(index);
    args[n++] = DispatchArg::OutShort();
    for (int k = 0; k < 7; ++k) args[n++] = DispatchArg::OutText();
    const int validAt = n;
    args[n++] = DispatchArg::OutFlag();
    for (int k = 0; k < ids.MessageExtraTexts; ++k) args[n++] = DispatchArg::OutText();
    bool ok = m_parser.Invoke(ids.GetMessage, args, n) != 0;
    m.status = ok ? 1 : 0;
    m.sequence = args[1].Number();
    m.direction = std::move(args[2].text);
    m.signalName = std::move(args[3].text);
    m.messageName = std::move(args[4].text);
    m.time = std::move(args[5].text);
    m.originator = std::move(args[6].text);
    m.destination = std::move(args[7].text);
    m.text = std::move(args[8].text);
    m.valid = args[validAt].Flag();
    m.discriminator = ids.MessageExtraTexts > 0 ? std::move(args[validAt + 1].text) : std::string();
    return ok;
}

int32_t ParserClient::GetMessageCount() {
    int32_t count = 0;
    m_parser.GetMessageCount(count);
    return count;
}

int32_t ParserClient::FindFirstMessage(std::string_view text) { return m_parser.FindFirstMessage(text); }

int32_t ParserClient::FindNextMessage(std::string_view text, int32_t after) {
    return m_parser.FindNextMessage(text, after);
}

bool ParserClient::Reset() { return m_parser.Reset(); }

int ParserClient::GetPendingStatus() { return m_parser.GetPendingStatus(); }

bool ParserClient::GetCallReference(int32_t index, std::string &text) { return m_parser.GetCallReference(index, text); }

bool ParserClient::DecodeCallReference(std::string_view raw, std::string &value) {
    std::string callReference(raw);
    return m_parser.DecodeCallReference(callReference, value);
}

bool ParserClient::SetProtocolVariant(int variant) {
    return m_parser.SetProtocolVariant(static_cast<int16_t>(variant));
}

bool ParserClient::SetSignalNames(const std::array<std::string, 5> &names) { return m_parser.SetSignalNames(names); }

bool ParserClient::GetEquNumber(int32_t index, std::string &text) { return m_parser.GetEquNumber(index, text); }

int32_t ParserClient::GetNextCallingPartyNumber(int32_t handle, std::string &number) {
    return m_parser.GetNextCallingPartyNumber(handle, number);
}

int32_t ParserClient::FindByCallingPartyNumber(std::string_view number) {
    return m_parser.FindByCallingPartyNumber(number);
}

int32_t ParserClient::FindFirstByCallReference(std::string_view text) {
    return m_parser.FindFirstByCallReference(text);
}

int32_t ParserClient::FindNextByCallReference(std::string_view text, int32_t after) {
    return m_parser.FindNextByCallReference(text, after);
}

int32_t ParserClient::FindFirstByEquNumber(std::string_view text) { return m_parser.FindFirstByEquNumber(text); }

int32_t ParserClient::FindNextByEquNumber(std::string_view text, int32_t after) {
    return m_parser.FindNextByEquNumber(text, after);
}

std::vector<Completion> ParserClient::Run(std::string_view trace, bool *pending) {
    std::vector<Completion> out;
    if (pending) *pending = false;
    auto notePending = [&] {
        if (GetPendingStatus() == -10 && pending) *pending = true;
    };
    auto feed = [&](const std::string &piece) {
        LineAnswer ans = ParseLine(piece);
        if (ans.completion) {
            Completion c;
            c.lineStatus = ans.status;
            c.completion = ans.completion;
            c.index = GetLastMessageIndex();
            c.sequence = GetSequenceNumber(c.index);
            c.count = GetSequenceMessageCount(c.sequence);
            for (int i = 1; i <= c.count; ++i) {
                MessageView m = GetSequenceMessage(i, c.sequence);
                if (m.status == 0) break;
                c.messages.push_back(std::move(m));
            }
            GetCallReference(c.index, c.callReference);
            out.push_back(std::move(c));
        }
        if (piece.starts_with("END")) notePending();
    };
    vexa::test::FeedTrace(trace, feed, notePending);
    return out;
}

std::string Signal(const std::string &time, int seq, const std::string &dir, const std::string &name,
                   const std::string &equ, const std::string &hex, int len, const std::string &part) {
    char head[64];
    std::snprintf(head, sizeof head, "%s %05d  %-4s ", time.c_str(), seq, dir.c_str());
    std::string s = head;
    s += name + "  ISDNCP-01  DLB-0102\n";
    const std::string indent(24, ' ');
    if (!equ.empty()) s += indent + "EQU NO      " + equ + "\n";
    if (!part.empty()) s += indent + "PART " + part + "\n";
    const std::vector<std::string> octets = vexa::test::OctetTexts(hex);
    s += vexa::test::DataRows(octets);
    const int total = static_cast<int>(octets.size());
    if (len == -1) len = total;
    if (len >= 0) s += indent + "LEN " + std::to_string(len) + "\n";
    return s;
}

}  // namespace vexa::isdn::test
