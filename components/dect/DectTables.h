// The code points of the DECT network layer (EN 300 175-5) as tables: protocol
// discriminators, message types per protocol entity with their mandatory elements, element
// identifiers, and the values of the coded fields.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vexa::dect {

// A coded value and its meaning.
struct ValueName {
    uint8_t value;
    const char *name;
};

// The meaning of value in table, or nullptr.
const char *NameOf(std::span<const ValueName> table, unsigned value);

// Protocol discriminators (octet 1, bits 4-1).
enum Discriminator : uint8_t { kLce = 0, kCc = 3, kCiss = 4, kMm = 5, kClms = 6, kComs = 7 };
// "CC Call Control" and the like; nullptr for a reserved value.
const char *DiscriminatorName(unsigned pd);

// One message type of a protocol entity.
struct MessageType {
    uint8_t pd;
    uint8_t type;
    const char *name;        // "CC-SETUP"
    uint8_t mandatory[4];    // identifiers of the elements it must carry (0 ends the list)
};
const MessageType *FindMessageType(unsigned pd, unsigned type);
std::span<const MessageType> MessageTypes();

// Fixed-length elements (bit 8 of the identifier octet set).
inline constexpr uint8_t kShiftGroup = 0x90, kControlGroup = 0xA0, kRepeatIndicatorGroup = 0xD0,
                         kDoubleOctetGroup = 0xE0;
inline constexpr uint8_t kSendingComplete = 0xA1, kDelimiterRequest = 0xA2, kUseTpui = 0xA3;
inline constexpr uint8_t kBasicService = 0xE0, kReleaseReason = 0xE2, kSignal = 0xE4, kTimerRestart = 0xE5,
                         kTestHookControl = 0xE6, kSingleDisplay = 0xE8, kSingleKeypad = 0xE9;

// Variable-length element identifiers used by the decoder outside the element table.
inline constexpr uint8_t kPortableIdentity = 0x05, kFixedIdentity = 0x06, kLocationArea = 0x07,
                         kAuthType = 0x0A, kRand = 0x0C, kRes = 0x0D, kRs = 0x0E, kIdentityType = 0x02,
                         kInfoType = 0x01, kCipherInfo = 0x19, kServiceChangeInfo = 0x16, kAllocationType = 0x0B;

// The name of element id ("PORTABLE-IDENTITY", "BASIC-SERVICE"); nullptr when not known.
const char *ElementName(uint8_t id);

// Value tables of the coded fields.
extern const std::span<const ValueName> kCallClasses, kBasicServices, kReleaseReasons, kSignals,
    kTimerRestarts, kTestHookControls, kRepeatIndicators, kPortableIdentityTypes, kFixedIdentityTypes,
    kNwkIdentityTypes, kPortableUserIdentityTypes, kAccessRightsClasses, kLocationInfoTypes,
    kAuthAlgorithms, kAuthKeyTypes, kCipherAlgorithms, kCipherKeyTypes, kIdentityGroups, kInfoParameterTypes,
    kNumberTypes, kNumberingPlans, kPresentationIndicators, kNamePresentationIndicators, kScreeningIndicators,
    kAlphabets, kProgressCodingStandards, kProgressLocations, kProgressDescriptions, kRejectReasons, kCodecs,
    kCodecServices, kCodecRouting, kSlotSizes, kEventTypes, kToneCapabilities, kDisplayCapabilities,
    kIwuDiscriminators, kFeatures, kServiceDiscriminators, kCodesets, kNegotiationIndicators,
    kSetupCapabilities, kPageCapabilities, kLockLimits, kTimeLimits, kTimeDateCodings, kTimeDateInterpretations, kNetworkParameters;

}  // namespace vexa::dect
