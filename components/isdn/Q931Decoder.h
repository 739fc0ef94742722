// Decodes one layer 3 message of Q.931 / EN 300 403 (DSS1): protocol discriminator, call
// reference, message type and information elements of codeset 0 and, after shifts, of the
// national codesets of the chosen variant.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::isdn {

struct SegmentPlace;

// Statuses a message gets, as the program reads them on the completing line.
enum MessageStatus : int {
    kStatusNormal = 1,             // octets follow the message type, or the text says what is wrong
    kStatusHeaderOnly = 0,         // nothing follows the message type, and nothing is wrong
    kStatusUnknownDiscriminator = -5,
    kStatusBadCallReference = -6,
    kStatusUnknownMessageType = -7,
};

// Protocol variants (the program's protocol numbers 1 to 4).
enum Variant : int { kGeneric = 1, kFrench = 2, kGerman = 3, kAustralian = 4 };

struct DecodedMessage {
    int status = kStatusNormal;
    bool valid = true;
    std::string messageName;     // "SETUP"
    std::string_view discriminator;  // "H'08 Q.931 user-network call control messages" (a lasting text)
    std::vector<uint8_t> callReference;  // the call reference value octets as read
    bool callReferenceRead = false;
    std::string text;            // decoded text: parts separated by "||"
    bool hasCallingNumber = false;
    std::string callingNumber;
};

class Q931Decoder {
public:
    explicit Q931Decoder(int variant = kGeneric) : m_variant(variant) {}
    void SetVariant(int variant) { m_variant = variant; }
    int GetVariant() const { return m_variant; }

    // Decodes size octets. problems are lines the line reader found wrong with the signal
    // (odd hex digits, fewer octets than LEN, missing parts); they are shown first and
    // make the message invalid.
    // textBuffer: a string whose storage the decoded text may use (its contents are dropped).
    // place: for a SEGMENT message, where it stands among the segments of its message in the
    // trace; with the last one the reassembled message is decoded after the segment.
    DecodedMessage Decode(const uint8_t *data, size_t size, const std::vector<std::string> &problems = {},
                          std::string textBuffer = {}, const SegmentPlace *place = nullptr) const;

private:
    int m_variant;
};

}  // namespace vexa::isdn
