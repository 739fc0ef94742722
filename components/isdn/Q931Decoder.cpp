#include "Q931Decoder.h"

#include "DecodedText.h"
#include "HexText.h"
#include "NationalCodesets.h"
#include "Q931Tables.h"
#include "SegmentReassembler.h"

#include <algorithm>
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

    void Run() {
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
            if (cut) break;
            pos += 2 + len;
        }
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

void CheckMandatory(const MessageType &type, const std::bitset<256> &seen, DecodedText &out) {
    for (uint8_t m : type.mandatory) {
        if (m == ie::kNone || seen.test(m)) continue;
        const char *n = ElementName(m);
        out.BeginPart("Message");
        out.Error("Mandatory information element " + std::string(n ? n : "?") + " (" + HexByte(m) + ") missing");
    }
}

// "SETUP", or "message of type H'13" for a type no table names.
std::string MessageTypeName(uint8_t value) {
    const MessageType *m = FindMessageType(value);
    return m ? std::string(m->name) : "message of type " + HexByte(value);
}

// Decodes what follows the message type of a message of `type` (size octets from data).
class BodyDecoder {
public:
    BodyDecoder(int variant, DecodedText &out, MessageFacts &facts) : m_variant(variant), m_out(out), m_facts(facts) {}

    void Decode(const MessageType &type, const uint8_t *data, size_t size, const SegmentPlace *place) {
        switch (type.body) {
        case MessageBody::kElements: {
            ElementWalker walker(data, size, m_variant, m_out, m_facts);
            walker.Run();
            CheckMandatory(type, walker.Seen(), m_out);
            return;
        }
        case MessageBody::kNational:
            // Q.931 4.4: the national specification defines the message type in the octet(s)
            // after the escape, and what follows it.
            m_out.BeginPart("Escape to nationally specific message type (H'00)");
            m_out.Field("National message type and contents", component::HexDump(data, size));
            return;
        case MessageBody::kSegment:
            Segment(type, data, size, place);
            return;
        }
    }

private:
    // Q.931 Annex H: the segmented message element, then octets of the message being
    // segmented, cut wherever the frame was full (not at element boundaries).
    void Segment(const MessageType &type, const uint8_t *data, size_t size, const SegmentPlace *place) {
        size_t elementSize = 0;
        std::bitset<256> seen;
        if (size > 0 && data[0] == ie::kSegmentedMessage) {
            elementSize = size < 2 ? size : std::min<size_t>(size, 2 + data[1]);
            ElementWalker walker(data, elementSize, m_variant, m_out, m_facts);
            walker.Run();
            seen = walker.Seen();
        }
        CheckMandatory(type, seen, m_out);
        if (size == 0) return;
        const uint8_t *octets = data + elementSize;
        const size_t count = size - elementSize;
        m_out.BeginPart("Message segment");
        // Where the segment stands comes first: the octets of a long segment may pass what
        // the text of one message holds.
        const bool placed = place && seen.test(ie::kSegmentedMessage) && elementSize >= 4;
        const uint8_t segmentedType = placed ? data[3] & 0x7F : 0;
        const std::string name = placed ? MessageTypeName(segmentedType) : std::string();
        if (placed) m_out.Line(PlaceLine(*place, name));
        if (count == 0)
            m_out.Error("No octets of the segmented message: a segment carries one or more");
        else
            m_out.Field("Octets", component::HexDump(octets, count));
        if (!placed || !place->Completes()) return;
        m_out.BeginPart("Reassembled " + name);
        m_out.Field("Segments", std::to_string(place->total));
        m_out.Field("Length", std::to_string(place->whole.size()) + " octets");
        const MessageType *whole = FindMessageType(segmentedType);
        m_facts.messageType = segmentedType;
        if (whole && whole->body != MessageBody::kSegment)
            Decode(*whole, place->whole.data(), place->whole.size(), nullptr);
        else
            m_out.Field("Octets", component::HexDump(place->whole.data(), place->whole.size()));
    }

    // "Segment 2 of 3: ...", or why the message is not reassembled.
    static std::string PlaceLine(const SegmentPlace &place, const std::string &name) {
        if (place.number == 0)
            return "The segments before this one are not in the trace: the " + name + " is not reassembled";
        if (place.tooLong)
            return "The segments pass " + std::to_string(SegmentReassembler::kMaxOctets) +
                   " octets together: the " + name + " is not reassembled";
        const std::string of = "Segment " + std::to_string(place.number) + " of " + std::to_string(place.total);
        if (!place.Completes()) return of + ": the whole " + name + " is shown under its last segment";
        return of + ": the " + name + " reassembled from its segments follows";
    }

    int m_variant;
    DecodedText &m_out;
    MessageFacts &m_facts;
};

}  // namespace

DecodedMessage Q931Decoder::Decode(const uint8_t *data, size_t size, const std::vector<std::string> &problems,
                                   std::string textBuffer, const SegmentPlace *place) const {
    DecodedMessage msg;
    DecodedText out;
    out.Adopt(std::move(textBuffer));
    out.Reserve(512);
    if (!problems.empty()) {
        out.BeginPart("Trace data");
        for (const std::string &p : problems) out.Error(p);
    }
    // A message with nothing after its message type has a header-only block, which shows no
    // decoded text: when the text says what is wrong, the message gets a normal block.
    auto finish = [&](bool headerOnly) {
        msg.valid = !out.HasErrors();
        msg.status = headerOnly && msg.valid ? kStatusHeaderOnly : kStatusNormal;
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
    // Bit 8 of the message type is reserved for an extension mechanism.
    const MessageType *type = (mt & 0x80) ? nullptr : FindMessageType(mt);
    if (!type) {
        msg.messageName = "UNKNOWN MESSAGE TYPE " + HexByte(mt);
        return special(kStatusUnknownMessageType, "Unknown message type " + HexByte(mt));
    }
    msg.messageName = type->name;
    if (type->body == MessageBody::kNational && pos >= size) {
        return special(kStatusUnknownMessageType, "National message type missing: the message ends after the escape "
                                                  "to a nationally specific message type (H'00)");
    }
    MessageFacts facts;
    facts.variant = m_variant;
    facts.messageType = mt;
    BodyDecoder(m_variant, out, facts).Decode(*type, data + pos, size - pos, place);
    msg.hasCallingNumber = facts.hasCallingNumber;
    msg.callingNumber = std::move(facts.callingNumber);
    return finish(pos >= size);
}

}  // namespace vexa::isdn
