// The directory of Q.931 / EN 300 403 message types and codeset 0 information elements.
#pragma once

#include "IeDecoders.h"

#include <cstdint>
#include <span>
#include <string>

namespace vexa::isdn {

inline constexpr uint8_t kProtocolDiscriminatorQ931 = 0x08;

// Identifiers of the elements the decoder refers to by name.
namespace ie {
inline constexpr uint8_t kSegmentedMessage = 0x00;
inline constexpr uint8_t kBearerCapability = 0x04;
inline constexpr uint8_t kCause = 0x08;
inline constexpr uint8_t kCallState = 0x14;
inline constexpr uint8_t kChannelIdentification = 0x18;
inline constexpr uint8_t kFacility = 0x1C;
inline constexpr uint8_t kProgressIndicator = 0x1E;
inline constexpr uint8_t kNotificationIndicator = 0x27;
inline constexpr uint8_t kCallingPartyNumber = 0x6C;
inline constexpr uint8_t kRestartIndicator = 0x79;
inline constexpr uint8_t kUserUser = 0x7E;
inline constexpr uint8_t kCongestionLevel = 0xB0;  // single octet, value in bits 4-1
inline constexpr uint8_t kNone = 0xFF;
}  // namespace ie

// What follows the message type (Q.931 4.4, Annex H).
enum class MessageBody : uint8_t {
    kElements,  // information elements
    kSegment,   // the segmented message element, then octets of the message being segmented
    kNational,  // octets of a nationally specific message type, defined by the national specification
};

// A message type: its value, its name in capitals, the elements it must carry (in both
// directions; kNone ends the list) and what follows it.
struct MessageType {
    uint8_t value;
    const char *name;
    uint8_t mandatory[2];
    MessageBody body = MessageBody::kElements;
};

// A codeset 0 element with variable length: its identifier, name, largest length of the
// whole element in octets (0: no limit set by the standard) and its decoder (nullptr:
// shown as hex).
struct ElementType {
    uint8_t id;
    const char *name;
    uint8_t maxLength;
    ElementDecoder decode;
};

const MessageType *FindMessageType(uint8_t value);
const ElementType *FindElementType(uint8_t id);

// Name of a codeset 0 element, single octet ones included (for cause diagnostics and
// missing-element lines); nullptr when unknown.
const char *ElementName(uint8_t id);

// Protocol discriminator text ("H'08 Q.931 user-network call control messages").
const std::string &DiscriminatorText(uint8_t pd);

std::span<const MessageType> AllMessageTypes();
std::span<const ElementType> AllElementTypes();

}  // namespace vexa::isdn
