#include "DectDecoder.h"

#include "DectElements.h"
#include "DectTables.h"
#include "HexText.h"
#include "ShortText.h"

#include <algorithm>
#include <cstring>

namespace vexa::dect {

using component::DecodedText;
using component::AppendHexByte;
using component::HexByte;
using component::HexDump;

namespace {

// "NAME (H'xx)", the first line of an element's part, made without taking memory.
struct Title {
    Title(const char *name, uint8_t id) {
        static const char kDigits[] = "0123456789ABCDEF";
        const std::string_view n = name ? name : "Unknown element";
        length = std::min(n.size(), sizeof text - 7);
        std::memcpy(text, n.data(), length);
        const char tail[7] = {' ', '(', 'H', '\'', kDigits[id >> 4], kDigits[id & 15], ')'};
        std::memcpy(text + length, tail, sizeof tail);
        length += sizeof tail;
    }
    operator std::string_view() const { return std::string_view(text, length); }
    char text[64];
    size_t length;
};

// The elements after the message type, one part each.
class ElementWalk {
public:
    ElementWalk(const uint8_t *data, size_t size, DecodedText &out) : m_data(data), m_size(size), m_out(out) {}

    // Reads all elements from pos; fills seen (identifiers met in codeset 0).
    void Run(size_t pos) {
        while (pos < m_size) {
            const uint8_t id = m_data[pos];
            const int codeset = m_nonLocking >= 0 ? m_nonLocking : m_locked;
            m_nonLocking = -1;
            if (id & 0x80) pos = Fixed(pos, id, codeset);
            else pos = Variable(pos, id, codeset);
            ++m_count;
        }
    }

    bool Seen(uint8_t id) const { return m_seen[id]; }
    int Count() const { return m_count; }
    bool FirstBroken() const { return m_firstBroken; }
    const std::string &FirstProblem() const { return m_firstProblem; }
    ShortText identitySummary;

private:
    void Broken(const std::string &problem) {
        m_out.Error(problem);
        if (m_count == 0) {
            m_firstBroken = true;
            m_firstProblem = problem;
        }
    }

    size_t Fixed(size_t pos, uint8_t id, int codeset) {
        const uint8_t group = id & 0xF0;
        if (group == kDoubleOctetGroup) {
            m_out.BeginPart(Title(ElementName(id), id));
            if (pos + 1 >= m_size) {
                Broken("Second octet missing: the message ends after the identifier");
                return m_size;
            }
            if (codeset != 0) m_out.Field("Contents (codeset " + std::to_string(codeset) + ")", HexByte(m_data[pos + 1]));
            else {
                if (!ElementName(id)) m_out.Error("Reserved double octet element " + HexByte(id));
                DecodeDoubleOctetElement(id, m_data[pos + 1], m_out);
                m_seen[id] = true;
            }
            return pos + 2;
        }
        if (group == kShiftGroup) {
            m_out.BeginPart(Title("SHIFT", id));
            const int target = id & 0x07;
            const bool nonLocking = id & 0x08;
            m_out.Field("Shift", nonLocking ? "Non-locking shift" : "Locking shift");
            const char *name = NameOf(kCodesets, static_cast<unsigned>(target));
            m_out.Field("New codeset", name ? name : HexByte(static_cast<uint8_t>(target)) + " (reserved)");
            if (!name) m_out.Error("Shift to a reserved codeset " + std::to_string(target));
            if (nonLocking) m_nonLocking = target;
            else m_locked = target;
            return pos + 1;
        }
        if (group == kRepeatIndicatorGroup) {
            m_out.BeginPart(Title("REPEAT-INDICATOR", id));
            const char *name = NameOf(kRepeatIndicators, id & 0x0F);
            m_out.Field("Indication", name ? name : HexByte(id & 0x0F) + " (reserved)");
            if (!name) m_out.Error("Repeat indicator: reserved value " + HexByte(id & 0x0F));
            return pos + 1;
        }
        m_out.BeginPart(Title(ElementName(id), id));
        if (!ElementName(id)) m_out.Error("Reserved single octet element " + HexByte(id));
        else m_seen[id] = true;
        return pos + 1;
    }

    size_t Variable(size_t pos, uint8_t id, int codeset) {
        const char *name = codeset == 0 ? ElementName(id) : nullptr;
        if (codeset == 0) m_out.BeginPart(Title(name, id));
        else m_out.BeginPart("Element " + HexByte(id) + " of codeset " + std::to_string(codeset));
        if (pos + 1 >= m_size) {
            Broken("Length octet missing: the message ends after the identifier");
            return m_size;
        }
        const size_t length = m_data[pos + 1];
        m_out.Field("Length", Decimal(length));
        size_t available = m_size - pos - 2;
        bool cut = false;
        if (length > available) {
            Broken("Length " + std::to_string(length) + " runs past the end of the message (" +
                   std::to_string(available) + " octets left)");
            cut = true;
        } else {
            available = length;
        }
        if (codeset == 0) m_seen[id] = true;
        ElementBody body(m_data + pos + 2, available, m_out);
        if (codeset != 0 || cut || !DecodeVariableElement(id, body)) {
            if (codeset == 0 && !name) m_out.Line("Element not known to this decoder: shown as octets");
            body.HexFrom(0, "Octets");
        }
        if (id == kPortableIdentity && identitySummary.empty() && !body.identitySummary.empty())
            identitySummary = body.identitySummary;
        return cut ? m_size : pos + 2 + length;
    }

    const uint8_t *m_data;
    size_t m_size;
    DecodedText &m_out;
    bool m_seen[256] = {};
    int m_locked = 0;
    int m_nonLocking = -1;
    int m_count = 0;
    bool m_firstBroken = false;
    std::string m_firstProblem;
};

}  // namespace

DecodedDect DectDecoder::Decode(const uint8_t *data, size_t size, const std::vector<std::string> &problems,
                                bool hasData) {
    DecodedDect d;
    DecodeInto(data, size, problems, hasData, d);
    return d;
}

void DectDecoder::DecodeInto(const uint8_t *data, size_t size, const std::vector<std::string> &problems, bool hasData,
                             DecodedDect &d) {
    // d's strings keep their room from one message to the next.
    d.status = kNormal;
    d.valid = true;
    d.messageName.clear();
    d.discriminator.clear();
    d.transactionValue.clear();
    d.transactionFlag = -1;
    d.extraLine.clear();
    DecodedText out;
    out.Adopt(std::move(d.text));
    out.Reserve(std::min(size * 40 + 256, DecodedText::kMaxChars));  // one allocation for most texts
    auto problemsPart = [&] {
        if (problems.empty()) return;
        out.BeginPart("Trace data");
        for (const std::string &p : problems) out.Error(p);
    };
    auto finish = [&](int status) {
        d.status = status;
        d.valid = !out.HasErrors() && status != kUnknownMessageType && status != kUnknownDiscriminator &&
                  status != kElementsNotDecoded;
        d.text = out.Take();
    };

    if (!hasData) {
        d.messageName = "Station control message";
        problemsPart();
        finish(kStationControlOnly);
        return;
    }
    if (size == 0) {
        d.messageName = "No network layer octets";
        out.Error("DATA rows without octets: no network layer message");
        problemsPart();
        finish(kUnknownDiscriminator);
        return;
    }

    // Octet 1: transaction identifier (flag, value) and protocol discriminator.
    const uint8_t first = data[0];
    const unsigned pd = first & 0x0F;
    d.transactionFlag = first >> 7;
    unsigned tv = (first >> 4) & 0x07;
    size_t pos = 1;
    bool extended = tv == 7;
    const char *pdName = DiscriminatorName(pd);
    d.discriminator.assign(pdName ? pdName : "Unknown protocol discriminator");
    d.discriminator += " (";
    AppendHexByte(d.discriminator, static_cast<uint8_t>(pd));
    d.discriminator += ')';

    // The first part: the transaction identifier in one line (the protocol discriminator and
    // the transaction value also stand in the block's header), then the message type.
    ShortText ti("flag ");
    ti.Add(d.transactionFlag ? "1 (sent to the originating side)" : "0 (sent from the originating side)");
    if (extended) {
        if (size < 2) {
            ti.Add(", value 7 (extended)");
            out.Field("Transaction identifier", ti);
            out.Error("TI extension octet missing: the message ends after octet 1");
        } else {
            const uint8_t ext = data[1];
            tv = ext & 0x7F;
            ti.Add(", value 7 (extended: ").AddDecimal(tv).Add(')');
            out.Field("Transaction identifier", ti);
            if (!(ext & 0x80)) out.Error("Extension bit of the TI extension octet is 0");
            pos = 2;
        }
    } else {
        ti.Add(", value ").AddDecimal(tv);
        out.Field("Transaction identifier", ti);
    }
    const ShortText value =
        ShortText("TI ").AddDecimal(tv).Add(d.transactionFlag ? " (Destination)" : " (Originator)");
    d.transactionValue.assign(std::string_view(value));

    if (!pdName) {
        d.messageName = "Unknown protocol discriminator";
        DecodedText alt;
        alt.Error("Unknown protocol discriminator " + HexByte(static_cast<uint8_t>(pd)) + " in octet 1 (" +
                  HexByte(first) + ")");
        d.text = alt.Take();
        d.status = kUnknownDiscriminator;
        d.valid = false;
        return;
    }
    if (pos >= size || (extended && size < 2)) {
        d.messageName = "Message type missing";
        DecodedText alt;
        alt.Error("Message truncated: no message type octet after the transaction identifier");
        for (const std::string &p : problems) alt.Error(p);
        d.text = alt.Take();
        d.status = kUnknownMessageType;
        d.valid = false;
        return;
    }
    const uint8_t typeOctet = data[pos++];
    const MessageType *type = FindMessageType(pd, typeOctet & 0x7F);
    if (!type || (typeOctet & 0x80)) {
        d.messageName = "Unknown message type " + HexByte(typeOctet);
        DecodedText alt;
        alt.Error("Unknown message type " + HexByte(typeOctet) + " of " + (pdName ? pdName : "?"));
        d.text = alt.Take();
        d.status = kUnknownMessageType;
        d.valid = false;
        return;
    }
    d.messageName = type->name;
    out.Field("Message type", ShortText(type->name).Add(" (").AddHex(typeOctet, 2).Add(')'));

    problemsPart();
    ElementWalk walk(data, size, out);
    walk.Run(pos);
    if (!walk.identitySummary.empty()) {
        d.extraLine.assign("Portable identity: ");
        d.extraLine += walk.identitySummary;
    }
    for (uint8_t m : type->mandatory) {
        if (!m || walk.Seen(m)) continue;
        out.BeginPart("Message");
        out.Error("Mandatory information element " + std::string(ElementName(m)) + " (" + HexByte(m) +
                  ") missing in " + type->name);
    }
    // Nothing of the body could be read: the block shows the message type and why. When the
    // line reader found something wrong too, the whole body is shown so that both are seen.
    if (walk.FirstBroken() && problems.empty()) {
        // Shown on the message type line of the block: one line.
        d.text = std::string(type->name) + " (" + HexByte(typeOctet) + ") !!!Elements not decoded: " +
                 walk.FirstProblem() + "!!!";
        d.status = kElementsNotDecoded;
        d.valid = false;
        return;
    }
    finish(walk.Count() == 0 && !out.HasErrors() ? kNoElements : kNormal);
}

}  // namespace vexa::dect
