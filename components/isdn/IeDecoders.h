// Decoders of the contents of the Q.931 / EN 300 403 information elements of codeset 0.
// Each reads the octets after the length octet and writes one line per field.
#pragma once

#include "ElementReader.h"

namespace vexa::isdn {

using ElementDecoder = void (*)(ElementReader &, MessageFacts &);

// Tables used by more than one element.
extern const ValueTable kCodingStandard;  // bits 7-6 of the first octet of many elements
extern const ValueTable kLocation;        // cause and progress indicator
extern const ValueTable kTypeOfNumber;
extern const ValueTable kNumberingPlan;

// The coding standard of octet3 (coding in bits 7-6, or 8-7 for the call state). The fields
// after it are those of that standard: true for the ITU-T coding, whose tables this decoder
// has; otherwise the element's octets from octet 3 on are shown as they are, and false.
bool CodedToItuT(ElementReader &r, unsigned coding, uint8_t octet3);

// Call control elements (IeCallControl.cpp).
void DecodeSegmentedMessage(ElementReader &r, MessageFacts &f);
void DecodeCause(ElementReader &r, MessageFacts &f);
void DecodeCallIdentity(ElementReader &r, MessageFacts &f);
void DecodeCallState(ElementReader &r, MessageFacts &f);
void DecodeChannelIdentification(ElementReader &r, MessageFacts &f);
void DecodeProgressIndicator(ElementReader &r, MessageFacts &f);
void DecodeNotificationIndicator(ElementReader &r, MessageFacts &f);
void DecodeDisplay(ElementReader &r, MessageFacts &f);
void DecodeDateTime(ElementReader &r, MessageFacts &f);
void DecodeKeypadFacility(ElementReader &r, MessageFacts &f);
void DecodeSignal(ElementReader &r, MessageFacts &f);
void DecodeRestartIndicator(ElementReader &r, MessageFacts &f);

// Bearer and compatibility elements (IeBearer.cpp).
void DecodeBearerCapability(ElementReader &r, MessageFacts &f);
void DecodeLowLayerCompatibility(ElementReader &r, MessageFacts &f);
void DecodeHighLayerCompatibility(ElementReader &r, MessageFacts &f);

// Numbers, subaddresses and networks (IeNumbers.cpp).
void DecodeCalledPartyNumber(ElementReader &r, MessageFacts &f);
void DecodeCallingPartyNumber(ElementReader &r, MessageFacts &f);
void DecodeConnectedNumber(ElementReader &r, MessageFacts &f);
void DecodeRedirectingNumber(ElementReader &r, MessageFacts &f);
void DecodeRedirectionNumber(ElementReader &r, MessageFacts &f);
void DecodeSubaddress(ElementReader &r, MessageFacts &f);
void DecodeTransitNetworkSelection(ElementReader &r, MessageFacts &f);
void DecodeNetworkSpecificFacilities(ElementReader &r, MessageFacts &f);

// Packet-mode and closed user group elements (IePacket.cpp).
void DecodeInformationRate(ElementReader &r, MessageFacts &f);
void DecodeEndToEndTransitDelay(ElementReader &r, MessageFacts &f);
void DecodeTransitDelaySelection(ElementReader &r, MessageFacts &f);
void DecodePacketLayerBinaryParameters(ElementReader &r, MessageFacts &f);
void DecodePacketLayerWindowSize(ElementReader &r, MessageFacts &f);
void DecodePacketSize(ElementReader &r, MessageFacts &f);
void DecodeClosedUserGroup(ElementReader &r, MessageFacts &f);
void DecodeReverseChargingIndication(ElementReader &r, MessageFacts &f);

// Facility and user-user (IeFacility.cpp).
void DecodeFacility(ElementReader &r, MessageFacts &f);
void DecodeUserUser(ElementReader &r, MessageFacts &f);

// Single octet elements of codeset 0: writes the fields of octet (the whole element).
void DecodeSingleOctet(uint8_t octet, DecodedText &out);

}  // namespace vexa::isdn
