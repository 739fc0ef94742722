#include "CallFlow.h"

#include "CVexaClientDoc.h"
#include "FilteredFills.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace vexa {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// Calls fn(line) for each line of a decoded text (parts separated by "||", lines by
// newlines) until it answers false.
template <typename Fn>
void ForEachLine(const std::string &text, Fn fn) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = start, skip = 0;
        while (end < text.size()) {
            if (text[end] == '\n') { skip = 1; break; }
            if (text[end] == '|' && end + 1 < text.size() && text[end + 1] == '|') { skip = 2; break; }
            ++end;
        }
        if (!fn(std::string_view(text).substr(start, end - start))) return;
        if (skip == 0) return;
        start = end + skip;
    }
}

// The text of an error line "!!!text!!!" without its marks.
std::string ErrorReason(std::string_view line) {
    const size_t open = line.find("!!!");
    line = line.substr(open + 3);
    const size_t close = line.find("!!!");
    return std::string(Trim(line.substr(0, close)));
}

// The text after "label" on a line that starts (after blanks) with it.
bool After(std::string_view line, std::string_view label, std::string &value) {
    line = Trim(line);
    if (!line.starts_with(label)) return false;
    value = std::string(Trim(line.substr(label.size())));
    return true;
}

bool IsIsdn(int protocol) { return protocol >= 1 && protocol <= 4; }

// The ISDN call reference entry with the flag bit of its first octet cleared.
std::string WithoutFlag(const std::string &entry) {
    if (entry.size() < 2) return entry;
    const long first = std::strtol(entry.substr(0, 2).c_str(), nullptr, 16) & 0x7F;
    static const char *kHex = "0123456789ABCDEF";
    std::string out = entry;
    out[0] = kHex[(first >> 4) & 0xF];
    out[1] = kHex[first & 0xF];
    return out;
}

}  // namespace

void ReadDecodedFacts(int protocol, const std::string &decoded, FlowMessage &m, std::string &callPart) {
    bool inCalled = false;
    std::string value;
    ForEachLine(decoded, [&](std::string_view line) {
        if (m.reason.empty() && line.find("!!!") != std::string_view::npos) m.reason = ErrorReason(line);
        if (IsIsdn(protocol)) {
            if (Trim(line).starts_with("Called party number")) inCalled = true;
            else if (inCalled && After(line, "Number digits:", value)) {
                if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
                if (m.name == "SETUP" && m.key.empty()) m.key = "to " + value;
                inCalled = false;
            } else if (m.causeValue.empty() && After(line, "Cause value:", value)) {
                // "17 H'11 User busy": the value, then its octet, then its text.
                const size_t blank = value.find(' ');
                m.causeValue = value.substr(0, blank);
                std::string rest = blank == std::string::npos ? std::string() : std::string(Trim(value.substr(blank)));
                if (rest.starts_with("H'")) {
                    const size_t b2 = rest.find(' ');
                    rest = b2 == std::string::npos ? std::string() : std::string(Trim(std::string_view(rest).substr(b2)));
                }
                m.causeText = rest;
                if (m.name == "DISCONNECT" || m.name == "RELEASE" || m.name == "RELEASE COMPLETE")
                    m.key = "cause " + m.causeValue + (rest.empty() ? "" : " " + rest);
            }
        } else if (protocol == 5) {
            if (After(line, "Transaction Value:", value) && !value.empty()) {
                // "TI 1 (Originator)": the value names the transaction; the flag is the side.
                const size_t paren = value.find(" (");
                const std::string ti = value.substr(0, paren);
                if (m.key.empty()) m.key = ti;
                callPart += "|" + ti;
            } else if (After(line, "SCP ID:", value) && !value.empty()) {
                callPart = "SCP " + value + callPart;
            }
        } else if (protocol == 6 && m.key.empty()) {
            if (Trim(line).starts_with("RasMessage:")) m.key = "RAS";
            else if (Trim(line).starts_with("MultimediaSystemControlMessage:")) m.key = "H.245";
        }
        return true;
    });
    if (protocol == 6 && m.key.empty()) m.key = "H.225.0";
}

namespace {

// The first word of a value: a hex string may be followed by its text in brackets.
std::string FirstWord(std::string_view value) {
    value = Trim(value);
    return std::string(value.substr(0, value.find(' ')));
}

// "TCP a.b.c.d:p > e.f.g.h:q" at the start of a line or after ", ": the transport line
// the IP component writes first for every message.
bool ReadTransport(std::string_view line, IpCallFacts &f) {
    line = Trim(line);
    for (std::string_view name : {std::string_view("TCP"), std::string_view("UDP")}) {
        size_t at = std::string_view::npos;
        if (line.starts_with(name) && line.substr(name.size()).starts_with(' ')) {
            at = name.size() + 1;
        } else {
            for (size_t comma = line.find(", "); comma != std::string_view::npos; comma = line.find(", ", comma + 2))
                if (line.substr(comma + 2).starts_with(name) && line.substr(comma + 2 + name.size()).starts_with(' ')) {
                    at = comma + 3 + name.size();
                    break;
                }
        }
        if (at == std::string_view::npos) continue;
        std::string_view rest = line.substr(at);
        rest = rest.substr(0, rest.find(','));
        const size_t arrow = rest.find(" > ");
        if (arrow == std::string_view::npos) continue;
        std::string source = FirstWord(rest.substr(0, arrow)), destination = FirstWord(rest.substr(arrow + 3));
        if (source.empty() || destination.empty()) continue;
        f.transport = std::string(name);
        f.source = std::move(source);
        f.destination = std::move(destination);
        return true;
    }
    return false;
}

// The host part of "a.b.c.d:port".
std::string_view Host(std::string_view address) { return address.substr(0, address.rfind(':')); }

bool IsCallSignallingPort(std::string_view address) { return address.ends_with(":1720"); }

// A connection or datagram pair named the same whichever way it is used.
std::string PairKey(const IpCallFacts &f) {
    return f.source < f.destination ? f.transport + " " + f.source + " <> " + f.destination
                                    : f.transport + " " + f.destination + " <> " + f.source;
}

std::string SidesKey(const FlowMessage &m) { return m.from < m.to ? m.from + " <> " + m.to : m.to + " <> " + m.from; }

}  // namespace

IpCallFacts ReadIpCallFacts(const std::string &decoded) {
    IpCallFacts f;
    bool inCallIdentifier = false;
    std::string value;
    ForEachLine(decoded, [&](std::string_view line) {
        const std::string_view text = Trim(line);
        if (inCallIdentifier) {
            inCallIdentifier = false;
            if (f.callId.empty() && After(text, "guid:", value)) f.callId = FirstWord(value);
        }
        if (text == "callIdentifier") {
            inCallIdentifier = f.callId.empty();
        } else if (f.conferenceId.empty() && After(text, "conferenceID:", value)) {
            f.conferenceId = FirstWord(value);
        } else if (After(text, "h245Address: ipAddress:", value)) {
            value = FirstWord(value);
            if (!value.empty() && std::find(f.h245Addresses.begin(), f.h245Addresses.end(), value) == f.h245Addresses.end())
                f.h245Addresses.push_back(value);
        } else if (f.requestSeqNum.empty() && After(text, "requestSeqNum:", value)) {
            f.requestSeqNum = FirstWord(value);
        } else if (f.transport.empty()) {
            ReadTransport(text, f);
        }
        return true;
    });
    return f;
}

void AssignIpCallKeys(std::vector<FlowMessage> &messages, const std::vector<IpCallFacts> &facts) {
    // A conferenceID stands for the callIdentifier that any message names beside it.
    std::unordered_map<std::string, std::string> callOfConference;
    for (const IpCallFacts &f : facts)
        if (!f.callId.empty() && !f.conferenceId.empty()) callOfConference.emplace(f.conferenceId, f.callId);
    std::unordered_map<std::string, std::string> rasRequests;  // datagram pair and requestSeqNum: call
    std::unordered_map<std::string, std::string> connections;  // TCP connection: call
    // The calls that offered an H.245 address and have not opened a connection to it yet,
    // earliest first; the calls that did.
    std::unordered_map<std::string, std::vector<std::string>> offers;
    std::unordered_set<std::string> opened;
    // The hosts each call's own messages came from or went to.
    std::unordered_map<std::string, std::unordered_set<std::string>> hostsOfCall;

    for (size_t i = 0; i < messages.size(); ++i) {
        FlowMessage &m = messages[i];
        if (i >= facts.size()) {
            m.callKey = SidesKey(m);
            continue;
        }
        const IpCallFacts &f = facts[i];
        const bool hasTransport = !f.source.empty();
        const std::string pair = hasTransport ? PairKey(f) : std::string();
        const bool tcp = hasTransport && f.transport == "TCP";
        std::string key;
        if (!f.callId.empty()) {
            key = "Call ID " + f.callId;
        } else if (!f.conferenceId.empty()) {
            auto it = callOfConference.find(f.conferenceId);
            key = it != callOfConference.end() ? "Call ID " + it->second : "Conference ID " + f.conferenceId;
        }
        // A RAS answer (a confirm or reject) names only the request it answers.
        if (key.empty() && hasTransport && !tcp && !f.requestSeqNum.empty()) {
            auto it = rasRequests.find(pair + " #" + f.requestSeqNum);
            if (it != rasRequests.end()) key = it->second;
        }
        // Later messages of a connection are of the call its earlier messages named.
        if (key.empty() && tcp) {
            auto it = connections.find(pair);
            if (it != connections.end()) key = it->second;
        }
        // A new H.245 connection is the one a call offered an address of: the call whose
        // messages also reached the connection's other host, else the earliest offer.
        if (key.empty() && tcp && !IsCallSignallingPort(f.source) && !IsCallSignallingPort(f.destination)) {
            for (const std::string *end : {&f.source, &f.destination}) {
                auto it = offers.find(*end);
                if (it == offers.end() || it->second.empty()) continue;
                const std::string_view otherHost = Host(end == &f.source ? f.destination : f.source);
                std::vector<std::string> &calls = it->second;
                auto chosen = std::find_if(calls.begin(), calls.end(), [&](const std::string &call) {
                    return hostsOfCall[call].count(std::string(otherHost)) > 0;
                });
                if (chosen == calls.end()) chosen = calls.begin();
                key = *chosen;
                opened.insert(key + " @" + *end);
                calls.erase(chosen);
                break;
            }
        }
        if (key.empty()) {
            // A TCP connection of no known call is a diagram of its own; other messages
            // (registration, discovery) go with the others between the same two sides.
            m.callKey = tcp ? PairKey(f) : SidesKey(m);
            continue;
        }
        m.callKey = key;
        if (hasTransport) {
            if (tcp) connections[pair] = key;
            else if (!f.requestSeqNum.empty()) rasRequests[pair + " #" + f.requestSeqNum] = key;
            auto &hosts = hostsOfCall[key];
            hosts.emplace(Host(f.source));
            hosts.emplace(Host(f.destination));
        }
        for (const std::string &address : f.h245Addresses) {
            if (opened.count(key + " @" + address)) continue;
            std::vector<std::string> &calls = offers[address];
            if (std::find(calls.begin(), calls.end(), key) == calls.end()) calls.push_back(key);
        }
    }
}

namespace {

// The ISDN messages whose label the decoded text gives (called number, cause).
bool HasLabelInText(const std::string &name) {
    return name == "SETUP" || name == "DISCONNECT" || name == "RELEASE" || name == "RELEASE COMPLETE";
}

}  // namespace

std::vector<FlowMessage> ReadFlowMessages(CVexaClientDoc &doc, FlowFacts facts) {
    std::vector<FlowMessage> out;
    const int protocol = doc.m_nRunProtocol;
    CParserClient *parser = IsIsdn(protocol) ? static_cast<CParserClient *>(&doc.m_IsdnParser)
                            : protocol == 5  ? static_cast<CParserClient *>(&doc.m_DectParser)
                            : protocol == 6  ? static_cast<CParserClient *>(&doc.m_IpParser)
                                             : nullptr;
    if (!parser || !doc.m_bOutputLoaded) return out;
    int32_t count = 0;
    parser->GetMessageCount(count);
    if (count <= 0) return out;
    out.reserve(static_cast<size_t>(count));
    std::vector<IpCallFacts> ipFacts;
    if (protocol == 6) ipFacts.reserve(static_cast<size_t>(count));
    MessageRecord record;
    SequenceMessage decoded;
    std::string raw, entry, equ, callPart, text;
    int16_t previousSequence = 0;
    int16_t part = 0;
    for (int32_t i = 1; i <= count; ++i) {
        if (!parser->GetMessage(i, record)) continue;
        FlowMessage m;
        m.index = i;
        m.sequence = record.sequence;
        m.valid = record.valid;
        m.direction = record.Text(1);
        m.name = record.Text(3);
        m.time = record.Text(4);
        m.from = record.Text(5);
        m.to = record.Text(6);
        part = (i > 1 && record.sequence == previousSequence) ? static_cast<int16_t>(part + 1) : int16_t(1);
        previousSequence = record.sequence;
        callPart.clear();
        // A sequence number used again later in the trace reaches the later signal: its
        // text is taken only when it is of this message.
        // DECT keeps the SCP ID and the transaction value in strings 10 and 11; they are
        // read as the header lines the result text shows. A diagram needs no decoded text
        // of DECT messages, nor of ISDN messages without a label from it: the component
        // is spared decoding them again.
        const bool diagram = facts == FlowFacts::Diagram;
        const bool wantsText = !diagram || protocol == 6 || (IsIsdn(protocol) && HasLabelInText(m.name));
        const uint32_t wanted = 1u << 2 | (wantsText ? 1u << 6 : 0u) | (protocol == 5 ? (1u << 9 | 1u << 10) : 0u);
        bool decodedHere = false;
        if (wantsText || protocol == 5) {
            decoded = SequenceMessage();
            decodedHere = parser->GetSequenceMessage(part, record.sequence, decoded, wanted) != 0 && decoded.Text(3) == m.name;
        }
        if (decodedHere && protocol == 5)
            text = "SCP ID: " + decoded.Text(10) + "\nTransaction Value: " + decoded.Text(11) + "\n" + decoded.Text(7);
        else if (decodedHere)
            text = decoded.Text(7);
        else
            text.clear();
        ReadDecodedFacts(protocol, text, m, callPart);
        if (IsIsdn(protocol)) {
            raw.clear();
            doc.m_IsdnParser.GetCallReference(i, raw);
            entry = CallReferenceEntry(raw);
            if (!entry.empty()) {
                equ.clear();
                doc.m_IsdnParser.GetEquNumber(i, equ);
                m.callKey = std::string(Trim(equ)) + " CR " + WithoutFlag(entry);
            }
        } else if (protocol == 5) {
            if (callPart.starts_with("SCP ")) m.callKey = callPart;
        } else {
            // IP: the keys are given once every message's facts are known.
            ipFacts.push_back(ReadIpCallFacts(text));
        }
        out.push_back(std::move(m));
    }
    if (protocol == 6) AssignIpCallKeys(out, ipFacts);
    return out;
}

int CallFlow::SideColumn(const std::string &side) const {
    auto it = std::find(sides.begin(), sides.end(), side);
    return it == sides.end() ? -1 : static_cast<int>(it - sides.begin());
}

namespace {

// The call of the message at position chosen among messages.
CallFlow FlowOf(const std::vector<FlowMessage> &messages, size_t chosen) {
    CallFlow flow;
    if (chosen >= messages.size()) return flow;
    const std::string key = messages[chosen].callKey;
    flow.title = key.empty() ? "Signal " + std::to_string(messages[chosen].sequence) : key;
    // A message without a call key stands alone.
    auto inCall = [&](size_t i) { return key.empty() ? i == chosen : messages[i].callKey == key; };
    size_t count = 0;
    for (size_t i = 0; i < messages.size(); ++i) count += inCall(i) ? 1 : 0;
    flow.arrows.reserve(count);
    for (size_t i = 0; i < messages.size(); ++i) {
        if (!inCall(i)) continue;
        const FlowMessage &m = messages[i];
        if (flow.SideColumn(m.from) < 0) flow.sides.push_back(m.from);
        if (flow.SideColumn(m.to) < 0) flow.sides.push_back(m.to);
        flow.arrows.push_back(m);
    }
    return flow;
}

// The position of the first message that pred accepts; messages.size() when none does.
template <typename Pred>
size_t FindMessage(const std::vector<FlowMessage> &messages, Pred pred) {
    return static_cast<size_t>(std::find_if(messages.begin(), messages.end(), pred) - messages.begin());
}

}  // namespace

CallFlow BuildCallFlow(const std::vector<FlowMessage> &messages, int16_t sequence) {
    return FlowOf(messages, FindMessage(messages, [&](const FlowMessage &m) { return m.sequence == sequence; }));
}

CallFlow BuildCallFlowOfMessage(const std::vector<FlowMessage> &messages, int32_t index) {
    return FlowOf(messages, FindMessage(messages, [&](const FlowMessage &m) { return m.index == index; }));
}

CallFlow BuildCallFlowOfMessage(std::vector<FlowMessage> &&messages, int32_t index) {
    const size_t chosen = FindMessage(messages, [&](const FlowMessage &m) { return m.index == index; });
    if (chosen >= messages.size() || messages[chosen].callKey.empty())
        return FlowOf(messages, chosen);
    // The call's messages are kept where they are, the others dropped: a long call is
    // neither copied nor moved to new memory.
    CallFlow flow;
    const std::string key = messages[chosen].callKey;
    flow.title = key;
    size_t kept = 0;
    for (size_t i = 0; i < messages.size(); ++i) {
        if (messages[i].callKey != key) continue;
        if (i != kept) messages[kept] = std::move(messages[i]);
        const FlowMessage &m = messages[kept++];
        if (flow.SideColumn(m.from) < 0) flow.sides.push_back(m.from);
        if (flow.SideColumn(m.to) < 0) flow.sides.push_back(m.to);
    }
    messages.erase(messages.begin() + static_cast<std::ptrdiff_t>(kept), messages.end());
    flow.arrows = std::move(messages);
    return flow;
}

}  // namespace vexa
