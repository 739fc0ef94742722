// Facility (Q.932 / EN 300 196: remote operations components) and user-user.
#include "HexText.h"
#include "IeDecoders.h"

namespace vexa::isdn {

namespace {

constexpr NamedValue kProtocolProfiles[] = {
    {0x11, "Remote Operations Protocol"},
    {0x12, "CMIP protocol"},
    {0x13, "ACSE protocol"},
    {0x1F, "Networking extensions"},
};

constexpr NamedValue kComponentTypes[] = {
    {0xA1, "Invoke"}, {0xA2, "Return result"}, {0xA3, "Return error"}, {0xA4, "Reject"}};

constexpr NamedValue kGeneralProblems[] = {
    {0, "Unrecognized component"}, {1, "Mistyped component"}, {2, "Badly structured component"}};
constexpr NamedValue kInvokeProblems[] = {
    {0, "Duplicate invocation"},   {1, "Unrecognized operation"},    {2, "Mistyped argument"},
    {3, "Resource limitation"},    {4, "Initiator releasing"},       {5, "Unrecognized linked identifier"},
    {6, "Linked response unexpected"}, {7, "Unexpected child operation"}};
constexpr NamedValue kReturnResultProblems[] = {
    {0, "Unrecognized invocation"}, {1, "Result response unexpected"}, {2, "Mistyped result"}};
constexpr NamedValue kReturnErrorProblems[] = {
    {0, "Unrecognized invocation"}, {1, "Error response unexpected"}, {2, "Unrecognized error"},
    {3, "Unexpected error"},        {4, "Mistyped parameter"}};

// What the receiver does with an invoke component it does not recognise.
constexpr NamedValue kInterpretations[] = {
    {0, "Discard any unrecognised invoke PDU"},
    {1, "Clear call if any invoke PDU not recognised"},
    {2, "Reject any unrecognised invoke PDU"},
};

constexpr NamedValue kUserUserProtocols[] = {
    {0x00, "User-specific protocol"},
    {0x01, "OSI high layer protocols"},
    {0x02, "X.244"},
    {0x03, "Reserved for system management convergence function"},
    {0x04, "IA5 characters"},
    {0x05, "X.208 and X.209 coded user information"},
    {0x07, "Rate adaption according to V.120"},
    {0x08, "Q.931/I.451 user-network call control messages"},
};

// One BER data element: its tag (one octet; a multi-octet tag is reported as such) and
// the span of its contents.
struct Tlv {
    uint8_t tag = 0;
    std::span<const uint8_t> contents;
};

// Reads one data element from data at pos. Definite lengths of up to four octets are read;
// anything else is an error (the caller shows the rest as hex).
bool ReadTlv(std::span<const uint8_t> data, size_t &pos, Tlv &tlv, std::string &problem) {
    if (pos >= data.size()) {
        problem = "data element missing";
        return false;
    }
    tlv.tag = data[pos++];
    if ((tlv.tag & 0x1F) == 0x1F) {
        problem = "multi-octet tag " + component::HexByte(tlv.tag) + " not expected here";
        return false;
    }
    if (pos >= data.size()) {
        problem = "length of data element " + component::HexByte(tlv.tag) + " missing";
        return false;
    }
    size_t len = data[pos++];
    if (len & 0x80) {
        size_t n = len & 0x7F;
        if (n == 0 || n > 4) {
            problem = "unsupported length form " + component::HexByte(static_cast<uint8_t>(len)) + " of data element " +
                      component::HexByte(tlv.tag);
            return false;
        }
        if (data.size() - pos < n) {
            problem = "length of data element " + component::HexByte(tlv.tag) + " cut short";
            return false;
        }
        len = 0;
        for (size_t i = 0; i < n; ++i) len = (len << 8) | data[pos++];
    }
    if (len > data.size() - pos) {
        problem = "data element " + component::HexByte(tlv.tag) + " claims " + std::to_string(len) +
                  " octets, only " + std::to_string(data.size() - pos) + " follow";
        return false;
    }
    tlv.contents = data.subspan(pos, len);
    pos += len;
    return true;
}

long long IntegerValue(std::span<const uint8_t> c) {
    if (c.empty()) return 0;
    long long v = (c[0] & 0x80) ? -1 : 0;
    for (size_t i = 0; i < c.size() && i < 8; ++i) v = (v << 8) | c[i];
    return v;
}

std::string ObjectIdentifier(std::span<const uint8_t> c) {
    std::string s;
    unsigned long long v = 0;
    bool first = true;
    for (uint8_t o : c) {
        v = (v << 7) | (o & 0x7F);
        if (o & 0x80) continue;
        if (first) {
            unsigned long long x = v < 80 ? v / 40 : 2;
            s = std::to_string(x) + "." + std::to_string(v - x * 40);
            first = false;
        } else {
            s += "." + std::to_string(v);
        }
        v = 0;
    }
    return s;
}

// Operation or error value: a local value (INTEGER) or a global one (OBJECT IDENTIFIER).
void ShowCode(ElementReader &r, const char *name, const Tlv &t) {
    if (t.tag == 0x02)
        r.Value(name, std::to_string(IntegerValue(t.contents)) + " (local value)");
    else if (t.tag == 0x06)
        r.Value(name, ObjectIdentifier(t.contents) + " (global value)");
    else
        r.Error(std::string(name) + ": unexpected data element " + component::HexByte(t.tag));
}

void DecodeComponent(ElementReader &r, const Tlv &comp) {
    const std::string_view type = FindName(kComponentTypes, comp.tag);
    r.Value("Component type", std::string(type) + " (" + component::HexByte(comp.tag) + ")");
    auto body = comp.contents;
    size_t pos = 0;
    Tlv t;
    std::string problem;
    auto fail = [&]() {
        r.Error("Component: " + problem);
        if (pos < body.size()) r.Hex("Component octets not decoded", body.subspan(pos));
    };
    // Invoke identifier (a Reject may carry NULL instead).
    if (!ReadTlv(body, pos, t, problem)) return fail();
    if (t.tag == 0x02)
        r.Number("Invoke identifier", IntegerValue(t.contents));
    else if (t.tag == 0x05 && comp.tag == 0xA4)
        r.Value("Invoke identifier", "Not derivable (NULL)");
    else
        r.Error("Invoke identifier: unexpected data element " + component::HexByte(t.tag));

    switch (comp.tag) {
    case 0xA1:  // Invoke: [linked identifier], operation value, argument
        if (!ReadTlv(body, pos, t, problem)) return fail();
        if (t.tag == 0x80) {
            r.Number("Linked identifier", IntegerValue(t.contents));
            if (!ReadTlv(body, pos, t, problem)) return fail();
        }
        ShowCode(r, "Operation value", t);
        if (pos < body.size()) r.Hex("Argument", body.subspan(pos));
        return;
    case 0xA2:  // Return result: optional SEQUENCE {operation value, result}
        if (pos >= body.size()) return;
        if (!ReadTlv(body, pos, t, problem)) return fail();
        if (t.tag != 0x30) {
            r.Error("Return result: SEQUENCE expected, found " + component::HexByte(t.tag));
            return;
        }
        {
            size_t p = 0;
            Tlv op;
            if (!ReadTlv(t.contents, p, op, problem)) {
                pos = body.size();
                return fail();
            }
            ShowCode(r, "Operation value", op);
            if (p < t.contents.size()) r.Hex("Result", t.contents.subspan(p));
        }
        if (pos < body.size()) r.Hex("Further octets", body.subspan(pos));
        return;
    case 0xA3:  // Return error: error value, parameter
        if (!ReadTlv(body, pos, t, problem)) return fail();
        ShowCode(r, "Error value", t);
        if (pos < body.size()) r.Hex("Parameter", body.subspan(pos));
        return;
    default: {  // Reject: problem
        if (!ReadTlv(body, pos, t, problem)) return fail();
        unsigned code = static_cast<unsigned>(IntegerValue(t.contents));
        switch (t.tag) {
        case 0x80: r.Named("General problem", code, kGeneralProblems, 8); break;
        case 0x81: r.Named("Invoke problem", code, kInvokeProblems, 8); break;
        case 0x82: r.Named("Return result problem", code, kReturnResultProblems, 8); break;
        case 0x83: r.Named("Return error problem", code, kReturnErrorProblems, 8); break;
        default: r.Error("Reject: unexpected problem tag " + component::HexByte(t.tag));
        }
        if (pos < body.size()) r.Hex("Further octets", body.subspan(pos));
    }
    }
}

}  // namespace

void DecodeFacility(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (protocol profile)")) return;
    unsigned profile = o & 0x1F;
    r.Named("Protocol profile", profile, kProtocolProfiles, 5);
    auto rest = r.TakeRest();
    if (profile != 0x11 && profile != 0x1F) {
        r.Hex("Contents", rest);
        return;
    }
    size_t pos = 0;
    int count = 0;
    while (pos < rest.size()) {
        Tlv t;
        std::string problem;
        size_t start = pos;
        if (!ReadTlv(rest, pos, t, problem)) {
            r.Error("Component: " + problem);
            r.Hex("Octets not decoded", rest.subspan(start));
            return;
        }
        if (t.tag == 0xAA) {
            r.Hex("Network facility extension", t.contents);
        } else if (t.tag == 0x92) {  // [18] IMPLICIT INTEGER
            r.Number("Network protocol profile", IntegerValue(t.contents));
        } else if (t.tag == 0x8B) {  // [11] IMPLICIT ENUMERATED
            const long long v = IntegerValue(t.contents);
            std::string s = std::to_string(v);
            if (const std::string_view n = v >= 0 ? FindName(kInterpretations, static_cast<unsigned>(v)) : std::string_view{};
                n.data())
                s.append(" (").append(n).append(")");
            r.Value("Interpretation APDU", s);
        } else if (FindName(kComponentTypes, t.tag).data()) {
            DecodeComponent(r, t);
            ++count;
        } else {
            r.Error("Unknown component type " + component::HexByte(t.tag));
            r.Hex("Component octets", t.contents);
        }
    }
    if (count == 0) r.Error("Element ends early: no component");
}

void DecodeUserUser(ElementReader &r, MessageFacts &) {
    uint8_t pd = 0;
    if (!r.Take(pd, "octet 3 (protocol discriminator)")) return;
    if (const std::string_view n = FindName(kUserUserProtocols, pd); n.data())
        r.Value("Protocol discriminator", (component::HexByte(pd) + " ").append(n));
    else if (pd >= 0x40 && pd <= 0x4F)
        r.Value("Protocol discriminator", component::HexByte(pd) + " National use");
    else if ((pd >= 0x10 && pd <= 0x3F) || (pd >= 0x50 && pd <= 0xFE))
        r.Value("Protocol discriminator",
                component::HexByte(pd) + " Reserved for other network layer or layer 3 protocols, including X.25");
    else  // H'06, H'09 to H'0F and H'FF
        r.Value("Protocol discriminator", component::HexByte(pd) + " Reserved");
    auto info = r.TakeRest();
    if (pd == 0x04)
        r.Ia5("User information", info);
    else
        r.Hex("User information", info);
}

}  // namespace vexa::isdn
