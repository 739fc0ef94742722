#include "PerWalker.h"

#include "HexText.h"
#include "PerSchema.h"
#include "PerValueText.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace vexa::ip {

namespace {

// The optional components among the root components of each SEQUENCE, counted once.
const std::vector<uint8_t> &OptionalCounts() {
    static const std::vector<uint8_t> counts = [] {
        std::vector<uint8_t> n(kPerTypeCount, 0);
        for (uint32_t t = 0; t < kPerTypeCount; ++t) {
            if (kPerTypes[t].kind != PerKind::Sequence) continue;
            int optionals = 0;
            for (uint32_t i = 0; i < kPerTypes[t].rootCount; ++i)
                if (kPerComponents[kPerTypes[t].first + i].flags & kOptional) ++optionals;
            n[t] = static_cast<uint8_t>(std::min(optionals, 255));
        }
        return n;
    }();
    return counts;
}

}  // namespace

PerWalker::Room &PerWalker::ThreadRoom() {
    thread_local Room room;
    return room;
}

PerWalker::PerWalker(DecodedText &out, int indent)
    : m_out(&out), m_baseIndent(indent), m_room(ThreadRoom()), m_value(m_room.value) {}

bool PerWalker::Fail(Bits &in, std::string_view label, std::string_view what, int /*depth*/) {
    if (m_failed) return false;
    m_failed = true;
    std::string text(label);
    text += ": ";
    text += what;
    // Where in the whole value: open types and contained encodings are read from their own
    // stretch of the same octets (values put together from fragments, from a copy).
    const size_t at = (in.data >= m_top && in.data <= m_top + m_topSize ? static_cast<size_t>(in.data - m_top) : 0) + in.pos / 8;
    if (at >= m_topSize)
        text += " (at the end of the " + std::to_string(m_topSize) + " octets)";
    else
        text += " (at octet " + std::to_string(at + 1) + " of " + std::to_string(m_topSize) + ")";
    m_out->Error(text);
    return false;
}

bool PerWalker::Decode(int32_t type, const uint8_t *data, size_t size, std::string_view label) {
    Bits in{data, size};
    m_top = data;
    m_topSize = size;
    m_failed = false;
    m_chain = 0;
    m_pieces.clear();
    m_reassembled = 0;
    bool ok = Value(in, type, label, 0);
    if (ok && in.Left() >= 8) {
        Line(0, "Octets after the value", component::HexDump(data + (in.pos + 7) / 8, size - (in.pos + 7) / 8));
    }
    return ok && !m_failed;
}

bool PerWalker::Value(Bits &in, int32_t type, std::string_view label, int depth) {
    if (m_failed) return false;
    if (depth > kMaxDepth) return Fail(in, label, "nested more than " + std::to_string(kMaxDepth) + " deep", depth);
    // A CHOICE's alternative is written at the CHOICE's own depth: the calls are counted
    // apart from the depth shown, so that alternatives within alternatives stop too.
    struct Nesting {
        int &n;
        explicit Nesting(int &count) : n(++count) {}
        ~Nesting() { --n; }
    } nesting(m_nesting);
    if (m_nesting > kMaxNesting) return Fail(in, label, "nested more than " + std::to_string(kMaxNesting) + " deep", depth);
    if (++m_values > kMaxValues) return Fail(in, label, "more than " + std::to_string(kMaxValues) + " values", depth);
    if (type < 0 || static_cast<uint32_t>(type) >= kPerTypeCount) return Fail(in, label, "type not known", depth);
    const PerType &t = kPerTypes[type];
    if (t.kind != PerKind::Choice) m_chain = kChainDone;
    switch (t.kind) {
    case PerKind::Null:
        Line(depth, label, "NULL");
        return true;
    case PerKind::Boolean: {
        uint64_t v = 0;
        if (!in.Bit(v)) return Fail(in, label, "BOOLEAN cut short", depth);
        Line(depth, label, v ? "TRUE" : "FALSE");
        return true;
    }
    case PerKind::Integer: {
        if ((t.flags & (kHasLower | kHasUpper | kRangeExtensible)) == (kHasLower | kHasUpper) && t.lower <= t.upper) {
            // A constrained number (most of them): written from a buffer of its own.
            int64_t v = 0;
            if (!in.Constrained(t.lower, t.upper, v)) return Fail(in, label, "INTEGER cut short or out of range", depth);
            char digits[24];
            Line(depth, label, std::string_view(digits, std::to_chars(digits, digits + sizeof digits, v).ptr));
            return true;
        }
        if (!Integer(in, type, m_value)) return Fail(in, label, m_value, depth);
        Line(depth, label, m_value);
        return true;
    }
    case PerKind::Enumerated: {
        uint64_t ext = 0;
        if ((t.flags & kExtensible) && !in.Bit(ext)) return Fail(in, label, "ENUMERATED cut short", depth);
        if (ext) {
            uint64_t n = 0;
            if (!in.NormallySmall(n)) return Fail(in, label, "ENUMERATED extension value cut short", depth);
            if (n < static_cast<uint64_t>(t.count - t.rootCount)) {
                Line(depth, label, kPerNames[t.first + t.rootCount + n]);
            } else {
                m_value = "unknown extension value ";
                AppendNumber(m_value, n);
                Line(depth, label, m_value);
            }
            return true;
        }
        int64_t v = 0;
        if (t.rootCount == 0 || !in.Constrained(0, t.rootCount - 1, v))
            return Fail(in, label, "ENUMERATED cut short", depth);
        Line(depth, label, kPerNames[t.first + v]);
        return true;
    }
    case PerKind::BitString: {
        if (!BitString(in, type, m_value)) return Fail(in, label, m_value, depth);
        Line(depth, label, m_value);
        return true;
    }
    case PerKind::OctetString: {
        const uint8_t *p = nullptr;
        size_t n = 0;
        if (!OctetString(in, type, p, n, m_value)) return Fail(in, label, m_value, depth);
        if (t.element >= 0) return Contained(t.element, p, n, label, depth);
        m_value.clear();
        AppendHexAndText(m_value, p, n);
        Line(depth, label, m_value);
        return true;
    }
    case PerKind::CharString: {
        std::string &chars = m_room.chars;
        if (!CharString(in, type, chars)) return Fail(in, label, chars, depth);
        m_value.clear();
        AppendQuoted(m_value, chars);
        Line(depth, label, m_value);
        return true;
    }
    case PerKind::GeneralString:
    case PerKind::ObjectId:
    case PerKind::OpenType: {
        size_t n = 0;
        bool fragment = false;
        if (!in.Length(n, fragment)) return Fail(in, label, "length cut short", depth);
        Bits from{nullptr, 0};
        if (!Units(in, n, fragment, 8, from, n, m_value)) return Fail(in, label, m_value, depth);
        const uint8_t *p = from.data + from.pos / 8;
        m_value.clear();
        if (t.kind == PerKind::GeneralString) {
            m_value += '"';
            component::AppendSafeText(m_value, p, n);
            m_value += '"';
        } else if (t.kind == PerKind::ObjectId) {
            if (!AppendOid(m_value, p, n))
                return Fail(in, label, n ? "malformed OBJECT IDENTIFIER " + Hex(p, n) : "OBJECT IDENTIFIER of no octets", depth);
        } else if (t.element >= 0) {
            return Contained(t.element, p, n, label, depth);
        } else {
            AppendHex(m_value, p, n);
        }
        Line(depth, label, m_value);
        return true;
    }
    case PerKind::Sequence: return Sequence(in, type, label, depth);
    case PerKind::Choice: return Choice(in, type, label, depth);
    case PerKind::SequenceOf: return SequenceOf(in, type, label, depth);
    }
    return Fail(in, label, "type not known", depth);
}

bool PerWalker::Units(Bits &in, size_t units, bool fragment, size_t unitBits, Bits &from, size_t &total, std::string &why) {
    if (!fragment) {
        // One stretch, read where it stands.
        in.Align();
        if (units > in.Left() / unitBits) {
            why = "length " + std::to_string(units) + " past the end";
            return false;
        }
        from = in;
        in.pos += units * unitBits;
        total = units;
        return true;
    }
    // Fragments of 16K to 64K units, each after its length determinant, up to one of fewer
    // than 16K units: put together in one stretch of octets. Every fragment but the last
    // fills whole octets (16K units of any size do), so the parts join octet by octet.
    std::vector<uint8_t> whole;
    total = 0;
    for (;;) {
        in.Align();
        if (units > in.Left() / unitBits) {
            why = "fragment of " + std::to_string(units) + (unitBits == 8 ? " octets" : " units") + " past the end (" +
                  std::to_string(total) + " before it)";
            return false;
        }
        const size_t octets = (units * unitBits + 7) / 8;
        if (m_reassembled + octets > kMaxReassembled) {
            why = "more than " + std::to_string(kMaxReassembled) + " octets in fragments";
            return false;
        }
        m_reassembled += octets;
        const uint8_t *p = in.data + in.pos / 8;
        whole.insert(whole.end(), p, p + octets);
        in.pos += units * unitBits;
        total += units;
        if (!fragment) break;
        if (!in.Length(units, fragment)) {
            why = "length determinant after a fragment cut short or not valid (" + std::to_string(total) + " units before it)";
            return false;
        }
    }
    m_pieces.push_back(std::move(whole));
    from = Bits{m_pieces.back().data(), m_pieces.back().size()};
    return true;
}

bool PerWalker::Contained(int32_t type, const uint8_t *octets, size_t count, std::string_view label, int depth) {
    // One line names the octets and the type they hold; the value follows on it.
    const std::string_view name = kPerTypes[type].name;
    std::string &heading = Label();
    heading.assign(label);
    heading += " (";
    AppendNumber(heading, count);
    heading += count == 1 ? " octet" : " octets";
    if (!name.empty()) {
        heading += ", ";
        heading += name;
    }
    heading += ')';
    Bits sub{octets, count};
    int saved = m_chain;
    m_chain = kChainDone;
    bool ok = Value(sub, type, heading, depth);
    m_chain = saved;
    return ok;
}

bool PerWalker::Integer(Bits &in, int32_t type, std::string &text) {
    const PerType &t = kPerTypes[type];
    uint64_t ext = 0;
    if ((t.flags & kRangeExtensible) && !in.Bit(ext)) {
        text = "INTEGER cut short";
        return false;
    }
    text.clear();
    if (!ext && (t.flags & kHasLower) && (t.flags & kHasUpper)) {
        int64_t v = 0;
        if (t.upper < t.lower || !in.Constrained(t.lower, t.upper, v)) {
            text = "INTEGER cut short or out of range";
            return false;
        }
        AppendNumber(text, v);
        return true;
    }
    size_t n = 0;
    const uint8_t *p = nullptr;
    if (!in.ShortLength(n) || !in.Octets(n, p) || n == 0) {
        text = "INTEGER length wrong or past the end";
        return false;
    }
    if (n > 8) {
        text = "0x";
        AppendHex(text, p, n);
        return true;
    }
    const bool semi = !ext && (t.flags & kHasLower);
    uint64_t u = 0;
    for (size_t i = 0; i < n; ++i) u = u << 8 | p[i];
    long long value = 0;
    if (semi) {
        value = static_cast<long long>(u) + t.lower;
    } else {
        if (n < 8 && (p[0] & 0x80)) u |= ~uint64_t{0} << (8 * n);
        value = static_cast<long long>(u);
    }
    AppendNumber(text, value);
    return true;
}

bool PerWalker::OctetString(Bits &in, int32_t type, const uint8_t *&octets, size_t &count, std::string &why) {
    const PerType &t = kPerTypes[type];
    uint64_t ext = 0;
    why = "OCTET STRING length past the end";
    if ((t.flags & kRangeExtensible) && !in.Bit(ext)) return false;
    const bool bounded = !ext && (t.flags & kHasUpper) && t.upper < static_cast<int64_t>(Bits::k64K);
    const int64_t lower = (!ext && (t.flags & kHasLower)) ? t.lower : 0;
    if (bounded && lower == t.upper) {
        count = static_cast<size_t>(t.upper);
        if (count == 0) {
            octets = in.data;
            return true;
        }
        if (count <= 2) {
            // Up to two octets stand in the bit stream without alignment.
            if (count * 8 > in.Left()) return false;
            if (in.pos % 8 == 0) {
                octets = in.data + in.pos / 8;
                in.pos += count * 8;
                return true;
            }
            m_unaligned[0] = m_unaligned[1] = 0;
            for (size_t i = 0; i < count; ++i) {
                uint64_t v = 0;
                in.Read(8, v);
                m_unaligned[i] = static_cast<uint8_t>(v);
            }
            octets = m_unaligned;
            return true;
        }
        return in.Octets(count, octets);
    }
    if (bounded) {
        int64_t n = 0;
        if (!in.Constrained(lower, t.upper, n)) return false;
        count = static_cast<size_t>(n);
        return in.Octets(count, octets);
    }
    bool fragment = false;
    if (!in.Length(count, fragment)) return false;
    if (!fragment) return in.Octets(count, octets);
    Bits from{nullptr, 0};
    if (!Units(in, count, true, 8, from, count, why)) return false;
    octets = from.data;
    return true;
}

bool PerWalker::BitString(Bits &in, int32_t type, std::string &text) {
    const PerType &t = kPerTypes[type];
    uint64_t ext = 0;
    text = "BIT STRING cut short";
    if ((t.flags & kRangeExtensible) && !in.Bit(ext)) return false;
    const bool bounded = !ext && (t.flags & kHasUpper) && t.upper < static_cast<int64_t>(Bits::k64K);
    const int64_t lower = (!ext && (t.flags & kHasLower)) ? t.lower : 0;
    size_t count = 0;
    Bits *from = &in;
    Bits whole{nullptr, 0};
    if (bounded && lower == t.upper) {
        count = static_cast<size_t>(t.upper);
        if (count > 16) in.Align();
    } else {
        if (bounded) {
            int64_t n = 0;
            if (!in.Constrained(lower, t.upper, n)) return false;
            count = static_cast<size_t>(n);
        } else {
            bool fragment = false;
            if (!in.Length(count, fragment)) return false;
            if (fragment) {
                if (!Units(in, count, true, 1, whole, count, text)) return false;
                from = &whole;
            }
        }
        if (from == &in) in.Align();
    }
    if (count > from->Left()) {
        text = "BIT STRING of " + std::to_string(count) + " bits past the end";
        return false;
    }
    if (count <= 32) {
        text = "'";
        for (size_t i = 0; i < count; ++i) {
            uint64_t b = 0;
            from->Bit(b);
            text += b ? '1' : '0';
        }
        text += "'B";
        return true;
    }
    const uint8_t *p = from->data + from->pos / 8;
    text.clear();
    AppendHex(text, p, (count + 7) / 8);
    text += " (";
    AppendNumber(text, count);
    text += " bits)";
    from->pos += count;
    return true;
}

bool PerWalker::CharString(Bits &in, int32_t type, std::string &text) {
    const PerType &t = kPerTypes[type];
    uint64_t ext = 0;
    if ((t.flags & kRangeExtensible) && !in.Bit(ext)) {
        text = "string cut short";
        return false;
    }
    const int b = t.charBits;
    const bool bounded = !ext && (t.flags & kHasUpper) && t.upper < static_cast<int64_t>(Bits::k64K);
    const int64_t lower = (!ext && (t.flags & kHasLower)) ? t.lower : 0;
    size_t count = 0;
    Bits *from = &in;
    Bits whole{nullptr, 0};
    if (bounded && lower == t.upper) {
        count = static_cast<size_t>(t.upper);
        if (count * b > 16) in.Align();
    } else {
        if (bounded) {
            int64_t n = 0;
            if (!in.Constrained(lower, t.upper, n)) {
                text = "string length cut short";
                return false;
            }
            count = static_cast<size_t>(n);
        } else {
            bool fragment = false;
            if (!in.Length(count, fragment)) {
                text = "string length cut short";
                return false;
            }
            if (fragment) {
                if (b == 0 || !Units(in, count, true, static_cast<size_t>(b), whole, count, text)) {
                    if (b == 0) text = "string of characters of no bits";
                    return false;
                }
                from = &whole;
            }
        }
        // The characters of a string whose length varies are aligned once the largest
        // string fills sixteen bits (as the widely used analysers read it, too).
        if (from == &in && (!bounded || t.upper * b >= 16)) in.Align();
    }
    if (b == 0 || count > from->Left() / static_cast<size_t>(b)) {
        text = "string of " + std::to_string(count) + " characters past the end";
        return false;
    }
    const bool indexed = t.flags & kIndexedAlphabet;
    text.clear();
    if (b == 8 && !indexed && from->pos % 8 == 0) {
        // Octets as they stand (IA5String, PrintableString in the aligned variant).
        text.assign(reinterpret_cast<const char *>(from->data + from->pos / 8), count);
        from->pos += count * 8;
        return true;
    }
    text.reserve(count);
    if (b == 16 && !indexed && from->pos % 8 == 0) {
        // BMPString in the aligned variant (aliases): two octets a character.
        const uint8_t *p = from->data + from->pos / 8;
        from->pos += count * 16;
        for (size_t i = 0; i < count; ++i, p += 2) {
            AppendCharacter(text, static_cast<unsigned>(p[0]) << 8 | p[1]);
        }
        return true;
    }
    for (size_t i = 0; i < count; ++i) {
        uint64_t c = 0;
        from->Read(b, c);
        if (indexed) {
            if (c >= t.rootCount) {
                text = "character index " + std::to_string(c) + " outside the permitted alphabet";
                return false;
            }
            text += kPerAlphabets[t.first + c];
        } else {
            AppendCharacter(text, static_cast<unsigned>(c));
        }
    }
    return true;
}

bool PerWalker::Sequence(Bits &in, int32_t type, std::string_view label, int depth) {
    const PerType &t = kPerTypes[type];
    uint64_t ext = 0;
    if ((t.flags & kExtensible) && !in.Bit(ext)) return Fail(in, label, "SEQUENCE cut short", depth);
    if (t.flags & kIpAddress) {
        // An IPv4 address and a port: four octets, then a 16-bit number.
        const uint8_t *p = nullptr;
        uint64_t port = 0;
        if (!in.Octets(4, p) || !in.Read(16, port)) return Fail(in, label, "address cut short", depth);
        m_value.clear();
        for (int i = 0; i < 4; ++i) {
            AppendNumber(m_value, p[i]);
            m_value += i < 3 ? '.' : ':';
        }
        AppendNumber(m_value, port);
        Line(depth, label, m_value);
    } else {
        Heading(depth, label);
        uint64_t present = 0;
        const int optionals = OptionalCounts()[static_cast<size_t>(type)];
        // More than 64 optional components do not occur in the modules.
        if (optionals > 64 || !in.Read(optionals, present))
            return Fail(in, label, "SEQUENCE cut short", depth);
        int bit = optionals;
        for (uint32_t i = 0; i < t.rootCount; ++i) {
            const PerComponent &c = kPerComponents[t.first + i];
            if (c.flags & kOptional) {
                --bit;
                if (!((present >> bit) & 1)) continue;
            }
            if (!Value(in, c.type, c.name, depth + 1)) return false;
        }
    }
    if (!ext) return true;
    // Extension additions: a bit map of those present, then each as an open type.
    uint64_t n = 0;
    uint64_t big = 0;
    if (!in.Bit(big)) return Fail(in, label, "extension bit map cut short", depth);
    if (!big) {
        if (!in.Read(6, n)) return Fail(in, label, "extension bit map cut short", depth);
        ++n;
    } else {
        size_t length = 0;
        if (!in.ShortLength(length) || length == 0) return Fail(in, label, "extension bit map length wrong", depth);
        n = length;
    }
    if (n > in.Left()) return Fail(in, label, "extension bit map of " + std::to_string(n) + " bits past the end", depth);
    const size_t mapStart = in.pos;
    in.pos += n;
    const uint32_t known = static_cast<uint32_t>(t.count - t.rootCount);
    for (uint64_t i = 0; i < n; ++i) {
        if (!((in.data[(mapStart + i) >> 3] >> (7 - ((mapStart + i) & 7))) & 1)) continue;
        size_t length = 0;
        bool fragment = false;
        Bits sub{nullptr, 0};
        std::string why;
        if (!in.Length(length, fragment) || !Units(in, length, fragment, 8, sub, length, why))
            return Fail(in, label, "extension addition " + std::to_string(i + 1) + " length past the end", depth);
        if (i < known) {
            const PerComponent &c = kPerComponents[t.first + t.rootCount + i];
            Bits value{sub.data + sub.pos / 8, length};
            if (!Value(value, c.type, c.name, depth + 1)) return false;
        } else {
            m_value.clear();
            AppendHex(m_value, sub.data + sub.pos / 8, length);
            std::string &name = Label();
            name = "unknown extension addition ";
            AppendNumber(name, i + 1);
            Line(depth + 1, name, m_value);
        }
    }
    return true;
}

bool PerWalker::Choice(Bits &in, int32_t type, std::string_view label, int depth) {
    const PerType &t = kPerTypes[type];
    uint64_t ext = 0;
    if ((t.flags & kExtensible) && !in.Bit(ext)) return Fail(in, label, "CHOICE cut short", depth);
    const PerComponent *c = nullptr;
    Bits sub{nullptr, 0};
    Bits *from = &in;
    if (!ext) {
        // The index: the fewest bits that hold the last root alternative's (no module has
        // more than 255 root alternatives in one CHOICE).
        uint64_t index = 0;
        if (t.rootCount == 0 || !in.Read(BitsFor(t.rootCount - 1u), index))
            return Fail(in, label, "CHOICE index cut short", depth);
        if (index >= t.rootCount)
            return Fail(in, label, "CHOICE index " + std::to_string(index) + " beyond the last of " +
                                       std::to_string(t.rootCount) + " alternatives", depth);
        c = &kPerComponents[t.first + index];
    } else {
        uint64_t index = 0;
        size_t length = 0;
        bool fragment = false;
        std::string why;
        if (!in.NormallySmall(index)) return Fail(in, label, "CHOICE extension index cut short", depth);
        if (!in.Length(length, fragment) || !Units(in, length, fragment, 8, sub, length, why))
            return Fail(in, label, "CHOICE extension length past the end", depth);
        sub = Bits{sub.data + sub.pos / 8, length};
        if (index >= static_cast<uint64_t>(t.count - t.rootCount)) {
            m_chain = kChainDone;
            m_value = "unknown extension alternative ";
            AppendNumber(m_value, index + 1);
            m_value += " (";
            AppendHex(m_value, sub.data, length);
            m_value += ')';
            Line(depth, label, m_value);
            return true;
        }
        c = &kPerComponents[t.first + t.rootCount + index];
        from = &sub;
    }
    if (m_chain >= 0 && m_chain < 2) m_choices[m_chain++] = c->name;
    if (!m_watch.empty() && m_watched.empty() && label == m_watch) m_watched = c->name;
    if (c->type >= 0 && kPerTypes[c->type].kind == PerKind::Null) {
        m_chain = kChainDone;
        ++m_values;
        Line(depth, label, c->name);
        return true;
    }
    std::string &chosen = Label();
    Join(chosen, label, c->name);
    return Value(*from, c->type, chosen, depth);
}

bool PerWalker::SequenceOf(Bits &in, int32_t type, std::string_view label, int depth) {
    const PerType &t = kPerTypes[type];
    uint64_t ext = 0;
    if ((t.flags & kRangeExtensible) && !in.Bit(ext)) return Fail(in, label, "SEQUENCE OF cut short", depth);
    const bool bounded = !ext && (t.flags & kHasUpper) && t.upper < static_cast<int64_t>(Bits::k64K);
    const int64_t lower = (!ext && (t.flags & kHasLower)) ? t.lower : 0;
    size_t count = 0;
    if (bounded && lower == t.upper) {
        count = static_cast<size_t>(t.upper);
    } else if (bounded) {
        int64_t n = 0;
        if (!in.Constrained(lower, t.upper, n)) return Fail(in, label, "SEQUENCE OF count cut short", depth);
        count = static_cast<size_t>(n);
    } else {
        bool fragment = false;
        if (!in.Length(count, fragment)) return Fail(in, label, "SEQUENCE OF count cut short or not valid", depth);
        if (fragment) return FragmentedItems(in, t.element, count, label, depth);
    }
    m_value.assign(label);
    m_value += " (";
    AppendNumber(m_value, count);
    m_value += count == 1 ? " item)" : " items)";
    Heading(depth, m_value);
    return Items(in, t.element, 1, count, depth);
}

bool PerWalker::Items(Bits &in, int32_t element, size_t first, size_t count, int depth) {
    std::string &name = Label();
    for (size_t i = 0; i < count; ++i) {
        char text[24] = "[";
        char *end = std::to_chars(text + 1, text + sizeof text - 1, first + i).ptr;
        *end++ = ']';
        name.assign(text, end);
        if (!Value(in, element, name, depth + 1)) return false;
    }
    return true;
}

bool PerWalker::FragmentedItems(Bits &in, int32_t element, size_t first, std::string_view label, int depth) {
    // The count is known only after the last fragment: the items are written apart and
    // follow the heading that gives it.
    DecodedText items;
    DecodedText *out = m_out;
    m_out = &items;
    size_t total = 0, count = first;
    bool fragment = true;
    bool ok = true;
    std::string why;
    for (;;) {
        if (!Items(in, element, total + 1, count, depth)) {
            ok = false;
            break;
        }
        total += count;
        if (!fragment) break;
        if (!in.Length(count, fragment)) {
            why = "SEQUENCE OF count after a fragment cut short or not valid (" + std::to_string(total) + " items before it)";
            break;
        }
    }
    m_out = out;
    m_value.assign(label);
    m_value += " (";
    AppendNumber(m_value, total);
    m_value += total == 1 ? " item in fragments)" : " items in fragments)";
    Heading(depth, m_value);
    // What ended the fragments comes first: the items' lines may not all fit in the text.
    if (!why.empty()) Fail(in, label, why, depth);
    // The items' lines one by one, so that the text is cut where it would have been.
    std::string_view text = items.Text();
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        if (line.size() > 6 && line.substr(0, 3) == "!!!" && line.substr(line.size() - 3) == "!!!")
            m_out->Error(line.substr(3, line.size() - 6));
        else
            m_out->Line(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return ok && why.empty();
}

}  // namespace vexa::ip
