#include "Q931Decoder.h"

#include "DecodedText.h"
#include "HexText.h"
#include "NationalCodesets.h"
#include "Q931Tables.h"

#include <array>
#include <bitset>

namespace vexa::isdn {

namespace {

using component::HexByte;

const char *CodesetName(int codeset) {
    switch (codeset) {
    case 0: return "Q.931 information elements";
    case 4: return "ISO/IEC standard information elements";
    case 5: return "national information elements";
    case 6: return "information elements of the local network";
    case 7: return "user-specific information elements";
    default: return "reserved codeset";
    }
}

// "Called party number (H'70)", "Charging information (codeset 6, H'02)", written into s.
const std::string &ElementTitle(std::string &s, const char *name, int codeset, uint8_t id) {
    s.assign(name ? name : "Unknown information element");
    s += " (";
    if (codeset != 0) {
        s += "codeset ";
        s += std::to_string(codeset);
        s += ", ";
    }
    component::AppendHexByte(s, id);
    s += ')';
    return s;
}

// The titles of the codeset 0 elements, made once: nearly every element of a trace is one.
const std::string &CodesetZeroTitle(uint8_t id) {
    static const std::array<std::string, 256> kTitles = [] {
        std::array<std::string, 256> titles;
        for (int i = 0; i < 256; ++i) {
            const ElementType *e = FindElementType(static_cast<uint8_t>(i));
            ElementTitle(titles[i], e ? e->name : nullptr, 0, static_cast<uint8_t>(i));
        }
        return titles;
    }();
    return kTitles[id];
}

// Walks the information elements after the message type.
class ElementWalker {
public:
    ElementWalker(const uint8_t *data, size_t size, int variant, DecodedText &out, MessageFacts &facts)
        : m_data(data), m_size(size), m_variant(variant), m_out(out), m_facts(facts) {}

    // Returns the number of elements of which anything could be shown.
    int Run() {
        int decoded = 0;
        size_t pos = 0;
        int locked = 0;
        int once = -1;  // codeset of a non-locking shift, for the next element only
        while (pos < m_size) {
            int codeset = once >= 0 ? once : locked;
            once = -1;
            uint8_t id = m_data[pos];
            if (id & 0x80) {
                ++pos;
                if ((id & 0xF0) == 0x90) {
                    Shift(id, locked, once);
                } else {
                    SingleOctet(id, codeset);
                }
                ++decoded;
                continue;
            }
            if (pos + 1 >= m_size) {
                m_out.BeginPart(ElementTitle(m_title, Name(id, codeset), codeset, id));
                m_out.Error("Length octet missing: the message ends after the identifier");
                break;
            }
            size_t len = m_data[pos + 1];
            size_t available = m_size - pos - 2;
            bool cut = len > available;
            size_t take = cut ? available : len;
            DecodeVariable(id, codeset, m_data + pos + 2, take, len, cut);
            if (!cut || take > 0) ++decoded;
            if (cut) break;
            pos += 2 + len;
        }
        return decoded;
    }

    const std::bitset<256> &Seen() const { return m_seen; }

private:
    const char *Name(uint8_t id, int codeset) const {
        if (codeset == 0) {
            const ElementType *e = FindElementType(id);
            return e ? e->name : nullptr;
        }
        const NationalElement *n = FindNationalElement(m_variant, codeset, id);
        return n ? n->name : nullptr;
    }

    void Shift(uint8_t id, int &locked, int &once) {
        int target = id & 7;
        bool nonLocking = id & 8;
        m_out.BeginPart(ElementTitle(m_title, "Shift", 0, id));
        m_out.Field("Shift type", nonLocking ? "Non-locking shift" : "Locking shift");
        m_out.Field("Codeset", std::to_string(target) + " (" + CodesetName(target) + ")");
        if (target >= 1 && target <= 3) m_out.Error("Shift to a reserved codeset");
        if (nonLocking) {
            once = target;
        } else {
            // Q.931 4.5.3: a locking shift only goes to a codeset above the active one.
            if (target <= locked) m_out.Error("Locking shift to a codeset not above the active codeset " + std::to_string(locked));
            locked = target;
        }
    }

    void SingleOctet(uint8_t id, int codeset) {
        if (codeset == 0) {
            m_seen.set(id & 0xF0);
            if (id == 0xA0 || id == 0xA1) m_seen.set(id);
            const char *name = ElementName(id);
            m_out.BeginPart(ElementTitle(m_title, name ? name : "Reserved single octet element", 0, id));
            DecodeSingleOctet(id, m_out);
            return;
        }
        const NationalElement *n = FindNationalElement(m_variant, codeset, id);
        m_out.BeginPart(ElementTitle(m_title, n ? n->name : "Single octet element", codeset, id));
    }

    void DecodeVariable(uint8_t id, int codeset, const uint8_t *contents, size_t take, size_t len, bool cut) {
        const ElementType *type = codeset == 0 ? FindElementType(id) : nullptr;
        const NationalElement *national = codeset != 0 ? FindNationalElement(m_variant, codeset, id) : nullptr;
        const char *name = type ? type->name : national ? national->name : nullptr;
        m_out.BeginPart(codeset == 0 ? CodesetZeroTitle(id) : ElementTitle(m_title, name, codeset, id));
        m_out.Field("Length", std::to_string(len));
        if (codeset == 0) m_seen.set(id);
        if (cut) {
            m_out.Error("Length " + std::to_string(len) + " runs past the end of the message (" +
                        std::to_string(take) + " octets follow)");
        }
        if (type && type->maxLength && len + 2 > type->maxLength) {
            m_out.Error("Element longer than the largest allowed length of " + std::to_string(type->maxLength) +
                        " octets");
        }
        ElementReader reader(contents, take, m_out);
        ElementDecoder decode = type ? type->decode : national ? national->decode : nullptr;
        if (decode) {
            decode(reader, m_facts);
            if (!reader.AtEnd()) reader.ShowRest();
        } else {
            reader.Hex("Contents", reader.TakeRest());
        }
    }

    const uint8_t *m_data;
    size_t m_size;
    int m_variant;
    DecodedText &m_out;
    MessageFacts &m_facts;
    std::bitset<256> m_seen;
    std::string m_title;  // the title of the element being written
};

}  // namespace

DecodedMessage Q931Decoder::Decode(const uint8_t *data, size_t size, const std::vector<std::string> &problems,
                                   std::string textBuffer) const {
    DecodedMessage msg;
    DecodedText out;
    out.Adopt(std::move(textBuffer));
    out.Reserve(512);
    if (!problems.empty()) {
        out.BeginPart("Trace data");
        for (const std::string &p : problems) out.Error(p);
    }
    auto finish = [&](int status) {
        msg.status = status;
        msg.valid = !out.HasErrors();
        msg.text = out.Take();
        return std::move(msg);
    };
    // The special blocks show the decoded text on one header line: what is wrong with the
    // header, followed by what the line reader found.
    auto special = [&](int status, const std::string &what) {
        std::string line = "!!!" + what;
        for (const std::string &p : problems) line += "; " + p;
        line += "!!!";
        msg.status = status;
        msg.valid = false;
        msg.text = std::move(line);
        return std::move(msg);
    };
    // Protocol discriminator.
    if (size == 0) {
        msg.messageName = "EMPTY MESSAGE";
        msg.discriminator = "None";
        return special(kStatusUnknownDiscriminator, "No octets: the signal carried no message");
    }
    uint8_t pd = data[0];
    msg.discriminator = DiscriminatorText(pd);
    if (pd != kProtocolDiscriminatorQ931) {
        msg.messageName = "UNKNOWN PROTOCOL";
        return special(kStatusUnknownDiscriminator, std::string(msg.discriminator) + ": not a Q.931 message");
    }
    // Call reference: length octet (bits 4-1, bits 8-5 spare), then the value.
    if (size < 2) {
        msg.messageName = "INCOMPLETE MESSAGE";
        return special(kStatusBadCallReference, "Call reference missing: the message ends after the protocol discriminator");
    }
    uint8_t crl = data[1];
    if (crl & 0xF0) {
        msg.messageName = "INCOMPLETE MESSAGE";
        return special(kStatusBadCallReference, "Call reference length octet " + HexByte(crl) + ": bits 8-5 must be 0000");
    }
    size_t crLen = crl & 0x0F;
    if (2 + crLen > size) {
        msg.messageName = "INCOMPLETE MESSAGE";
        return special(kStatusBadCallReference, "Call reference of " + std::to_string(crLen) + " octets cut short: " +
                                                    std::to_string(size - 2) + " octets follow");
    }
    msg.callReference.assign(data + 2, data + 2 + crLen);
    msg.callReferenceRead = true;
    size_t pos = 2 + crLen;
    // Message type.
    if (pos >= size) {
        msg.messageName = "INCOMPLETE MESSAGE";
        return special(kStatusUnknownMessageType, "Message type missing: the message ends after the call reference");
    }
    uint8_t mt = data[pos++];
    const MessageType *type = nullptr;
    if (mt == 0x00) {
        std::string s = "Escape to nationally specific message type";
        if (pos < size) s += " " + HexByte(data[pos]);
        msg.messageName = "NATIONAL MESSAGE TYPE";
        return special(kStatusUnknownMessageType, s + " (not decoded)");
    }
    type = (mt & 0x80) ? nullptr : FindMessageType(mt);
    if (!type) {
        msg.messageName = "UNKNOWN MESSAGE TYPE " + HexByte(mt);
        return special(kStatusUnknownMessageType, "Unknown message type " + HexByte(mt));
    }
    msg.messageName = type->name;
    auto checkMandatory = [&](const std::bitset<256> &seen) {
        for (uint8_t m : type->mandatory) {
            if (m == ie::kNone || seen.test(m)) continue;
            const char *n = ElementName(m);
            out.BeginPart("Message");
            out.Error("Mandatory information element " + std::string(n ? n : "?") + " (" + HexByte(m) + ") missing");
        }
    };
    if (pos >= size) {
        checkMandatory({});
        return finish(kStatusHeaderOnly);
    }
    MessageFacts facts;
    facts.variant = m_variant;
    facts.messageType = mt;
    ElementWalker walker(data + pos, size - pos, m_variant, out, facts);
    int decoded = walker.Run();
    checkMandatory(walker.Seen());
    msg.hasCallingNumber = facts.hasCallingNumber;
    msg.callingNumber = std::move(facts.callingNumber);
    return finish(decoded == 0 ? kStatusBodyUndecodable : kStatusNormal);
}

}  // namespace vexa::isdn
