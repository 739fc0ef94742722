#include "DectParser.h"

#include "DispatchIds.h"

#include <array>

namespace vexa::dect {

using component::Call;
using component::Member;

std::span<const Member<DectParser>> DectParser::Members() {
    constexpr const ParserDispIds &ids = kDectDispIds;
    using P = DectParser;
    // clang-format off
    static constexpr Member<DectParser> kMembers[] = {
        {ids.ParseLine,                  "ParseLine",                  "sHH:h",             &P::ParseLine},
        {ids.GetLastMessageIndex,        "GetLastMessageIndex",        ":l",                &P::GetLastMessageIndex},
        {ids.GetSequenceNumber,          "GetSequenceNumber",          "l:h",               &P::GetSequenceNumber},
        {ids.GetSequenceMessageCount,    "GetSequenceMessageCount",    "h:l",               &P::GetSequenceMessageCount},
        {ids.GetSequenceMessage,         "GetSequenceMessage",         "hhSSSSSSSVSSSSS:h", &P::GetSequenceMessage},
        {ids.GetMessage,                 "GetMessage",                 "lHSSSSSSSVS:b",     &P::GetMessage},
        {ids.GetMessageCount,            "GetMessageCount",            "L:b",               &P::GetMessageCount},
        {ids.FindFirstMessage,           "FindFirstMessage",           "s:l",               &P::FindFirstMessage},
        {ids.FindNextMessage,            "FindNextMessage",            "sl:l",              &P::FindNextMessage},
        {ids.Reset,                      "Reset",                      ":b",                &P::Reset},
        {ids.GetNextScpId,               "GetNextScpId",               "lS:l",              &P::GetNextScpId},
        {ids.FindFirstByScpId,           "FindFirstByScpId",           "s:l",               &P::FindFirstByScpId},
        {ids.FindNextByScpId,            "FindNextByScpId",            "sl:l",              &P::FindNextByScpId},
        {ids.GetNextTransactionFlag,     "GetNextTransactionFlag",     "lS:l",              &P::GetNextTransactionFlag},
        {ids.FindFirstByTransactionFlag, "FindFirstByTransactionFlag", "s:l",               &P::FindFirstByTransactionFlag},
        {ids.FindNextByTransactionFlag,  "FindNextByTransactionFlag",  "sl:l",              &P::FindNextByTransactionFlag},
        {ids.GetUserPart,                "GetUserPart",                "hS:b",              &P::GetUserPart},
    };
    // clang-format on
    return kMembers;
}

DectParser::DectParser(const VexaHost *host) : ComponentObject(host) {}

int32_t DectParser::Invoke(int32_t dispid, Call &call) {
    return component::DispatchMember(*this, Members(), dispid, call);
}

void DectParser::ParseLine(Call &call) {
    m_reader.Feed(call.text(0), m_line);
    int status = 0;
    if (m_line.completed) {
        const GdiSignal &s = *m_line.signal;
        DectDecoder::DecodeInto(s.octets.data(), s.octets.size(), s.problems, s.hasData, m_decoded);
        StoredDect m;
        m.sequence = s.sequence;
        m.status = m_decoded.status;
        m.valid = m_decoded.valid;
        m.hasData = s.hasData;
        m.transactionFlag = s.hasData ? m_decoded.transactionFlag : -1;
        m.direction = s.direction;
        m.signalName = s.signalName;
        m.messageName = m_decoded.messageName;
        m.time = s.time;
        m.originator = s.originator;
        m.destination = s.destination;
        m.discriminator = m_decoded.discriminator;
        m.scpMessage = s.scpMessage;
        m.scpId = s.scpId;
        m.transactionValue = m_decoded.transactionValue;
        m.userPart = s.userPart;
        m.octets = s.octets;
        m.problems = &s.problems;
        m_decodedIndex = m_store.Add(m);
        status = m_decoded.status;
    }
    call.setNumber(1, m_line.kind);
    call.setNumber(2, m_line.completion);
    call.returnShort(status);
}

void DectParser::GetLastMessageIndex(Call &call) { call.returnLong(m_store.Count() ? m_store.Count() : -1); }

void DectParser::GetSequenceNumber(Call &call) {
    call.returnShort(m_store.Get(call.number(0), m_message) ? m_message.sequence : 0);
}

void DectParser::GetSequenceMessageCount(Call &call) {
    call.returnLong(m_store.LatestOfSequence(call.shortNumber(0)) ? 1 : 0);
}

const DecodedDect &DectParser::DecodedOf(int32_t index, const StoredDect &m) {
    if (index != m_decodedIndex) {
        DectDecoder::DecodeInto(m.octets.data(), m.octets.size(), *m.problems, m.hasData, m_decoded);
        m_decodedIndex = index;
    }
    return m_decoded;
}

void DectParser::PutRow(Call &call, int first, const StoredDect &m) {
    call.setText(first + 0, m.direction);
    call.setText(first + 1, m.signalName);
    call.setText(first + 2, m.messageName);
    call.setText(first + 3, m.time);
    call.setText(first + 4, m.originator);
    call.setText(first + 5, m.destination);
}

void DectParser::GetSequenceMessage(Call &call) {
    const int32_t index = call.shortNumber(0) == 1 ? m_store.LatestOfSequence(call.shortNumber(1)) : 0;
    if (!m_store.Get(index, m_message)) {
        call.setFlag(9, false);
        call.returnShort(0);
        return;
    }
    const StoredDect &m = m_message;
    PutRow(call, 2, m);
    const bool wantsDecoded = call.arg(8).sink || call.arg(14).sink;
    if (wantsDecoded) {
        const DecodedDect &d = DecodedOf(index, m);
        call.setText(8, d.text);
        call.setText(14, d.extraLine);
    }
    call.setFlag(9, m.valid);
    call.setText(10, m.discriminator);
    call.setText(11, m.scpMessage);
    call.setText(12, m.scpId);
    call.setText(13, m.transactionValue);
    call.returnShort(1);
}

void DectParser::GetMessage(Call &call) {
    if (!m_store.Get(call.number(0), m_message)) {
        call.setNumber(1, 0);
        call.setFlag(9, false);
        call.returnBool(false);
        return;
    }
    const StoredDect &m = m_message;
    call.setNumber(1, m.sequence);
    PutRow(call, 2, m);
    if (call.arg(8).sink) call.setText(8, DecodedOf(call.number(0), m).text);
    call.setFlag(9, m.valid);
    call.setText(10, m.discriminator);
    call.returnBool(true);
}

void DectParser::GetMessageCount(Call &call) {
    call.setNumber(0, m_store.Count());
    call.returnBool(true);
}

void DectParser::FindFirstMessage(Call &call) { call.returnLong(m_store.FindNextByText(call.text(0), 0)); }

void DectParser::FindNextMessage(Call &call) { call.returnLong(m_store.FindNextByText(call.text(0), call.number(1))); }

void DectParser::Reset(Call &call) {
    m_store.Clear();
    m_reader.Reset();
    m_line = LineResult{};
    m_decodedIndex = 0;
    m_decoded = DecodedDect{};
    call.returnBool(true);
}

void DectParser::GetNextScpId(Call &call) {
    std::string id;
    const int32_t next = m_store.NextScpId(call.number(0), id);
    if (next >= 0) call.setText(1, id);
    call.returnLong(next);
}

void DectParser::FindFirstByScpId(Call &call) { call.returnLong(m_store.FindNextByScpId(call.text(0), 0)); }

void DectParser::FindNextByScpId(Call &call) { call.returnLong(m_store.FindNextByScpId(call.text(0), call.number(1))); }

void DectParser::GetNextTransactionFlag(Call &call) {
    std::string flag;
    const int32_t next = m_store.NextTransactionFlag(call.number(0), flag);
    if (next >= 0) call.setText(1, flag);
    call.returnLong(next);
}

void DectParser::FindFirstByTransactionFlag(Call &call) {
    call.returnLong(m_store.FindNextByTransactionFlag(call.text(0), 0));
}

void DectParser::FindNextByTransactionFlag(Call &call) {
    call.returnLong(m_store.FindNextByTransactionFlag(call.text(0), call.number(1)));
}

void DectParser::GetUserPart(Call &call) {
    if (!m_store.Get(m_store.LatestOfSequence(call.shortNumber(0)), m_message)) {
        call.returnBool(false);
        return;
    }
    call.setText(1, m_message.userPart);
    call.returnBool(true);
}

}  // namespace vexa::dect

VEXA_EXPORT_COMPONENT("VexaDectParser", vexa::dect::DectParser)
