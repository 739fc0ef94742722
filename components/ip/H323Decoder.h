// Decodes one H.323 message: an H.225.0 RAS message, an H.225.0 call signalling message
// (Q.931 carrying the H323-UserInformation in its user-user element) or an H.245
// MultimediaSystemControlMessage, each in the aligned variant of PER.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::ip {

// The three protocols of the IP component, with the texts FindFirstByProtocol takes.
enum class H323Protocol : uint8_t { Ras, CallSignalling, H245 };
const char *ProtocolText(H323Protocol protocol);  // "RAS", "H2250", "H245"

struct H323Message {
    std::string name;   // "registrationRequest", "SETUP", "terminalCapabilitySet"
    std::string body;   // call signalling: the H.323-UU-PDU message body chosen ("setup")
    bool valid = true;
    std::string text;   // decoded text: parts separated by "||"
};

class H323Decoder {
public:
    // problems: what the line reader found wrong (shown first; they make the message invalid).
    // title: when not empty, the first part of the text (where the message came from).
    static H323Message Decode(H323Protocol protocol, const uint8_t *data, size_t size,
                              const std::vector<std::string> &problems = {}, std::string_view title = {});
};

}  // namespace vexa::ip
