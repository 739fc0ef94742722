#include "IsdnParser.h"

#include "DispatchIds.h"
#include "HexText.h"
#include "Q931Tables.h"
#include "TraceLine.h"

namespace vexa::isdn {

using component::Call;
using component::Member;

std::span<const Member<IsdnParser>> IsdnParser::Members() {
    constexpr const ParserDispIds &ids = kIsdnDispIds;
    using P = IsdnParser;
    // clang-format off
    static constexpr Member<IsdnParser> kMembers[] = {
        {ids.ParseLine,                 "ParseLine",                 "sHH:h",         &P::ParseLine},
        {ids.GetLastMessageIndex,       "GetLastMessageIndex",       ":l",            &P::GetLastMessageIndex},
        {ids.GetSequenceNumber,         "GetSequenceNumber",         "l:h",           &P::GetSequenceNumber},
        {ids.GetSequenceMessageCount,   "GetSequenceMessageCount",   "h:l",           &P::GetSequenceMessageCount},
        {ids.GetSequenceMessage,        "GetSequenceMessage",        "hhSSSSSSSVS:h", &P::GetSequenceMessage},
        {ids.GetMessage,                "GetMessage",                "lHSSSSSSSVS:b", &P::GetMessage},
        {ids.GetMessageCount,           "GetMessageCount",           "L:b",           &P::GetMessageCount},
        {ids.FindFirstMessage,          "FindFirstMessage",          "s:l",           &P::FindFirstMessage},
        {ids.FindNextMessage,           "FindNextMessage",           "sl:l",          &P::FindNextMessage},
        {ids.Reset,                     "Reset",                     ":b",            &P::Reset},
        {ids.GetPendingStatus,          "GetPendingStatus",          ":h",            &P::GetPendingStatus},
        {ids.GetCallReference,          "GetCallReference",          "lS:b",          &P::GetCallReference},
        {ids.DecodeCallReference,       "DecodeCallReference",       "SS:b",          &P::DecodeCallReference},
        {ids.SetProtocolVariant,        "SetProtocolVariant",        "h:b",           &P::SetProtocolVariant},
        {ids.SetSignalNames,            "SetSignalNames",            "sssss:b",       &P::SetSignalNames},
        {ids.GetEquNumber,              "GetEquNumber",              "lS:b",          &P::GetEquNumber},
        {ids.GetNextCallingPartyNumber, "GetNextCallingPartyNumber", "lS:l",          &P::GetNextCallingPartyNumber},
        {ids.FindByCallingPartyNumber,  "FindByCallingPartyNumber",  "s:l",           &P::FindByCallingPartyNumber},
        {ids.FindFirstByCallReference,  "FindFirstByCallReference",  "s:l",           &P::FindFirstByCallReference},
        {ids.FindNextByCallReference,   "FindNextByCallReference",   "sl:l",          &P::FindNextByCallReference},
        {ids.FindFirstByEquNumber,      "FindFirstByEquNumber",      "s:l",           &P::FindFirstByEquNumber},
        {ids.FindNextByEquNumber,       "FindNextByEquNumber",       "sl:l",          &P::FindNextByEquNumber},
    };
    // clang-format on
    return kMembers;
}

IsdnParser::IsdnParser(const VexaHost *host)
    : ComponentObject(host), m_q931Text(DiscriminatorText(kProtocolDiscriminatorQ931)) {}

int32_t IsdnParser::Invoke(int32_t dispid, Call &call) {
    return component::DispatchMember(*this, Members(), dispid, call);
}

void IsdnParser::ParseLine(Call &call) {
    LineResult r = m_assembler.Feed(call.text(0));
    int status = 0;
    if (!r.completed.empty()) {
        m_recentTexts.clear();
        std::vector<StoredMessage> messages;
        messages.reserve(r.completed.size());
        for (AssembledMessage &a : r.completed) {
            DecodedMessage d = m_decoder.Decode(a.octets.data(), a.octets.size(), a.problems);
            StoredMessage m;
            m.sequence = a.header.sequence;
            m.status = d.status;
            m.valid = d.valid;
            m.direction = std::move(a.header.direction);
            m.signalName = std::move(a.header.signalName);
            m.messageName = std::move(d.messageName);
            m.time = std::move(a.header.time);
            m.originator = std::move(a.header.originator);
            m.destination = std::move(a.header.destination);
            m_recentTexts.push_back(std::move(d.text));
            m.octets = std::move(a.octets);
            m.octets.shrink_to_fit();
            m.problems = std::move(a.problems);
            m.variant = m_decoder.GetVariant();
            // The common discriminator text is not kept with every message.
            if (d.discriminator != m_q931Text) m.discriminator = std::move(d.discriminator);
            m.equ = std::move(a.header.equ);
            m.callReferenceRead = d.callReferenceRead;
            m.callReference = std::move(d.callReference);
            m.hasCallingNumber = d.hasCallingNumber;
            m.callingNumber = std::move(d.callingNumber);
            if (messages.empty()) status = m.status;
            messages.push_back(std::move(m));
        }
        int32_t last = m_store.AddCompletion(std::move(messages));
        m_recentFirst = last - static_cast<int32_t>(m_recentTexts.size()) + 1;
    }
    call.setNumber(1, r.kind);
    call.setNumber(2, r.completion);
    call.returnShort(status);
}

void IsdnParser::GetLastMessageIndex(Call &call) { call.returnLong(m_store.Count() ? m_store.LastIndex() : -1); }

void IsdnParser::GetSequenceNumber(Call &call) {
    const StoredMessage *m = m_store.Get(call.number(0));
    call.returnShort(m ? m->sequence : 0);
}

void IsdnParser::GetSequenceMessageCount(Call &call) { call.returnLong(m_store.SequenceCount(call.shortNumber(0))); }

void IsdnParser::PutMessage(Call &call, int first, int32_t index, const StoredMessage &m) const {
    call.setText(first + 0, m.direction);
    call.setText(first + 1, m.signalName);
    call.setText(first + 2, m.messageName);
    call.setText(first + 3, m.time);
    call.setText(first + 4, m.originator);
    call.setText(first + 5, m.destination);
    call.setText(first + 6, TextOf(index, m));
    call.setFlag(first + 7, m.valid);
    call.setText(first + 8, m.discriminator.empty() ? m_q931Text : m.discriminator);
}

std::string IsdnParser::TextOf(int32_t index, const StoredMessage &m) const {
    int32_t recent = index - m_recentFirst;
    if (recent >= 0 && recent < static_cast<int32_t>(m_recentTexts.size())) return m_recentTexts[recent];
    return Q931Decoder(m.variant).Decode(m.octets.data(), m.octets.size(), m.problems).text;
}

void IsdnParser::GetSequenceMessage(Call &call) {
    int32_t index = m_store.SequenceIndex(call.shortNumber(1), call.shortNumber(0));
    const StoredMessage *m = m_store.Get(index);
    if (!m) {
        call.setFlag(9, false);
        call.returnShort(0);
        return;
    }
    PutMessage(call, 2, index, *m);
    call.returnShort(1);
}

void IsdnParser::GetMessage(Call &call) {
    const StoredMessage *m = m_store.Get(call.number(0));
    if (!m) {
        call.setNumber(1, 0);
        call.setFlag(9, false);
        call.returnBool(false);
        return;
    }
    call.setNumber(1, m->sequence);
    PutMessage(call, 2, call.number(0), *m);
    call.returnBool(true);
}

void IsdnParser::GetMessageCount(Call &call) {
    call.setNumber(0, m_store.Count());
    call.returnBool(true);
}

void IsdnParser::FindFirstMessage(Call &call) { call.returnLong(m_store.FindNextByText(call.text(0), 0)); }

void IsdnParser::FindNextMessage(Call &call) { call.returnLong(m_store.FindNextByText(call.text(0), call.number(1))); }

void IsdnParser::Reset(Call &call) {
    m_store.Clear();
    m_recentTexts.clear();
    m_recentFirst = 0;
    m_assembler.Reset();
    call.returnBool(true);
}

void IsdnParser::GetPendingStatus(Call &call) { call.returnShort(m_assembler.TakePending() ? -10 : 0); }

void IsdnParser::GetCallReference(Call &call) {
    const StoredMessage *m = m_store.Get(call.number(0));
    if (!m) {
        call.returnBool(false);
        return;
    }
    call.setText(1, component::HexByteList(m->callReference.data(), m->callReference.size(), "||"));
    call.returnBool(true);
}

void IsdnParser::DecodeCallReference(Call &call) {
    std::vector<uint8_t> octets;
    if (!component::ParseLooseHex(call.text(0), octets)) {
        call.setText(1, "");
        call.returnBool(false);
        return;
    }
    bool flag = !octets.empty() && (octets[0] & 0x80);
    if (!octets.empty()) octets[0] &= 0x7F;
    call.setText(1, component::HexByteList(octets.data(), octets.size(), "||"));
    call.returnBool(flag);
}

void IsdnParser::SetProtocolVariant(Call &call) {
    int v = call.shortNumber(0);
    if (v < kGeneric || v > kAustralian) {
        call.returnBool(false);
        return;
    }
    m_decoder.SetVariant(v);
    call.returnBool(true);
}

void IsdnParser::SetSignalNames(Call &call) {
    std::array<std::string, 5> names;
    for (int i = 0; i < 5; ++i) names[i] = std::string(component::TrimBlanks(call.text(i)));
    m_assembler.SetSignalNames(names);
    call.returnBool(true);
}

void IsdnParser::GetEquNumber(Call &call) {
    const StoredMessage *m = m_store.Get(call.number(0));
    if (!m) {
        call.returnBool(false);
        return;
    }
    call.setText(1, m->equ);
    call.returnBool(true);
}

void IsdnParser::GetNextCallingPartyNumber(Call &call) {
    std::string number;
    int32_t next = m_store.NextCallingNumber(call.number(0), number);
    if (next >= 0) call.setText(1, number);
    call.returnLong(next);
}

void IsdnParser::FindByCallingPartyNumber(Call &call) { call.returnLong(m_store.FindFirstByCallingNumber(call.text(0))); }

void IsdnParser::FindFirstByCallReference(Call &call) {
    call.returnLong(m_store.FindNextByCallReference(call.text(0), 0));
}

void IsdnParser::FindNextByCallReference(Call &call) {
    call.returnLong(m_store.FindNextByCallReference(call.text(0), call.number(1)));
}

void IsdnParser::FindFirstByEquNumber(Call &call) { call.returnLong(m_store.FindNextByEqu(call.text(0), 0)); }

void IsdnParser::FindNextByEquNumber(Call &call) {
    call.returnLong(m_store.FindNextByEqu(call.text(0), call.number(1)));
}

}  // namespace vexa::isdn

VEXA_EXPORT_COMPONENT("VexaParser", vexa::isdn::IsdnParser)
