// The call flow of one call: the messages of the trace that belong to the call of a
// chosen signal, as the arrows of a ladder diagram between the sides that exchange them.
// The messages are read once from the document's parser component, with the facts the
// diagram and the trace summary need (call key, cause, called number, first "!!!" reason).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexa {

class CVexaClientDoc;

// One message of the trace, as the call flow and the summary see it.
struct FlowMessage {
    int32_t index = 0;      // the component's message index, from 1
    int16_t sequence = 0;   // the signal's sequence number
    std::string direction;  // "SWHW" (outgoing) or "HWSW" (incoming)
    std::string name, time, from, to;
    bool valid = true;
    std::string callKey;    // which call the message belongs to; empty when none is known
    std::string key;        // the short label beside the name (cause, called number, TI, protocol)
    std::string causeValue, causeText;  // ISDN: the cause value and its text, if any
    std::string reason;     // the first "!!!" line of the decoded text, trimmed
    bool Outgoing() const { return direction == "SWHW"; }
};

// What ReadFlowMessages reads of each message: everything the summary shows, or only
// what a diagram draws (the call key and the arrow's label; no causes of other messages,
// no reasons), which spares decoding most messages again.
enum class FlowFacts { All, Diagram };

// Every message the document's component holds, in trace order. Empty without a run.
std::vector<FlowMessage> ReadFlowMessages(CVexaClientDoc &doc, FlowFacts facts = FlowFacts::All);

// The facts drawn from one message's decoded text for a protocol (1-4 ISDN, 5 DECT, 6 IP):
// fills key, causeValue, causeText, reason, and the part of the call key the text holds.
void ReadDecodedFacts(int protocol, const std::string &decoded, FlowMessage &m, std::string &callPart);

// What an IP message's decoded text says about the call it belongs to.
struct IpCallFacts {
    std::string callId;        // the H.225.0 callIdentifier's guid, in hex
    std::string conferenceId;  // the conferenceID, in hex
    std::vector<std::string> h245Addresses;  // "a.b.c.d:port" offered for the call's H.245
    std::string transport;     // "TCP" or "UDP"
    std::string source, destination;  // "a.b.c.d:port" of the transport line
    std::string requestSeqNum;        // of a RAS message
};
IpCallFacts ReadIpCallFacts(const std::string &decoded);

// Gives each IP message (in trace order, facts[i] belonging to messages[i]) the key of its
// call: the callIdentifier, else the conferenceID (or the callIdentifier another message
// names beside it); a RAS answer takes the call of its request (same requestSeqNum between
// the same addresses); an H.245 connection belongs to the call whose call signalling
// offered one of its two ends as the H.245 address, and a TCP connection keeps the call
// of its messages. A TCP connection of no known call is keyed by itself; the other
// messages of no known call (registration, discovery) by their two sides.
void AssignIpCallKeys(std::vector<FlowMessage> &messages, const std::vector<IpCallFacts> &facts);

struct CallFlow {
    std::string title;
    std::vector<std::string> sides;     // the columns, in order of first appearance
    std::vector<FlowMessage> arrows;    // in trace order
    // The column of a side; -1 when it is not one.
    int SideColumn(const std::string &side) const;
};

// The call of the first message of signal sequence among messages: ISDN the same call
// reference (flag ignored) on the same equipment, DECT the same SCP ID and transaction
// value, IP the messages of the same H.323 call (see AssignIpCallKeys). Empty when the
// signal is unknown.
CallFlow BuildCallFlow(const std::vector<FlowMessage> &messages, int16_t sequence);
// The call of the message with the component's index: the one a list row stands for,
// also where its sequence number occurs more than once.
CallFlow BuildCallFlowOfMessage(const std::vector<FlowMessage> &messages, int32_t index);
// The same, taking the call's messages out of messages rather than copying them.
CallFlow BuildCallFlowOfMessage(std::vector<FlowMessage> &&messages, int32_t index);

}  // namespace vexa
