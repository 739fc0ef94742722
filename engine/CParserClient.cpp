#include "CParserClient.h"

namespace vexa {

CParserClient::CParserClient(const ParserDispIds &ids)
    : m_ids(ids), m_parseArgs{RawIn(VEXA_T_STR, 0), RawOut(VEXA_T_I2), RawOut(VEXA_T_I2)} {}

// Called for every line of a trace: the arguments are set up once and reused.
int16_t CParserClient::ParseLine(std::string_view line, int16_t &lineKind, int16_t &completion) {
    m_parseArgs[0].str = line.data();
    m_parseArgs[0].len = line.size();
    m_parseArgs[1].num = lineKind;
    m_parseArgs[2].num = completion;
    int32_t status = InvokeRaw(m_ids.ParseLine, m_parseArgs, 3);
    lineKind = static_cast<int16_t>(m_parseArgs[1].num);
    completion = static_cast<int16_t>(m_parseArgs[2].num);
    return static_cast<int16_t>(status);
}

// These three are called after every line that completes a signal.
int32_t CParserClient::GetLastMessageIndex() { return InvokeRaw(m_ids.GetLastMessageIndex, nullptr, 0); }

int16_t CParserClient::GetSequenceNumber(int32_t index) {
    VexaArg a = RawIn(VEXA_T_I4, index);
    return static_cast<int16_t>(InvokeRaw(m_ids.GetSequenceNumber, &a, 1));
}

int32_t CParserClient::GetSequenceMessageCount(int16_t sequence) {
    VexaArg a = RawIn(VEXA_T_I2, sequence);
    return InvokeRaw(m_ids.GetSequenceMessageCount, &a, 1);
}

// Called for every decoded message of a run: the texts go straight into message's
// strings, whose room is used again from one message to the next.
int16_t CParserClient::GetSequenceMessage(int16_t i, int16_t sequence, SequenceMessage &message, uint32_t wanted) {
    for (std::string &text : message.texts) text.clear();
    auto outText = [&](int k) { return RawOutText((wanted >> k & 1) ? &message.texts[k] : nullptr); };
    VexaArg args[2 + 7 + 1 + 5];
    int n = 0;
    args[n++] = RawIn(VEXA_T_I2, i);
    args[n++] = RawIn(VEXA_T_I2, sequence);
    for (int k = 0; k < 7; ++k) args[n++] = outText(k);
    const int validAt = n;
    args[n++] = RawOut(VEXA_T_VBOOL);
    for (int k = 0; k < m_ids.SequenceMessageExtraTexts; ++k) args[n++] = outText(7 + k);
    message.status = static_cast<int16_t>(InvokeRaw(m_ids.GetSequenceMessage, args, n));
    message.valid = args[validAt].num != 0;
    return message.status;
}

// Called for every message when the list is filled: the texts go straight into
// message's strings, whose room is used again from one message to the next.
bool CParserClient::GetMessage(int32_t index, MessageRecord &message) {
    for (std::string &text : message.texts) text.clear();
    VexaArg args[1 + 1 + 7 + 1 + 1];
    int n = 0;
    args[n++] = RawIn(VEXA_T_I4, index);
    args[n++] = RawOut(VEXA_T_I2);
    // The list shows strings 1 to 6: the decoded text (string 7) is not asked for.
    for (int k = 0; k < 7; ++k) args[n++] = RawOutText(k == 6 ? nullptr : &message.texts[k]);
    const int validAt = n;
    args[n++] = RawOut(VEXA_T_VBOOL);
    if (m_ids.MessageExtraTexts > 0) args[n++] = RawOutText(&message.texts[7]);
    const bool ok = InvokeRaw(m_ids.GetMessage, args, n) != 0;
    message.sequence = static_cast<int16_t>(args[1].num);
    message.valid = args[validAt].num != 0;
    return ok;
}

bool CParserClient::GetMessageCount(int32_t &count) {
    DispatchArg a = DispatchArg::OutLong();
    bool ok = Invoke(m_ids.GetMessageCount, &a, 1) != 0;
    count = a.Number();
    return ok;
}

int32_t CParserClient::FindFirstMessage(std::string_view text) { return CallFindFirst(m_ids.FindFirstMessage, text); }

int32_t CParserClient::FindNextMessage(std::string_view text, int32_t previous) {
    return CallFindNext(m_ids.FindNextMessage, text, previous);
}

bool CParserClient::Reset() { return Invoke(m_ids.Reset, nullptr, 0) != 0; }

int32_t CParserClient::CallFindFirst(int32_t dispid, std::string_view text) {
    DispatchArg a = DispatchArg::InText(text);
    return Invoke(dispid, &a, 1);
}

int32_t CParserClient::CallFindNext(int32_t dispid, std::string_view text, int32_t previous) {
    DispatchArg args[2] = {DispatchArg::InText(text), DispatchArg::InLong(previous)};
    return Invoke(dispid, args, 2);
}

// Called for every message of a run (its call reference) and of the list's gatherings:
// the text goes straight into the caller's string, empty when the component sets none.
int32_t CParserClient::CallNumberToText(int32_t dispid, DispatchArg number, std::string &text) {
    text.clear();
    VexaArg args[2] = {number.arg, RawOutText(&text)};
    return InvokeRaw(dispid, args, 2);
}

}  // namespace vexa
