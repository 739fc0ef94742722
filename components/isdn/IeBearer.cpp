// Bearer capability, low layer compatibility and high layer compatibility
// (Q.931 4.5.5, 4.5.19, 4.5.17; EN 300 403 4.5.5 ff.).
#include "IeDecoders.h"

namespace vexa::isdn {

namespace {

constexpr NamedValue kTransferCapability[] = {
    {0x00, "Speech"},
    {0x08, "Unrestricted digital information"},
    {0x09, "Restricted digital information"},
    {0x10, "3.1 kHz audio"},
    {0x11, "Unrestricted digital information with tones/announcements"},
    {0x18, "Video"},
};
constexpr NamedValue kTransferMode[] = {{0, "Circuit mode"}, {2, "Packet mode"}};
constexpr NamedValue kTransferRate[] = {
    {0x00, "Packet mode (used with packet mode)"},
    {0x10, "64 kbit/s"},
    {0x11, "2 x 64 kbit/s"},
    {0x13, "384 kbit/s"},
    {0x15, "1536 kbit/s"},
    {0x17, "1920 kbit/s"},
    {0x18, "Multirate (64 kbit/s base rate)"},
};
constexpr NamedValue kLayer1Protocol[] = {
    {0x01, "ITU-T standardized rate adaption V.110, I.460 and X.30"},
    {0x02, "Recommendation G.711 mu-law"},
    {0x03, "Recommendation G.711 A-law"},
    {0x04, "Recommendation G.721 32 kbit/s ADPCM and Recommendation I.460"},
    {0x05, "Recommendations H.221 and H.242"},
    {0x06, "Recommendations H.223 and H.245"},
    {0x07, "Non-ITU-T standardized rate adaption"},
    {0x08, "ITU-T standardized rate adaption V.120"},
    {0x09, "ITU-T standardized rate adaption X.31 HDLC flag stuffing"},
};
constexpr NamedValue kSyncAsync[] = {{0, "Synchronous data"}, {1, "Asynchronous data"}};
constexpr NamedValue kNegotiation[] = {{0, "In-band negotiation not possible"}, {1, "In-band negotiation possible"}};
constexpr NamedValue kUserRate[] = {
    {0x00, "Rate is indicated by E-bits specified in I.460 or may be negotiated in-band"},
    {0x01, "0.6 kbit/s (V.6 and X.1)"},
    {0x02, "1.2 kbit/s (V.6)"},
    {0x03, "2.4 kbit/s (V.6 and X.1)"},
    {0x04, "3.6 kbit/s (V.6)"},
    {0x05, "4.8 kbit/s (V.6 and X.1)"},
    {0x06, "7.2 kbit/s (V.6)"},
    {0x07, "8 kbit/s (I.460)"},
    {0x08, "9.6 kbit/s (V.6 and X.1)"},
    {0x09, "14.4 kbit/s (V.6)"},
    {0x0A, "16 kbit/s (I.460)"},
    {0x0B, "19.2 kbit/s (V.6)"},
    {0x0C, "32 kbit/s (I.460)"},
    {0x0D, "38.4 kbit/s (V.110)"},
    {0x0E, "48 kbit/s (V.6 and X.1)"},
    {0x0F, "56 kbit/s (V.6)"},
    {0x12, "57.6 kbit/s (V.14 extended)"},
    {0x13, "28.8 kbit/s (V.110)"},
    {0x14, "24 kbit/s (V.110)"},
    {0x15, "0.1345 kbit/s (X.1)"},
    {0x16, "0.100 kbit/s (X.1)"},
    {0x17, "0.075/1.2 kbit/s (V.6 and X.1)"},
    {0x18, "1.2/0.075 kbit/s (V.6 and X.1)"},
    {0x19, "0.050 kbit/s (V.6 and X.1)"},
    {0x1A, "0.075 kbit/s (V.6 and X.1)"},
    {0x1B, "0.110 kbit/s (V.6 and X.1)"},
    {0x1C, "0.150 kbit/s (V.6 and X.1)"},
    {0x1D, "0.200 kbit/s (V.6 and X.1)"},
    {0x1E, "0.300 kbit/s (V.6 and X.1)"},
    {0x1F, "12 kbit/s (V.6)"},
};
constexpr NamedValue kIntermediateRate[] = {{0, "Not used"}, {1, "8 kbit/s"}, {2, "16 kbit/s"}, {3, "32 kbit/s"}};
constexpr NamedValue kNicTx[] = {{0, "Not required to send data with network independent clock"},
                                 {1, "Required to send data with network independent clock"}};
constexpr NamedValue kNicRx[] = {{0, "Cannot accept data with network independent clock"},
                                 {1, "Can accept data with network independent clock"}};
constexpr NamedValue kFlowTx[] = {{0, "Not required to send data with flow control mechanism"},
                                  {1, "Required to send data with flow control mechanism"}};
constexpr NamedValue kFlowRx[] = {{0, "Cannot accept data with flow control mechanism"},
                                  {1, "Can accept data with flow control mechanism"}};
constexpr NamedValue kRateAdaptionHeader[] = {{0, "Rate adaption header not included"}, {1, "Rate adaption header included"}};
constexpr NamedValue kMultiFrame[] = {{0, "Multiple frame establishment not supported"},
                                      {1, "Multiple frame establishment supported"}};
constexpr NamedValue kOperationMode[] = {{0, "Bit transparent mode of operation"}, {1, "Protocol sensitive mode of operation"}};
constexpr NamedValue kLliNegotiation[] = {{0, "Default, LLI = 256 only"}, {1, "Full protocol negotiation"}};
constexpr NamedValue kAssignor[] = {{0, "Message originator is default assignee"}, {1, "Message originator is assignor only"}};
constexpr NamedValue kInbandNegotiation[] = {
    {0, "Negotiation is done with USER INFORMATION messages on a temporary signalling connection"},
    {1, "Negotiation is done in-band using logical link zero"}};
constexpr NamedValue kStopBits[] = {{0, "Not used"}, {1, "1 bit"}, {2, "1.5 bits"}, {3, "2 bits"}};
constexpr NamedValue kDataBits[] = {{0, "Not used"}, {1, "5 bits"}, {2, "7 bits"}, {3, "8 bits"}};
constexpr NamedValue kParity[] = {{0, "Odd"}, {2, "Even"}, {3, "None"}, {4, "Forced to 0"}, {5, "Forced to 1"}};
constexpr NamedValue kDuplex[] = {{0, "Half duplex"}, {1, "Full duplex"}};
constexpr NamedValue kModemTypes[] = {
    {0x11, "V.21"}, {0x12, "V.22"}, {0x13, "V.22 bis"}, {0x14, "V.23"}, {0x15, "V.26"}, {0x16, "V.26 bis"},
    {0x17, "V.26 ter"}, {0x18, "V.27"}, {0x19, "V.27 bis"}, {0x1A, "V.27 ter"}, {0x1B, "V.29"}, {0x1D, "V.32"},
    {0x1E, "V.34"},
};
constexpr NamedValue kLayer2Bearer[] = {{0x02, "Recommendation Q.921/I.441"}, {0x06, "Recommendation X.25, link layer"}};
constexpr NamedValue kLayer3Bearer[] = {
    {0x02, "Recommendation Q.931/I.451"},
    {0x06, "Recommendation X.25, packet layer"},
    {0x0B, "ISO/IEC TR 9577 (protocol identification in the network layer)"},
};
constexpr NamedValue kLayer2Llc[] = {
    {0x01, "Basic mode ISO 1745"},
    {0x02, "Recommendation Q.921/I.441"},
    {0x06, "Recommendation X.25, link layer"},
    {0x07, "Recommendation X.25 multilink"},
    {0x08, "Extended LAPB; for half duplex operation (T.71)"},
    {0x09, "HDLC ARM (ISO/IEC 4335)"},
    {0x0A, "HDLC NRM (ISO/IEC 4335)"},
    {0x0B, "HDLC ABM (ISO/IEC 4335)"},
    {0x0C, "LAN logical link control (ISO/IEC 8802-2)"},
    {0x0D, "Recommendation X.75, single link procedure (SLP)"},
    {0x0E, "Recommendation Q.922"},
    {0x0F, "Core aspects of Recommendation Q.922"},
    {0x10, "User specified"},
    {0x11, "ISO/IEC 7776 DTE-DTE operation"},
};
constexpr NamedValue kLayer3Llc[] = {
    {0x02, "Recommendation Q.931/I.451"},
    {0x06, "Recommendation X.25, packet layer"},
    {0x07, "ISO/IEC 8208 (X.25 packet level protocol for data terminal equipment)"},
    {0x08, "Recommendation X.223 and ISO/IEC 8878"},
    {0x09, "ISO/IEC 8473 (OSI connectionless service)"},
    {0x0A, "Recommendation T.70 minimum network layer"},
    {0x0B, "ISO/IEC TR 9577 (protocol identification in the network layer)"},
    {0x10, "User specified"},
};
constexpr NamedValue kLlcNegotiation[] = {{0, "Out-band negotiation not possible"}, {1, "Out-band negotiation possible"}};
constexpr NamedValue kL2Mode[] = {{1, "Normal mode of operation"}, {2, "Extended mode of operation"}};
constexpr NamedValue kL3Mode[] = {{1, "Normal packet sequence numbering"}, {2, "Extended packet sequence numbering"}};
constexpr NamedValue kPacketSizes[] = {{4, "16 octets"},  {5, "32 octets"},   {6, "64 octets"},   {7, "128 octets"},
                                       {8, "256 octets"}, {9, "512 octets"},  {10, "1024 octets"}, {11, "2048 octets"},
                                       {12, "4096 octets"}};
constexpr NamedValue kTr9577[] = {{0xCC, "Internet Protocol (RFC 791)"}, {0xCF, "Point-to-point Protocol (RFC 1661)"},
                                  {0x80, "IEEE subnetwork access protocol (SNAP)"},
                                  {0x81, "ISO/IEC 8473 (CLNP)"}, {0x82, "ISO/IEC 9542 (ES-IS)"}, {0x83, "ISO/IEC 10589 (IS-IS)"}};

constexpr NamedValue kHlcInterpretation[] = {{4, "First (primary or only) high layer characteristics identification to be used in the call"}};
constexpr NamedValue kHlcPresentation[] = {{1, "High layer protocol profile (attributes not given)"}};
constexpr NamedValue kHighLayerCharacteristics[] = {
    {0x01, "Telephony"},
    {0x04, "Facsimile Group 2/3 (F.182)"},
    {0x21, "Facsimile Group 4 Class I (F.184)"},
    {0x24, "Teletex service, basic and mixed mode, and facsimile service Group 4, Classes II and III (F.230, F.184)"},
    {0x28, "Teletex service, basic and processable mode (F.220)"},
    {0x31, "Teletex service, basic mode (F.200)"},
    {0x32, "Syntax based Videotex (F.300, T.102)"},
    {0x33, "International Videotex interworking via gateways or interworking units (F.300, T.101)"},
    {0x35, "Telex service (F.60)"},
    {0x38, "Message Handling Systems (MHS) (X.400 series)"},
    {0x41, "OSI application (X.200 series)"},
    {0x42, "FTAM application (ISO/IEC 8571)"},
    {0x5E, "Reserved for maintenance"},
    {0x5F, "Reserved for management"},
    {0x60, "Videotelephony (F.720, F.721 and F.731 profile 1a)"},
    {0x61, "Videoconferencing (F.702, F.731 profile 1b)"},
    {0x62, "Audiographic conferencing (F.702, F.731)"},
    {0x68, "Multimedia services (F.700 series)"},
};
constexpr NamedValue kHlcExtendedVideo[] = {
    {0x01, "Capability set of initial channel of H.221"},
    {0x02, "Capability set of subsequent channel of H.221"},
    {0x21, "Capability set of initial channel associated with an active 3.1 kHz audio or speech call"},
};

// Octets 4 to 7 of bearer capability and low layer compatibility, which share their
// layout apart from the layer 2 and layer 3 protocol lists and their further octets.
void DecodeTransferAndLayers(ElementReader &r, bool llc) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 4 (transfer mode, information transfer rate)")) return;
    r.Named("Transfer mode", (o >> 5) & 3, kTransferMode, 2);
    unsigned rate = o & 0x1F;
    r.Named("Information transfer rate", rate, kTransferRate, 5);
    if (rate == 0x18) {
        uint8_t m = 0;
        if (!r.Take(m, "octet 4.1 (rate multiplier)")) return;
        r.Number("Rate multiplier", m & 0x7F);
    } else {
        r.SkipExtensions(o, "octet 4");
    }
    // Octets 5 to 7, each introduced by its layer identification in bits 7-6.
    int lastLayer = 0;
    while (!r.AtEnd()) {
        if (!r.TakeOptional(o)) break;
        int layer = (o >> 5) & 3;
        if (layer <= lastLayer || layer == 0) {
            r.Error("Octet with layer identification " + Binary(layer, 2) + " out of order");
            r.ShowRest();
            return;
        }
        lastLayer = layer;
        unsigned protocol = o & 0x1F;
        if (layer == 1) {
            r.Named("User information layer 1 protocol", protocol, kLayer1Protocol, 5);
            if (!Extends(o)) continue;
            uint8_t a = 0;
            if (!r.Take(a, "octet 5a")) return;
            r.Named("Synchronous/asynchronous", (a >> 6) & 1, kSyncAsync, 1);
            r.Named("Negotiation", (a >> 5) & 1, kNegotiation, 1);
            r.Named("User rate", a & 0x1F, kUserRate, 5);
            if (!Extends(a)) continue;
            uint8_t b = 0;
            if (!r.Take(b, "octet 5b")) return;
            if (protocol == 0x08) {  // V.120
                r.Named("Rate adaption header", (b >> 6) & 1, kRateAdaptionHeader, 1);
                r.Named("Multiple frame establishment support", (b >> 5) & 1, kMultiFrame, 1);
                r.Named("Mode of operation", (b >> 4) & 1, kOperationMode, 1);
                r.Named("Logical link identifier negotiation", (b >> 3) & 1, kLliNegotiation, 1);
                r.Named("Assignor/assignee", (b >> 2) & 1, kAssignor, 1);
                r.Named("In-band/out-band negotiation", (b >> 1) & 1, kInbandNegotiation, 1);
            } else {  // V.110 / X.30 and others
                r.Named("Intermediate rate", (b >> 5) & 3, kIntermediateRate, 2);
                r.Named("NIC on transmission", (b >> 4) & 1, kNicTx, 1);
                r.Named("NIC on reception", (b >> 3) & 1, kNicRx, 1);
                r.Named("Flow control on transmission", (b >> 2) & 1, kFlowTx, 1);
                r.Named("Flow control on reception", (b >> 1) & 1, kFlowRx, 1);
            }
            if (!Extends(b)) continue;
            uint8_t c = 0;
            if (!r.Take(c, "octet 5c")) return;
            r.Named("Number of stop bits", (c >> 5) & 3, kStopBits, 2);
            r.Named("Number of data bits", (c >> 3) & 3, kDataBits, 2);
            r.Named("Parity", c & 7, kParity, 3);
            if (!Extends(c)) continue;
            uint8_t d = 0;
            if (!r.Take(d, "octet 5d")) return;
            r.Named("Duplex mode", (d >> 6) & 1, kDuplex, 1);
            unsigned modem = d & 0x3F;
            if (modem <= 0x05 || (modem >= 0x20 && modem <= 0x2F))
                r.Value("Modem type", "National use (" + Binary(modem, 6) + ")");
            else if (modem >= 0x30)
                r.Value("Modem type", "User specified (" + Binary(modem, 6) + ")");
            else
                r.Named("Modem type", modem, kModemTypes, 6);
            r.SkipExtensions(d, "octet 5d");
        } else if (layer == 2) {
            r.Named("User information layer 2 protocol", protocol, llc ? ValueTable(kLayer2Llc) : ValueTable(kLayer2Bearer), 5);
            if (!Extends(o)) continue;
            uint8_t a = 0;
            if (!r.Take(a, "octet 6a")) return;
            if (protocol == 0x10)
                r.Number("User specified layer 2 protocol information", a & 0x7F);
            else {
                r.Named("Mode of operation", (a >> 5) & 3, kL2Mode, 2);
                r.Number("Q.933 use", a & 3);
            }
            if (!Extends(a)) continue;
            uint8_t b = 0;
            if (!r.Take(b, "octet 6b (window size)")) return;
            r.Number("Window size (k)", b & 0x7F, "frames");
            r.SkipExtensions(b, "octet 6b");
        } else {
            r.Named("User information layer 3 protocol", protocol, llc ? ValueTable(kLayer3Llc) : ValueTable(kLayer3Bearer), 5);
            if (!Extends(o)) continue;
            uint8_t a = 0;
            if (!r.Take(a, "octet 7a")) return;
            if (protocol == 0x0B) {
                uint8_t b = 0;
                if (!r.Take(b, "octet 7b")) return;
                unsigned ipi = ((a & 0x0F) << 4) | (b & 0x0F);
                r.NamedOrValue("Additional layer 3 protocol information", ipi, kTr9577, 8);
                r.SkipExtensions(b, "octet 7b");
                continue;
            }
            if (protocol == 0x10) {
                r.Number("User specified layer 3 protocol information", a & 0x7F);
                r.SkipExtensions(a, "octet 7a");
                continue;
            }
            r.Named("Mode of operation", (a >> 5) & 3, kL3Mode, 2);
            if (!Extends(a)) continue;
            uint8_t b = 0;
            if (!r.Take(b, "octet 7b (default packet size)")) return;
            r.Named("Default packet size", b & 0x0F, kPacketSizes, 4);
            if (!Extends(b)) continue;
            uint8_t c = 0;
            if (!r.Take(c, "octet 7c (packet window size)")) return;
            r.Number("Packet window size", c & 0x7F);
            r.SkipExtensions(c, "octet 7c");
        }
    }
}

}  // namespace

void DecodeBearerCapability(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (coding standard, information transfer capability)")) return;
    if (!CodedToItuT(r, (o >> 5) & 3, o)) return;
    r.Named("Information transfer capability", o & 0x1F, kTransferCapability, 5);
    if (Extends(o)) r.Error("Octet 3 must end its group (bit 8 is 0)");
    DecodeTransferAndLayers(r, false);
}

void DecodeLowLayerCompatibility(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (coding standard, information transfer capability)")) return;
    if (!CodedToItuT(r, (o >> 5) & 3, o)) return;
    r.Named("Information transfer capability", o & 0x1F, kTransferCapability, 5);
    if (Extends(o)) {
        uint8_t a = 0;
        if (!r.Take(a, "octet 3a (negotiation indicator)")) return;
        r.Named("Negotiation indicator", (a >> 6) & 1, kLlcNegotiation, 1);
        r.SkipExtensions(a, "octet 3a");
    }
    DecodeTransferAndLayers(r, true);
}

void DecodeHighLayerCompatibility(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (coding standard, interpretation, presentation)")) return;
    unsigned coding = (o >> 5) & 3;
    r.Named("Coding standard", coding, kCodingStandard, 2);
    r.Named("Interpretation", (o >> 2) & 7, kHlcInterpretation, 3);
    r.Named("Presentation method of protocol profile", o & 3, kHlcPresentation, 2);
    if (!r.Take(o, "octet 4 (high layer characteristics identification)")) return;
    unsigned hlc = o & 0x7F;
    if (coding == 0)
        r.Named("High layer characteristics identification", hlc, kHighLayerCharacteristics, 7);
    else
        r.Value("High layer characteristics identification", Binary(hlc, 7));
    if (Extends(o)) {
        uint8_t a = 0;
        if (!r.Take(a, "octet 4a (extended high layer characteristics identification)")) return;
        if (hlc == 0x5E || hlc == 0x5F)
            r.NamedOrValue("Extended high layer characteristics identification", a & 0x7F, kHighLayerCharacteristics, 7);
        else if (hlc >= 0x60 && hlc <= 0x6F)  // audiovisual services
            r.NamedOrValue("Extended videotelephony characteristics identification", a & 0x7F, kHlcExtendedVideo, 7);
        else
            r.Value("Extended high layer characteristics identification", Binary(a & 0x7F, 7));
    }
    r.ShowRest();
}

}  // namespace vexa::isdn
