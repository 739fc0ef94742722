// Decodes one DECT network layer message (EN 300 175-5): transaction identifier, protocol
// discriminator, message type and the information elements, into the texts the program
// shows.
#pragma once

#include "DecodedText.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vexa::dect {

// Line statuses of a completed GDI signal.
enum DectStatus : int {
    kNormal = 1,
    kNoElements = 0,
    kElementsNotDecoded = -4,
    kStationControlOnly = -5,
    kUnknownMessageType = -6,
    kUnknownDiscriminator = -7,
};

struct DecodedDect {
    int status = kNormal;
    bool valid = true;
    std::string messageName;       // "CC-SETUP"
    std::string discriminator;     // "CC Call Control"
    std::string transactionValue;  // "TI 2 (Originator)"
    int transactionFlag = -1;      // 0 sent from the originating side, 1 to it; -1 none
    std::string extraLine;         // the portable identity, when the message carries one
    std::string text;              // the decoded text (parts separated by "||")
};

class DectDecoder {
public:
    // Decodes size octets; problems are what the line reader found wrong in the signal.
    // hasData false: a signal that carries only its station control message.
    static DecodedDect Decode(const uint8_t *data, size_t size, const std::vector<std::string> &problems, bool hasData);
    // The same into d, whose strings are used again.
    static void DecodeInto(const uint8_t *data, size_t size, const std::vector<std::string> &problems, bool hasData,
                           DecodedDect &d);
};

}  // namespace vexa::dect
