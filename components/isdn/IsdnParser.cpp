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
    // The members by dispatch id, looked up once: ParseLine and GetPendingStatus are
    // called for every line of a trace.
    static const auto kByDispid = [] {
        std::array<const Member<IsdnParser> *, 64> table{};
        for (const Member<IsdnParser> &m : Members())
            if (m.dispid >= 0 && m.dispid < static_cast<int32_t>(table.size()) && !table[m.dispid]) table[m.dispid] = &m;
        return table;
    }();
    if (dispid < 0 || dispid >= static_cast<int32_t>(kByDispid.size()) || !kByDispid[dispid])
        return component::DispatchMember(*this, Members(), dispid, call);
    const Member<IsdnParser> &m = *kByDispid[dispid];
    if (!m.compiled.Matches(call.args(), call.argc())) return VEXA_E_ARGS;
    (this->*m.handler)(call);
    return VEXA_OK;
}

void IsdnParser::ParseLine(Call &call) {
    m_assembler.Feed(call.text(0), m_line);
    int status = 0;
    if (m_line.count) {
        if (m_recentTexts.size() < m_line.count) m_recentTexts.resize(m_line.count);
        m_recentCount = 0;
        m_store.BeginCompletion();
        int32_t first = 0;
        for (AssembledMessage &a : m_line.Completed()) {
            // SEGMENT messages are followed in trace order: the last one of a message shows
            // the message reassembled.
            std::optional<SegmentPlace> place;
            if (std::optional<SegmentHeader> segment = ReadSegmentHeader(a.octets))
                place = m_reassembler.Add(a.header.equ, *segment);
            DecodedMessage d = m_decoder.Decode(a.octets.data(), a.octets.size(), a.problems,
                                                std::move(m_recentTexts[m_recentCount]), place ? &*place : nullptr);
            MessageToStore m;
            m.sequence = a.header.sequence;
            m.status = d.status;
            m.valid = d.valid;
            m.variant = m_decoder.GetVariant();
            m.direction = a.header.direction;
            m.signalName = a.header.signalName;
            m.messageName = d.messageName;
            m.time = a.header.time;
            m.originator = a.header.originator;
            m.destination = a.header.destination;
            // The common discriminator text is not kept with every message.
            if (d.discriminator != m_q931Text) m.discriminator = d.discriminator;
            m.equ = a.header.equ;
            m.octets = a.octets;
            m.callReferenceRead = d.callReferenceRead;
            m.hasCallingNumber = d.hasCallingNumber;
            m.callingNumber = d.callingNumber;
            int32_t index = m_store.Add(m, std::move(a.problems));
            a.problems.clear();
            if (place) m_segmentPlaces[index] = std::move(*place);
            if (m_recentCount == 0) {
                first = index;
                status = m.status;
            }
            m_recentTexts[m_recentCount++].swap(d.text);
        }
        m_store.EndCompletion();
        m_recentFirst = first;
    }
    call.setNumber(1, m_line.kind);
    call.setNumber(2, m_line.completion);
    call.returnShort(status);
}

void IsdnParser::GetLastMessageIndex(Call &call) { call.returnLong(m_store.Count() ? m_store.LastIndex() : -1); }

void IsdnParser::GetSequenceNumber(Call &call) { call.returnShort(m_store.SequenceOf(call.number(0))); }

void IsdnParser::GetSequenceMessageCount(Call &call) { call.returnLong(m_store.SequenceCount(call.shortNumber(0))); }

bool IsdnParser::WantsText(const Call &call, int i) const {
    const VexaHost *h = host();
    return h && h->setText && call.arg(i).sink;
}

void IsdnParser::PutMessage(Call &call, int first, int32_t index, const StoredMessage &m) {
    call.setText(first + 0, m.direction);
    call.setText(first + 1, m.signalName);
    call.setText(first + 2, m.messageName);
    call.setText(first + 3, m.time());
    call.setText(first + 4, m.originator);
    call.setText(first + 5, m.destination);
    if (WantsText(call, first + 6)) call.setText(first + 6, TextOf(index, m));
    call.setFlag(first + 7, m.valid);
    call.setText(first + 8, m.discriminator.empty() ? std::string_view(m_q931Text) : m.discriminator);
}

const std::string &IsdnParser::TextOf(int32_t index, const StoredMessage &m) {
    int32_t recent = index - m_recentFirst;
    if (recent >= 0 && recent < static_cast<int32_t>(m_recentCount)) return m_recentTexts[recent];
    for (const CachedText &c : m_cache)
        if (c.index == index) return c.text;
    CachedText &c = m_cache[m_cacheNext];
    m_cacheNext = (m_cacheNext + 1) % kCachedTexts;
    c.index = index;
    c.text = Q931Decoder(m.variant)
                 .Decode(m.octets.data(), m.octets.size(), *m.problems, std::move(c.text), PlaceOf(index))
                 .text;
    return c.text;
}

const SegmentPlace *IsdnParser::PlaceOf(int32_t index) const {
    if (m_segmentPlaces.empty()) return nullptr;
    auto it = m_segmentPlaces.find(index);
    return it == m_segmentPlaces.end() ? nullptr : &it->second;
}

void IsdnParser::GetSequenceMessage(Call &call) {
    int32_t index = m_store.SequenceIndex(call.shortNumber(1), call.shortNumber(0));
    if (!m_store.Get(index, m_message)) {
        call.setFlag(9, false);
        call.returnShort(0);
        return;
    }
    PutMessage(call, 2, index, m_message);
    call.returnShort(1);
}

void IsdnParser::GetMessage(Call &call) {
    if (!m_store.Get(call.number(0), m_message)) {
        call.setNumber(1, 0);
        call.setFlag(9, false);
        call.returnBool(false);
        return;
    }
    call.setNumber(1, m_message.sequence);
    PutMessage(call, 2, call.number(0), m_message);
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
    m_recentCount = 0;
    m_cache = {};
    m_cacheNext = 0;
    m_assembler.Reset();
    m_reassembler.Reset();
    m_segmentPlaces.clear();
    call.returnBool(true);
}

void IsdnParser::GetPendingStatus(Call &call) { call.returnShort(m_assembler.TakePending() ? -10 : 0); }

void IsdnParser::GetCallReference(Call &call) {
    if (!m_store.Has(call.number(0))) {
        call.returnBool(false);
        return;
    }
    const std::span<const uint8_t> value = m_store.CallReferenceOf(call.number(0));
    call.setText(1, component::HexByteList(value.data(), value.size(), "||"));
    call.returnBool(true);
}

void IsdnParser::DecodeCallReference(Call &call) {
    std::vector<uint8_t> &octets = m_callReference;
    octets.clear();
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
    if (!m_store.Get(call.number(0), m_message)) {
        call.returnBool(false);
        return;
    }
    call.setText(1, m_message.equ);
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
