#include "DectTables.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace vexa::dect {

const char *NameOf(std::span<const ValueName> table, unsigned value) {
    for (const ValueName &v : table)
        if (v.value == value) return v.name;
    return nullptr;
}

const char *DiscriminatorName(unsigned pd) {
    switch (pd) {
    case kLce: return "LCE Link Control Entity";
    case kCc: return "CC Call Control";
    case kCiss: return "CISS Call Independent Supplementary Services";
    case kMm: return "MM Mobility Management";
    case kClms: return "CLMS ConnectionLess Message Service";
    case kComs: return "COMS Connection Oriented Message Service";
    default: return nullptr;
    }
}

namespace {

// clang-format off
// Message types (EN 300 175-5, clause 7.4) with the elements each must carry.
constexpr MessageType kMessageTypes[] = {
    // Call Control, with the call related supplementary services
    {kCc, 0x01, "CC-ALERTING", {}},
    {kCc, 0x02, "CC-CALL-PROC", {}},
    {kCc, 0x05, "CC-SETUP", {kPortableIdentity, kFixedIdentity, kBasicService}},
    {kCc, 0x07, "CC-CONNECT", {}},
    {kCc, 0x0D, "CC-SETUP-ACK", {}},
    {kCc, 0x0F, "CC-CONNECT-ACK", {}},
    {kCc, 0x20, "CC-SERVICE-CHANGE", {kServiceChangeInfo}},
    {kCc, 0x21, "CC-SERVICE-ACCEPT", {}},
    {kCc, 0x23, "CC-SERVICE-REJECT", {}},
    {kCc, 0x24, "CRSS-HOLD", {}},
    {kCc, 0x28, "CRSS-HOLD-ACK", {}},
    {kCc, 0x30, "CRSS-HOLD-REJECT", {}},
    {kCc, 0x31, "CRSS-RETRIEVE", {}},
    {kCc, 0x33, "CRSS-RETRIEVE-ACK", {}},
    {kCc, 0x37, "CRSS-RETRIEVE-REJECT", {}},
    {kCc, 0x4D, "CC-RELEASE", {}},
    {kCc, 0x5A, "CC-RELEASE-COM", {}},
    {kCc, 0x60, "CC-IWU-INFO", {}},
    {kCc, 0x62, "CRSS-FACILITY", {}},
    {kCc, 0x6E, "CC-NOTIFY", {}},
    {kCc, 0x7B, "CC-INFO", {}},
    // Call Independent Supplementary Services
    {kCiss, 0x5A, "CISS-RELEASE-COM", {}},
    {kCiss, 0x62, "CISS-FACILITY", {}},
    {kCiss, 0x64, "CISS-REGISTER", {kPortableIdentity}},
    // Connection Oriented Message Service
    {kComs, 0x05, "COMS-SETUP", {kPortableIdentity, kFixedIdentity}},
    {kComs, 0x07, "COMS-CONNECT", {}},
    {kComs, 0x08, "COMS-NOTIFY", {}},
    {kComs, 0x4D, "COMS-RELEASE", {}},
    {kComs, 0x5A, "COMS-RELEASE-COM", {}},
    {kComs, 0x78, "COMS-ACK", {}},
    {kComs, 0x7B, "COMS-INFO", {}},
    // ConnectionLess Message Service
    {kClms, 0x01, "CLMS-VARIABLE", {}},
    // Mobility Management
    {kMm, 0x40, "MM-AUTHENTICATION-REQUEST", {kAuthType, kRand, kRs}},
    {kMm, 0x41, "MM-AUTHENTICATION-REPLY", {kRes}},
    {kMm, 0x42, "MM-KEY-ALLOCATE", {kAllocationType, kRand, kRs}},
    {kMm, 0x43, "MM-AUTHENTICATION-REJECT", {}},
    {kMm, 0x44, "MM-ACCESS-RIGHTS-REQUEST", {kPortableIdentity, kAuthType}},
    {kMm, 0x45, "MM-ACCESS-RIGHTS-ACCEPT", {kPortableIdentity, kFixedIdentity}},
    {kMm, 0x47, "MM-ACCESS-RIGHTS-REJECT", {}},
    {kMm, 0x48, "MM-ACCESS-RIGHTS-TERMINATE-REQUEST", {kPortableIdentity}},
    {kMm, 0x49, "MM-ACCESS-RIGHTS-TERMINATE-ACCEPT", {}},
    {kMm, 0x4B, "MM-ACCESS-RIGHTS-TERMINATE-REJECT", {}},
    {kMm, 0x4C, "MM-CIPHER-REQUEST", {kCipherInfo}},
    {kMm, 0x4E, "MM-CIPHER-SUGGEST", {kCipherInfo}},
    {kMm, 0x4F, "MM-CIPHER-REJECT", {}},
    {kMm, 0x50, "MM-INFO-REQUEST", {kInfoType}},
    {kMm, 0x51, "MM-INFO-ACCEPT", {}},
    {kMm, 0x52, "MM-INFO-SUGGEST", {kInfoType}},
    {kMm, 0x53, "MM-INFO-REJECT", {}},
    {kMm, 0x54, "MM-LOCATE-REQUEST", {kPortableIdentity}},
    {kMm, 0x55, "MM-LOCATE-ACCEPT", {kPortableIdentity, kLocationArea}},
    {kMm, 0x56, "MM-DETACH", {kPortableIdentity}},
    {kMm, 0x57, "MM-LOCATE-REJECT", {}},
    {kMm, 0x58, "MM-IDENTITY-REQUEST", {kIdentityType}},
    {kMm, 0x59, "MM-IDENTITY-REPLY", {}},
    {kMm, 0x5B, "MM-IWU", {}},
    {kMm, 0x5C, "MM-TEMPORARY-IDENTITY-ASSIGN", {}},
    {kMm, 0x5D, "MM-TEMPORARY-IDENTITY-ASSIGN-ACK", {}},
    {kMm, 0x5F, "MM-TEMPORARY-IDENTITY-ASSIGN-REJ", {}},
    {kMm, 0x6E, "MM-NOTIFY", {}},
    // Link Control Entity
    {kLce, 0x71, "LCE-PAGE-RESPONSE", {kPortableIdentity}},
    {kLce, 0x72, "LCE-PAGE-REJECT", {kPortableIdentity}},
};

// Variable-length elements (clause 7.7.1) and the fixed-length ones by their full octet.
constexpr ValueName kElementNames[] = {
    {0x01, "INFO-TYPE"}, {0x02, "IDENTITY-TYPE"}, {0x05, "PORTABLE-IDENTITY"}, {0x06, "FIXED-IDENTITY"},
    {0x07, "LOCATION-AREA"}, {0x09, "NWK-ASSIGNED-IDENTITY"}, {0x0A, "AUTH-TYPE"}, {0x0B, "ALLOCATION-TYPE"},
    {0x0C, "RAND"}, {0x0D, "RES"}, {0x0E, "RS"}, {0x12, "IWU-ATTRIBUTES"}, {0x13, "CALL-ATTRIBUTES"},
    {0x16, "SERVICE-CHANGE-INFO"}, {0x17, "CONNECTION-ATTRIBUTES"}, {0x19, "CIPHER-INFO"},
    {0x1A, "CALL-IDENTITY"}, {0x1B, "CONNECTION-IDENTITY"}, {0x1C, "FACILITY"}, {0x1E, "PROGRESS-INDICATOR"},
    {0x20, "MMS-GENERIC-HEADER"}, {0x21, "MMS-OBJECT-HEADER"}, {0x22, "MMS-EXTENDED-HEADER"},
    {0x23, "TIME-DATE"}, {0x28, "MULTI-DISPLAY"}, {0x2C, "MULTI-KEYPAD"}, {0x38, "FEATURE-ACTIVATE"},
    {0x39, "FEATURE-INDICATE"}, {0x41, "NETWORK-PARAMETER"}, {0x42, "EXT-HO-INDICATOR"}, {0x52, "ZAP-FIELD"},
    {0x54, "SERVICE-CLASS"}, {0x56, "KEY"}, {0x60, "REJECT-REASON"}, {0x62, "SETUP-CAPABILITY"},
    {0x63, "TERMINAL-CAPABILITY"}, {0x64, "END-TO-END-COMPATIBILITY"}, {0x65, "RATE-PARAMETERS"},
    {0x66, "TRANSIT-DELAY"}, {0x67, "WINDOW-SIZE"}, {0x68, "ULE-MAC-CONFIGURATION-INFO"}, {0x6C, "CALLING-PARTY-NUMBER"},
    {0x6D, "CALLING-PARTY-NAME"}, {0x70, "CALLED-PARTY-NUMBER"}, {0x71, "CALLED-PARTY-SUBADDR"},
    {0x72, "DURATION"}, {0x73, "CALLED-PARTY-NAME"}, {0x74, "LIST-CHANGE-DETAILS"}, {0x75, "SEGMENTED-INFO"},
    {0x76, "ALPHANUMERIC"}, {0x77, "IWU-TO-IWU"}, {0x78, "MODEL-IDENTIFIER"}, {0x7A, "IWU-PACKET"},
    {0x7B, "ESCAPE-TO-PROPRIETARY"}, {0x7C, "CODEC-LIST"}, {0x7D, "EVENTS-NOTIFICATION"},
    {0x7E, "CALL-INFORMATION"}, {0x7F, "ESCAPE-FOR-EXTENSION"},
    {kSendingComplete, "SENDING-COMPLETE"}, {kDelimiterRequest, "DELIMITER-REQUEST"}, {kUseTpui, "USE-TPUI"},
    {kBasicService, "BASIC-SERVICE"}, {kReleaseReason, "RELEASE-REASON"}, {kSignal, "SIGNAL"},
    {kTimerRestart, "TIMER-RESTART"}, {kTestHookControl, "TEST-HOOK-CONTROL"},
    {kSingleDisplay, "SINGLE-DISPLAY"}, {kSingleKeypad, "SINGLE-KEYPAD"},
};

constexpr ValueName kCallClassTable[] = {
    {0x2, "LiA service setup"}, {0x3, "ULE service call setup"}, {0x4, "Message call setup"}, {0x7, "DECT/ISDN IIP"}, {0x8, "Normal call setup"}, {0x9, "Internal call setup"},
    {0xA, "Emergency call setup"}, {0xB, "Service call setup"}, {0xC, "External handover call setup"},
    {0xD, "Supplementary service call setup"}, {0xE, "OA&M call setup"},
};
constexpr ValueName kBasicServiceTable[] = {
    {0x0, "Basic speech default setup attributes"}, {0x4, "DECT GSM IWP profile (Phase 2)"},
    {0x5, "LRMS (E-profile) service"}, {0x6, "DECT UMTS IWP / GSM IWP SMS"},
    {0x8, "Wideband speech default setup attributes"}, {0x9, "Light data service: SUOTA, class 4 DPRS management"},
    {0xA, "Light data service: SUOTA, class 3 DPRS management"},
    {0xB, "DTAM wideband speech default setup attributes"}, {0xF, "Other"},
};
constexpr ValueName kReleaseReasonTable[] = {
    {0x00, "Normal"}, {0x01, "Unexpected message"}, {0x02, "Unknown transaction identifier"},
    {0x03, "Mandatory information element missing"}, {0x04, "Invalid information element contents"},
    {0x05, "Incompatible service"}, {0x06, "Service not implemented"}, {0x07, "Negotiation not supported"},
    {0x08, "Invalid identity"}, {0x09, "Authentication failed"}, {0x0A, "Unknown identity"},
    {0x0B, "Negotiation failed"}, {0x0C, "Collision"}, {0x0D, "Timer expiry"}, {0x0E, "Partial release"},
    {0x0F, "Unknown"},
    {0x10, "User detached"}, {0x11, "User not in range"}, {0x12, "User unknown"}, {0x13, "User already active"},
    {0x14, "User busy"}, {0x15, "User rejection"}, {0x16, "User call modify"},
    {0x21, "External handover not supported"}, {0x22, "Network parameters missing"},
    {0x23, "External handover release"}, {0x31, "Overload"}, {0x32, "Insufficient resources"},
    {0x33, "Insufficient bearers available"}, {0x34, "IWU congestion"}, {0x40, "Security attack assumed"},
    {0x41, "Encryption activation failed"}, {0x42, "Re-keying failed"}, {0x43, "No cipher key available"},
};
constexpr ValueName kSignalTable[] = {
    {0x00, "Dial tone on"}, {0x01, "Ring-back tone on"}, {0x02, "Intercept tone on"},
    {0x03, "Network congestion tone on"}, {0x04, "Busy tone on"}, {0x05, "Confirm tone on"},
    {0x06, "Answer tone on"}, {0x07, "Call waiting tone on"}, {0x08, "Off-hook warning tone on"},
    {0x09, "Negative acknowledgement tone"}, {0x3F, "Tones off"},
    {0x40, "Alerting on - pattern 0 (internal call)"}, {0x41, "Alerting on - pattern 1 (external call)"},
    {0x42, "Alerting on - pattern 2"}, {0x43, "Alerting on - pattern 3"}, {0x44, "Alerting on - pattern 4"},
    {0x45, "Alerting on - pattern 5"}, {0x46, "Alerting on - pattern 6"}, {0x47, "Alerting on - pattern 7"},
    {0x48, "Alerting on - continuous"}, {0x4F, "Alerting off"},
};
constexpr ValueName kTimerRestartTable[] = {{0x00, "Restart timer"}, {0x01, "Stop timer"}};
constexpr ValueName kTestHookControlTable[] = {{0x00, "Go on hook"}, {0x01, "Go off hook"}};
constexpr ValueName kRepeatIndicatorTable[] = {{0x1, "Non prioritized list"}, {0x2, "Prioritized list"}};
constexpr ValueName kPortableIdentityTypeTable[] = {{0x00, "IPUI"}, {0x10, "IPEI"}, {0x20, "TPUI"}};
constexpr ValueName kFixedIdentityTypeTable[] = {
    {0x00, "ARI"}, {0x01, "ARI + RPN"}, {0x02, "ARI + RPN for WRS"}, {0x20, "PARK"}};
constexpr ValueName kNwkIdentityTypeTable[] = {{0x74, "TMSI"}, {0x7F, "Proprietary"}};
constexpr ValueName kPutTable[] = {
    {0x0, "IPUI-N (portable equipment identity)"}, {0x1, "IPUI-O (private number)"},
    {0x2, "IPUI-P (public/private service provider)"}, {0x3, "IPUI-Q (public, bank account number)"},
    {0x4, "IPUI-R (public/public GSM, IMSI)"}, {0x5, "IPUI-S (PSTN/ISDN number)"},
    {0x6, "IPUI-T (private extended)"}, {0x7, "IPUI-U (public/general, credit card account number)"},
};
constexpr ValueName kArcTable[] = {
    {0x0, "Class A (residential and private PBX, single and small multiple cell)"},
    {0x1, "Class B (private PABX, multiple cell)"}, {0x2, "Class C (public single and multiple cell)"},
    {0x3, "Class D (public with GSM/UMTS network)"}, {0x4, "Class E (PP to PP direct communication)"},
};
constexpr ValueName kLiTypeTable[] = {
    {0x1, "Location area level is included"}, {0x2, "Extended location information is included"},
    {0x3, "Location area level and extended location information are included"},
};
constexpr ValueName kAuthAlgorithmTable[] = {
    {0x01, "DECT Standard Authentication Algorithm (DSAA)"}, {0x02, "DECT Standard Authentication Algorithm 2 (DSAA2)"},
    {0x20, "UMTS"}, {0x40, "GSM"}, {0x7F, "Proprietary algorithm"},
};
constexpr ValueName kAuthKeyTypeTable[] = {
    {0x1, "User authentication key (UAK)"}, {0x3, "User personal identity (UPI)"}, {0x4, "Authentication code (AC)"},
};
constexpr ValueName kCipherAlgorithmTable[] = {
    {0x01, "DECT Standard Cipher algorithm #1 (DSC)"}, {0x02, "DECT Standard Cipher algorithm #2 (DSC2)"},
    {0x28, "GPRS ciphering not used"}, {0x29, "GPRS ciphering algorithm GEA/1"},
    {0x2A, "GPRS ciphering algorithm GEA/2"}, {0x2B, "GPRS ciphering algorithm GEA/3"},
    {0x2C, "GPRS ciphering algorithm GEA/4"}, {0x2D, "GPRS ciphering algorithm GEA/5"},
    {0x2E, "GPRS ciphering algorithm GEA/6"}, {0x2F, "GPRS ciphering algorithm GEA/7"},
    {0x7F, "Proprietary algorithm"},
};
constexpr ValueName kCipherKeyTypeTable[] = {{0x9, "Derived cipher key"}, {0xA, "Static cipher key"}};
constexpr ValueName kIdentityGroupTable[] = {
    {0x0, "Portable identity"}, {0x1, "Network assigned identity"}, {0x4, "Fixed identity"},
    {0x8, "Application assigned"}, {0xF, "Proprietary"},
};
constexpr ValueName kInfoParameterTypeTable[] = {
    {0x00, "Locate suggest"}, {0x01, "Access rights modify suggest"}, {0x04, "Authentication of PP failure"},
    {0x06, "Dynamic parameters allocation"}, {0x08, "External handover parameters"}, {0x09, "Location area"},
    {0x0A, "Handover reference"}, {0x0B, "Multiframe and PSCN synchronized external handover candidate"},
    {0x0C, "External handover candidate"}, {0x0D, "Multiframe synchronized external handover candidate"},
    {0x0E, "Non synchronized external handover candidate"},
    {0x0F, "Multiframe, PSCN and multiframe number synchronized external handover candidate"},
    {0x10, "Old fixed part identity"}, {0x11, "Old network assigned identity"},
    {0x12, "Old network assigned location area"}, {0x13, "Old network assigned handover reference"},
    {0x20, "Billing"}, {0x21, "Debiting"}, {0x22, "CK transfer"}, {0x23, "Handover failed, reversal to old channel"},
    {0x24, "OA&M call"}, {0x25, "Distributed communication download"}, {0x30, "Ethernet (IEEE 802.3) address"},
    {0x31, "Token Ring address"}, {0x32, "Internet Protocol version 4 address"},
    {0x33, "Internet Protocol version 6 address"}, {0x34, "Identity allocation"},
};
// NETWORK-PARAMETER: what the parameter in the octets after the discriminator is.
constexpr ValueName kNetworkParameterTable[] = {
    {0x08, "Application assigned"}, {0x10, "Device name"}, {0x68, "Handover reference not required"},
    {0x69, "Handover reference, private network"}, {0x6A, "Handover reference, GSM network"},
    {0x6B, "Handover reference, public network"}, {0x7F, "Proprietary"},
    {0xEA, "Handover reference request, GSM network"}, {0xEB, "Handover reference, UMTS network"},
    {0xEC, "Handover reference request, UMTS network"},
};
constexpr ValueName kNumberTypeTable[] = {
    {0x0, "Unknown"}, {0x1, "International number"}, {0x2, "National number"}, {0x3, "Network specific number"},
    {0x4, "Subscriber number"}, {0x6, "Abbreviated number"},
};
constexpr ValueName kNumberingPlanTable[] = {
    {0x0, "Unknown"}, {0x1, "ISDN/telephony plan (E.164)"}, {0x3, "Data plan (X.121)"}, {0x7, "TCP/IP address"},
    {0x8, "National standard plan"}, {0x9, "Private plan"}, {0xA, "SIP addressing scheme"},
    {0xB, "Internet character format address"}, {0xC, "LAN MAC address"}, {0xD, "X.400 address"},
    {0xE, "Profile service specific alphanumeric identifier"},
};
constexpr ValueName kPresentationTable[] = {
    {0x0, "Presentation allowed"}, {0x1, "Presentation restricted"}, {0x2, "Number not available"},
};
// A name, unlike a number, may also be presented as the handset locator.
constexpr ValueName kNamePresentationTable[] = {
    {0x0, "Presentation allowed"}, {0x1, "Presentation restricted"}, {0x2, "Name not available"},
    {0x3, "Handset locator"},
};
constexpr ValueName kScreeningTable[] = {
    {0x0, "User-provided, not screened"}, {0x1, "User-provided, verified and passed"},
    {0x2, "User-provided, verified and failed"}, {0x3, "Network provided"},
};
constexpr ValueName kAlphabetTable[] = {{0x0, "DECT standard 8 bits characters"}, {0x1, "UTF-8"}, {0x7, "Network specific"}};
constexpr ValueName kProgressCodingTable[] = {
    {0x0, "ITU-T standardized coding"}, {0x2, "National standard coding"},
    {0x3, "Standard defined for the network (public or private) present on the network side of the interface"},
};
constexpr ValueName kProgressLocationTable[] = {
    {0x0, "User"}, {0x1, "Private network serving the local user"}, {0x2, "Public network serving the local user"},
    {0x4, "Public network serving the remote user"}, {0x5, "Private network serving the remote user"},
    {0x7, "International network"}, {0xA, "Network beyond interworking point"}, {0xF, "Not applicable"},
};
constexpr ValueName kProgressDescriptionTable[] = {
    {0x01, "Call is not end-to-end ISDN, further call progress info may be available in-band"},
    {0x02, "Destination address is non-ISDN"}, {0x03, "Origination address is non-ISDN"},
    {0x04, "Call has returned to the ISDN"}, {0x05, "Service change has occurred"},
    {0x08, "In-band information or appropriate pattern now available"},
    {0x09, "In-band information not available"}, {0x40, "End-to-end ISDN"},
};
constexpr ValueName kRejectReasonTable[] = {
    {0x01, "TPUI unknown"}, {0x02, "IPUI unknown"}, {0x03, "Network assigned identity unknown"},
    {0x05, "IPEI not accepted"}, {0x06, "IPUI not accepted"}, {0x10, "Authentication failed"},
    {0x11, "No authentication algorithm"}, {0x12, "Authentication algorithm not supported"},
    {0x13, "Authentication key not supported"}, {0x14, "UPI not entered"}, {0x17, "No cipher algorithm"},
    {0x18, "Cipher algorithm not supported"}, {0x19, "Cipher key not supported"}, {0x20, "Incompatible service"},
    {0x21, "False LCE reply (no corresponding service)"}, {0x22, "Late LCE reply (service already taken)"},
    {0x23, "Invalid TPUI"}, {0x24, "TPUI assignment limits unacceptable"}, {0x2F, "Insufficient memory"},
    {0x30, "Overload"}, {0x40, "Test call back: normal, en-bloc"}, {0x41, "Test call back: normal, piecewise"},
    {0x42, "Test call back: emergency, en-bloc"}, {0x43, "Test call back: emergency, piecewise"},
    {0x5F, "Invalid message"}, {0x60, "Information element error"}, {0x64, "Invalid information element contents"},
    {0x70, "Timer expiry"}, {0x76, "PLMN not allowed"}, {0x80, "Location area not allowed"},
    {0x81, "National roaming not allowed in this location area"},
};
constexpr ValueName kCodecTable[] = {
    {0x01, "User specific, 32 kbit/s"}, {0x02, "G.726 ADPCM"}, {0x03, "G.722"}, {0x04, "G.711 A-law"},
    {0x05, "G.711 mu-law"}, {0x06, "G.729.1"}, {0x07, "MPEG-4 ER AAC-LD, 32 kbit/s"},
    {0x08, "MPEG-4 ER AAC-LD, 64 kbit/s"}, {0x09, "User specific, 64 kbit/s"}, {0x0A, "User specific, 96 kbit/s"},
};
constexpr ValueName kCodecServiceTable[] = {
    {0x0, "LU1 INA (connection oriented, no error correction)"}, {0x1, "LU1 INB"}, {0x2, "LU1 IPM"},
    {0x3, "LU1 IPQ"}, {0x4, "LU7 INB"}, {0x5, "LU12 INB"},
};
constexpr ValueName kCodecRoutingTable[] = {
    {0x0, "CS only"}, {0x1, "CS preferred/CF accepted"}, {0x2, "CF preferred/CS accepted"}, {0x4, "CF only"},
};
constexpr ValueName kSlotSizeTable[] = {
    {0x0, "Half slot; j = 0"}, {0x1, "Long slot; j = 640"}, {0x2, "Long slot; j = 672"},
    {0x4, "Full slot"}, {0x5, "Double slot"},
};
constexpr ValueName kEventTypeTable[] = {
    {0x00, "Message waiting"}, {0x01, "Missed call"}, {0x02, "Web content"}, {0x03, "List change indication"},
    {0x04, "SW upgrade indication"},
};
constexpr ValueName kToneCapabilityTable[] = {
    {0x0, "Not applicable"}, {0x1, "No tone capability"}, {0x2, "Dial tone only"},
    {0x3, "ITU-T E.182 tones supported"}, {0x4, "Complete DECT tones supported"},
};
constexpr ValueName kDisplayCapabilityTable[] = {
    {0x0, "Not applicable"}, {0x1, "No display"}, {0x2, "Numeric"}, {0x3, "Numeric-plus"},
    {0x4, "Alphanumeric"}, {0x5, "Full display"},
};
constexpr ValueName kIwuDiscriminatorTable[] = {
    {0x00, "User specific"}, {0x01, "OSI high layer protocols"}, {0x02, "ITU-T X.263"}, {0x03, "List access"},
    {0x04, "IA5 characters"}, {0x05, "ULE configuration and control (non CCM encrypted) service channel"},
    {0x06, "Light data service, SUOTA"}, {0x07, "ITU-T V.120 rate adaption"},
    {0x08, "ITU-T Q.931 (I.451), message"}, {0x09, "ITU-T Q.931 (I.451), information element(s)"},
    {0x0A, "ITU-T Q.931 (I.451), partial message"}, {0x0C, "ULE CCM encrypted service channel AUX0"},
    {0x0D, "ULE CCM encrypted service channel AUX1"}, {0x0E, "ULE CCM encrypted service channel AUX2"},
    {0x0F, "Digital telephone answering machine (DTAM)"}, {0x10, "GSM, message"},
    {0x11, "GSM, information element(s)"}, {0x12, "UMTS/GPRS information element(s)"},
    {0x13, "UMTS/GPRS, messages"}, {0x14, "LRMS"}, {0x15, "RLL Access Profile"}, {0x16, "WRS"},
    {0x20, "DECT/ISDN Intermediate System C-plane specific"}, {0x21, "DECT/ISDN Intermediate System U-plane specific"},
    {0x22, "DECT/ISDN Intermediate System operation and maintenance"}, {0x23, "Terminal data"},
    {0x24, "DECT access to IP networks specific"}, {0x25, "MPEG-4 ER AAC-LD configuration description"},
    {0x3F, "Unknown"},
};
constexpr ValueName kFeatureTable[] = {
    {0x01, "Register recall"}, {0x0F, "External handover switch"}, {0x20, "Queue entry request"},
    {0x30, "Indication of subscriber number"}, {0x42, "Feature key"}, {0x44, "Specific line selection"},
    {0x47, "Specific trunk carrier selection"}, {0x48, "Control of echo control functions"},
    {0x60, "Cost information"},
};
constexpr ValueName kServiceDiscriminatorTable[] = {{0x11, "Discriminator for supplementary service applications"}};
constexpr ValueName kCodesetTable[] = {{0x0, "Initial codeset (DECT)"}, {0x4, "Non-CEPT (local network specific)"},
                                       {0x5, "Codeset 5"}, {0x6, "Codeset 6"}, {0x7, "Codeset 7"}};
constexpr ValueName kNegotiationTable[] = {{0x0, "Negotiation not possible"}, {0x1, "Codec negotiation"}};
constexpr ValueName kSetupCapabilityTable[] = {
    {0x1, "Normal setup"}, {0x2, "Fast setup"}, {0x3, "Normal and fast setup"}};
constexpr ValueName kLockLimitTable[] = {
    {0x5, "Temporary user limits 2"}, {0x6, "Temporary user limits"}, {0x7, "No limits"}};
constexpr ValueName kTimeLimitTable[] = {
    {0x0, "Erase"}, {0x1, "Defined time limit 1"}, {0x2, "Defined time limit 2"}, {0x4, "Standard time limit"},
    {0xF, "Infinite"}};
constexpr ValueName kPageCapabilityTable[] = {
    {0x0, "Normal paging"}, {0x1, "Fast paging"}};
constexpr ValueName kTimeDateCodingTable[] = {{0x1, "Time"}, {0x2, "Date"}, {0x3, "Time and date"}};
constexpr ValueName kTimeDateInterpretationTable[] = {
    {0x00, "The current time/date"}, {0x01, "Time duration"},
    {0x20, "The time/date at which to start forwarding/delivering the MMS message"},
    {0x21, "The time/date the MMS user data was created"}, {0x22, "The time/date the MMS user data was last modified"},
    {0x23, "The time/date the message was received by the MCE"},
    {0x24, "The time/date the message was delivered/accessed by the end entity"},
    {0x28, "The time/date stamp for use as an identifier"},
};
// clang-format on

}  // namespace

namespace {

// Message types by protocol discriminator and type (7 bits): the position in kMessageTypes
// plus one, 0 for none. Looked up once per message.
constexpr auto kMessageTypeIndex = [] {
    std::array<std::array<uint8_t, 128>, 16> index{};
    for (size_t i = 0; i < std::size(kMessageTypes); ++i)
        index[kMessageTypes[i].pd & 0x0F][kMessageTypes[i].type & 0x7F] = static_cast<uint8_t>(i + 1);
    return index;
}();
static_assert(std::size(kMessageTypes) < 255);

// Element names by identifier octet, looked up once per element.
constexpr auto kElementNameIndex = [] {
    std::array<const char *, 256> index{};
    for (const ValueName &v : kElementNames) index[v.value] = v.name;
    return index;
}();

}  // namespace

const MessageType *FindMessageType(unsigned pd, unsigned type) {
    if (pd > 15 || type > 127) return nullptr;
    const uint8_t at = kMessageTypeIndex[pd][type];
    return at ? &kMessageTypes[at - 1] : nullptr;
}

std::span<const MessageType> MessageTypes() { return kMessageTypes; }

const char *ElementName(uint8_t id) { return kElementNameIndex[id]; }

const std::span<const ValueName> kCallClasses = kCallClassTable, kBasicServices = kBasicServiceTable,
                                 kReleaseReasons = kReleaseReasonTable, kSignals = kSignalTable,
                                 kTimerRestarts = kTimerRestartTable, kTestHookControls = kTestHookControlTable,
                                 kRepeatIndicators = kRepeatIndicatorTable,
                                 kPortableIdentityTypes = kPortableIdentityTypeTable,
                                 kFixedIdentityTypes = kFixedIdentityTypeTable,
                                 kNwkIdentityTypes = kNwkIdentityTypeTable, kPortableUserIdentityTypes = kPutTable,
                                 kAccessRightsClasses = kArcTable, kLocationInfoTypes = kLiTypeTable,
                                 kAuthAlgorithms = kAuthAlgorithmTable, kAuthKeyTypes = kAuthKeyTypeTable,
                                 kCipherAlgorithms = kCipherAlgorithmTable, kCipherKeyTypes = kCipherKeyTypeTable,
                                 kIdentityGroups = kIdentityGroupTable, kInfoParameterTypes = kInfoParameterTypeTable,
                                 kNumberTypes = kNumberTypeTable, kNumberingPlans = kNumberingPlanTable,
                                 kPresentationIndicators = kPresentationTable,
                                 kNamePresentationIndicators = kNamePresentationTable,
                                 kScreeningIndicators = kScreeningTable,
                                 kAlphabets = kAlphabetTable, kProgressCodingStandards = kProgressCodingTable,
                                 kProgressLocations = kProgressLocationTable,
                                 kProgressDescriptions = kProgressDescriptionTable,
                                 kRejectReasons = kRejectReasonTable, kCodecs = kCodecTable,
                                 kCodecServices = kCodecServiceTable, kCodecRouting = kCodecRoutingTable,
                                 kSlotSizes = kSlotSizeTable, kEventTypes = kEventTypeTable,
                                 kToneCapabilities = kToneCapabilityTable,
                                 kDisplayCapabilities = kDisplayCapabilityTable,
                                 kIwuDiscriminators = kIwuDiscriminatorTable, kFeatures = kFeatureTable,
                                 kServiceDiscriminators = kServiceDiscriminatorTable, kCodesets = kCodesetTable,
                                 kNegotiationIndicators = kNegotiationTable,
                                 kSetupCapabilities = kSetupCapabilityTable, kPageCapabilities = kPageCapabilityTable,
                                 kLockLimits = kLockLimitTable, kTimeLimits = kTimeLimitTable,
                                 kTimeDateCodings = kTimeDateCodingTable,
                                 kTimeDateInterpretations = kTimeDateInterpretationTable,
                                 kNetworkParameters = kNetworkParameterTable;

}  // namespace vexa::dect
