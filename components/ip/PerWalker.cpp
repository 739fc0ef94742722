#include "PerWalker.h"

#include "HexText.h"
#include "PerSchema.h"

#include <bit>

namespace vexa::ip {

namespace {

constexpr size_t k64K = 65536;

// Bits needed for the values 0..n.
int BitsFor(uint64_t n) { return n == 0 ? 0 : static_cast<int>(std::bit_width(n)); }

std::string Hex(const uint8_t *data, size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string s;
    s.reserve(size * 2);
    for (size_t i = 0; i < size; ++i) {
        s += digits[data[i] >> 4];
        s += digits[data[i] & 15];
    }
    return s;
}

// The arcs of an OBJECT IDENTIFIER's contents, dotted; empty when the contents are malformed.
std::string DottedOid(const uint8_t *data, size_t size) {
    std::string s;
    uint64_t arc = 0;
    bool first = true;
    for (size_t i = 0; i < size; ++i) {
        if (arc >> 56) return {};
        arc = arc << 7 | (data[i] & 0x7F);
        if (data[i] & 0x80) continue;
        if (first) {
            uint64_t top = arc < 40 ? 0 : arc < 80 ? 1 : 2;
            s += std::to_string(top) + "." + std::to_string(arc - top * 40);
            first = false;
        } else {
            s += "." + std::to_string(arc);
        }
        arc = 0;
    }
    if (size == 0 || (data[size - 1] & 0x80)) return {};
    return s;
}

// A string between quotes; NUL characters that pad it at the end are counted, not shown.
std::string Quoted(std::string text) {
    size_t nul = 0;
    while (!text.empty() && text.back() == '\0') {
        text.pop_back();
        ++nul;
    }
    std::string s = "\"" + component::SafeText(text) + "\"";
    if (nul) s += " and " + std::to_string(nul) + (nul == 1 ? " NUL character" : " NUL characters");
    return s;
}

// Octets in hex, and as text too when they are printable (product and version names).
std::string HexAndText(const uint8_t *data, size_t size) {
    std::string s = Hex(data, size);
    size_t end = size;
    while (end > 0 && data[end - 1] == 0) --end;
    if (end < 2) return s;
    for (size_t i = 0; i < end; ++i)
        if (data[i] < 0x20 || data[i] >= 0x7F) return s;
    return s + " (" + Quoted(std::string(reinterpret_cast<const char *>(data), size)) + ")";
}

}  // namespace

struct PerWalker::Bits {
    const uint8_t *data;
    size_t size;
    size_t pos = 0;  // in bits

    size_t Left() const { return size * 8 - pos; }
    bool Read(int n, uint64_t &v) {
        v = 0;
        if (n < 0 || n > 64 || static_cast<size_t>(n) > Left()) return false;
        // A whole octet or the part of one that is left at a time.
        while (n > 0) {
            const int offset = static_cast<int>(pos & 7);
            const int available = 8 - offset;
            const int take = n < available ? n : available;
            const unsigned bits = (data[pos >> 3] >> (available - take)) & ((1u << take) - 1);
            v = v << take | bits;
            pos += static_cast<size_t>(take);
            n -= take;
        }
        return true;
    }
    void Align() { pos = (pos + 7) & ~static_cast<size_t>(7); }
    bool Octets(size_t n, const uint8_t *&p) {
        Align();
        if (n > Left() / 8) return false;
        p = data + pos / 8;
        pos += n * 8;
        return true;
    }
    // A constrained whole number of the range lower..upper (X.691 10.5.7, aligned variant).
    bool Constrained(int64_t lower, int64_t upper, int64_t &value) {
        uint64_t range = static_cast<uint64_t>(upper) - static_cast<uint64_t>(lower);  // range - 1
        uint64_t v = 0;
        if (range == 0) {
            value = lower;
            return true;
        }
        if (range < 255) {
            if (!Read(BitsFor(range), v)) return false;
        } else if (range == 255) {
            Align();
            if (!Read(8, v)) return false;
        } else if (range < k64K) {
            Align();
            if (!Read(16, v)) return false;
        } else {
            int octets = (BitsFor(range) + 7) / 8;
            uint64_t n = 0;
            if (!Read(BitsFor(octets - 1), n)) return false;
            Align();
            if (!Read(static_cast<int>(n + 1) * 8, v)) return false;
        }
        value = static_cast<int64_t>(static_cast<uint64_t>(lower) + v);
        return static_cast<uint64_t>(value - lower) <= range;
    }
    // A length determinant without an upper bound below 64K. Fragmented lengths (16K and
    // more in pieces) are reported as false with fragmented set.
    bool Length(size_t &length, bool &fragmented) {
        fragmented = false;
        uint64_t b = 0, c = 0;
        Align();
        if (!Read(8, b)) return false;
        if (!(b & 0x80)) {
            length = b;
            return true;
        }
        if ((b & 0xC0) == 0x80) {
            if (!Read(8, c)) return false;
            length = (b & 0x3F) << 8 | c;
            return true;
        }
        fragmented = true;
        return false;
    }
    // A normally small non-negative whole number (X.691 10.6).
    bool NormallySmall(uint64_t &value) {
        uint64_t big = 0;
        if (!Read(1, big)) return false;
        if (!big) return Read(6, value);
        size_t n = 0;
        bool fragmented = false;
        if (!Length(n, fragmented) || n == 0 || n > 8) return false;
        return Read(static_cast<int>(n) * 8, value);
    }
};

void PerWalker::Line(int depth, std::string_view label, std::string_view value) {
    m_line.assign(static_cast<size_t>(2 * (depth + m_baseIndent)), ' ');
    m_line += label;
    if (!value.empty()) {
        m_line += ": ";
        m_line += value;
    }
    m_out.Line(m_line);
}

void PerWalker::Heading(int depth, std::string_view label) { Line(depth, label, {}); }

bool PerWalker::Fail(Bits &in, std::string_view label, std::string_view what, int /*depth*/) {
    if (m_failed) return false;
    m_failed = true;
    std::string text(label);
    text += ": ";
    text += what;
    // Where in the whole value: open types and contained encodings are read from their own
    // stretch of the same octets.
    const size_t at = (in.data >= m_top && in.data <= m_top + m_topSize ? static_cast<size_t>(in.data - m_top) : 0) + in.pos / 8;
    if (at >= m_topSize)
        text += " (at the end of the " + std::to_string(m_topSize) + " octets)";
    else
        text += " (at octet " + std::to_string(at + 1) + " of " + std::to_string(m_topSize) + ")";
    m_out.Error(text);
    return false;
}

bool PerWalker::Decode(int32_t type, const uint8_t *data, size_t size, std::string_view label) {
    Bits in{data, size};
    m_top = data;
    m_topSize = size;
    m_failed = false;
    m_chain = 0;
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
        if (!in.Read(1, v)) return Fail(in, label, "BOOLEAN cut short", depth);
        Line(depth, label, v ? "TRUE" : "FALSE");
        return true;
    }
    case PerKind::Integer: {
        long long v = 0;
        std::string text;
        if (!Integer(in, type, v, text)) return Fail(in, label, text, depth);
        Line(depth, label, text);
        return true;
    }
    case PerKind::Enumerated: {
        uint64_t ext = 0;
        if ((t.flags & kExtensible) && !in.Read(1, ext)) return Fail(in, label, "ENUMERATED cut short", depth);
        if (ext) {
            uint64_t n = 0;
            if (!in.NormallySmall(n)) return Fail(in, label, "ENUMERATED extension value cut short", depth);
            if (n < static_cast<uint64_t>(t.count - t.rootCount))
                Line(depth, label, kPerNames[t.first + t.rootCount + n]);
            else
                Line(depth, label, "unknown extension value " + std::to_string(n));
            return true;
        }
        int64_t v = 0;
        if (t.rootCount == 0 || !in.Constrained(0, t.rootCount - 1, v))
            return Fail(in, label, "ENUMERATED cut short", depth);
        Line(depth, label, kPerNames[t.first + v]);
        return true;
    }
    case PerKind::BitString: {
        std::string text;
        if (!BitString(in, type, text)) return Fail(in, label, text, depth);
        Line(depth, label, text);
        return true;
    }
    case PerKind::OctetString: {
        const uint8_t *p = nullptr;
        size_t n = 0;
        if (!OctetString(in, type, p, n)) return Fail(in, label, "OCTET STRING length past the end", depth);
        if (t.element >= 0) return Contained(t.element, p, n, label, depth);
        Line(depth, label, HexAndText(p, n));
        return true;
    }
    case PerKind::CharString: {
        std::string text;
        if (!CharString(in, type, text)) return Fail(in, label, text, depth);
        Line(depth, label, Quoted(text));
        return true;
    }
    case PerKind::GeneralString:
    case PerKind::ObjectId:
    case PerKind::OpenType: {
        size_t n = 0;
        bool fragmented = false;
        const uint8_t *p = nullptr;
        if (!in.Length(n, fragmented))
            return Fail(in, label, fragmented ? "fragmented length not supported" : "length cut short", depth);
        if (!in.Octets(n, p)) return Fail(in, label, "length " + std::to_string(n) + " past the end", depth);
        if (t.kind == PerKind::GeneralString) {
            Line(depth, label, "\"" + component::SafeText(p, n) + "\"");
        } else if (t.kind == PerKind::ObjectId) {
            std::string oid = DottedOid(p, n);
            if (oid.empty()) return Fail(in, label, n ? "malformed OBJECT IDENTIFIER " + Hex(p, n) : "OBJECT IDENTIFIER of no octets", depth);
            Line(depth, label, oid);
        } else if (t.element >= 0) {
            return Contained(t.element, p, n, label, depth);
        } else {
            Line(depth, label, Hex(p, n));
        }
        return true;
    }
    case PerKind::Sequence: return Sequence(in, type, label, depth);
    case PerKind::Choice: return Choice(in, type, label, depth);
    case PerKind::SequenceOf: return SequenceOf(in, type, label, depth);
    }
    return Fail(in, label, "type not known", depth);
}

bool PerWalker::Contained(int32_t type, const uint8_t *octets, size_t count, std::string_view label, int depth) {
    // One line names the octets and the type they hold; the value follows on it.
    const std::string_view name = kPerTypes[type].name;
    std::string heading(label);
    heading += " (" + std::to_string(count) + (count == 1 ? " octet" : " octets");
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

bool PerWalker::Integer(Bits &in, int32_t type, long long &value, std::string &text) {
    const PerType &t = kPerTypes[type];
    uint64_t ext = 0;
    if ((t.flags & kRangeExtensible) && !in.Read(1, ext)) {
        text = "INTEGER cut short";
        return false;
    }
    if (!ext && (t.flags & kHasLower) && (t.flags & kHasUpper)) {
        int64_t v = 0;
        if (t.upper < t.lower || !in.Constrained(t.lower, t.upper, v)) {
            text = "INTEGER cut short or out of range";
            return false;
        }
        value = v;
        text = std::to_string(v);
        return true;
    }
    size_t n = 0;
    bool fragmented = false;
    const uint8_t *p = nullptr;
    if (!in.Length(n, fragmented) || !in.Octets(n, p) || n == 0) {
        text = "INTEGER length wrong or past the end";
        return false;
    }
    if (n > 8) {
        text = "0x" + Hex(p, n);
        return true;
    }
    const bool semi = !ext && (t.flags & kHasLower);
    uint64_t u = 0;
    for (size_t i = 0; i < n; ++i) u = u << 8 | p[i];
    if (semi) {
        value = static_cast<long long>(u) + t.lower;
    } else {
        if (n < 8 && (p[0] & 0x80)) u |= ~uint64_t{0} << (8 * n);
        value = static_cast<long long>(u);
    }
    text = std::to_string(value);
    return true;
}

bool PerWalker::OctetString(Bits &in, int32_t type, const uint8_t *&octets, size_t &count) {
    const PerType &t = kPerTypes[type];
    uint64_t ext = 0;
    if ((t.flags & kRangeExtensible) && !in.Read(1, ext)) return false;
    const bool bounded = !ext && (t.flags & kHasUpper) && t.upper < static_cast<int64_t>(k64K);
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
    } else {
        bool fragmented = false;
        if (!in.Length(count, fragmented)) return false;
    }
    return in.Octets(count, octets);
}

bool PerWalker::BitString(Bits &in, int32_t type, std::string &text) {
    const PerType &t = kPerTypes[type];
    uint64_t ext = 0;
    text = "BIT STRING cut short";
    if ((t.flags & kRangeExtensible) && !in.Read(1, ext)) return false;
    const bool bounded = !ext && (t.flags & kHasUpper) && t.upper < static_cast<int64_t>(k64K);
    const int64_t lower = (!ext && (t.flags & kHasLower)) ? t.lower : 0;
    size_t count = 0;
    if (bounded && lower == t.upper) {
        count = static_cast<size_t>(t.upper);
        if (count > 16) in.Align();
    } else {
        if (bounded) {
            int64_t n = 0;
            if (!in.Constrained(lower, t.upper, n)) return false;
            count = static_cast<size_t>(n);
        } else {
            bool fragmented = false;
            if (!in.Length(count, fragmented)) return false;
        }
        in.Align();
    }
    if (count > in.Left()) {
        text = "BIT STRING of " + std::to_string(count) + " bits past the end";
        return false;
    }
    if (count <= 32) {
        text = "'";
        for (size_t i = 0; i < count; ++i) {
            uint64_t b = 0;
            in.Read(1, b);
            text += b ? '1' : '0';
        }
        text += "'B";
        return true;
    }
    const uint8_t *p = in.data + in.pos / 8;
    text = Hex(p, (count + 7) / 8) + " (" + std::to_string(count) + " bits)";
    in.pos += count;
    return true;
}

bool PerWalker::CharString(Bits &in, int32_t type, std::string &text) {
    const PerType &t = kPerTypes[type];
    uint64_t ext = 0;
    if ((t.flags & kRangeExtensible) && !in.Read(1, ext)) {
        text = "string cut short";
        return false;
    }
    const int b = t.charBits;
    const bool bounded = !ext && (t.flags & kHasUpper) && t.upper < static_cast<int64_t>(k64K);
    const int64_t lower = (!ext && (t.flags & kHasLower)) ? t.lower : 0;
    size_t count = 0;
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
            bool fragmented = false;
            if (!in.Length(count, fragmented)) {
                text = "string length cut short";
                return false;
            }
        }
        // The characters of a string whose length varies are aligned once the largest
        // string fills sixteen bits (as the widely used analysers read it, too).
        if (!bounded || t.upper * b >= 16) in.Align();
    }
    if (count > in.Left() / static_cast<size_t>(b)) {
        text = "string of " + std::to_string(count) + " characters past the end";
        return false;
    }
    const bool indexed = t.flags & kIndexedAlphabet;
    text.clear();
    if (b == 8 && !indexed && in.pos % 8 == 0) {
        // Octets as they stand (IA5String, PrintableString in the aligned variant).
        text.assign(reinterpret_cast<const char *>(in.data + in.pos / 8), count);
        in.pos += count * 8;
        return true;
    }
    text.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        uint64_t c = 0;
        in.Read(b, c);
        if (indexed) {
            if (c >= t.rootCount) {
                text = "character index " + std::to_string(c) + " outside the permitted alphabet";
                return false;
            }
            text += kPerAlphabets[t.first + c];
        } else if (c < 0x80) {
            text += static_cast<char>(c);
        } else {
            static const char digits[] = "0123456789ABCDEF";
            text += "\\u";
            for (int s = 12; s >= 0; s -= 4) text += digits[(c >> s) & 15];
        }
    }
    return true;
}

bool PerWalker::Sequence(Bits &in, int32_t type, std::string_view label, int depth) {
    const PerType &t = kPerTypes[type];
    uint64_t ext = 0;
    if ((t.flags & kExtensible) && !in.Read(1, ext)) return Fail(in, label, "SEQUENCE cut short", depth);
    if (t.flags & kIpAddress) {
        // An IPv4 address and a port: four octets, then a 16-bit number.
        const uint8_t *p = nullptr;
        uint64_t port = 0;
        if (!in.Octets(4, p) || !in.Read(16, port)) return Fail(in, label, "address cut short", depth);
        Line(depth, label, std::to_string(p[0]) + "." + std::to_string(p[1]) + "." + std::to_string(p[2]) + "." +
                               std::to_string(p[3]) + ":" + std::to_string(port));
    } else {
        Heading(depth, label);
        uint64_t present = 0;
        int optionals = 0;
        for (uint32_t i = 0; i < t.rootCount; ++i)
            if (kPerComponents[t.first + i].flags & kOptional) ++optionals;
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
    if (!in.Read(1, big)) return Fail(in, label, "extension bit map cut short", depth);
    if (!big) {
        if (!in.Read(6, n)) return Fail(in, label, "extension bit map cut short", depth);
        ++n;
    } else {
        size_t length = 0;
        bool fragmented = false;
        if (!in.Length(length, fragmented) || length == 0) return Fail(in, label, "extension bit map length wrong", depth);
        n = length;
    }
    if (n > in.Left()) return Fail(in, label, "extension bit map of " + std::to_string(n) + " bits past the end", depth);
    const size_t mapStart = in.pos;
    in.pos += n;
    const uint32_t known = static_cast<uint32_t>(t.count - t.rootCount);
    for (uint64_t i = 0; i < n; ++i) {
        if (!((in.data[(mapStart + i) >> 3] >> (7 - ((mapStart + i) & 7))) & 1)) continue;
        size_t length = 0;
        bool fragmented = false;
        const uint8_t *p = nullptr;
        if (!in.Length(length, fragmented) || !in.Octets(length, p))
            return Fail(in, label, "extension addition " + std::to_string(i + 1) + " length past the end", depth);
        if (i < known) {
            const PerComponent &c = kPerComponents[t.first + t.rootCount + i];
            Bits sub{p, length};
            if (!Value(sub, c.type, c.name, depth + 1)) return false;
        } else {
            Line(depth + 1, "unknown extension addition " + std::to_string(i + 1), Hex(p, length));
        }
    }
    return true;
}

bool PerWalker::Choice(Bits &in, int32_t type, std::string_view label, int depth) {
    const PerType &t = kPerTypes[type];
    uint64_t ext = 0;
    if ((t.flags & kExtensible) && !in.Read(1, ext)) return Fail(in, label, "CHOICE cut short", depth);
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
        bool fragmented = false;
        const uint8_t *p = nullptr;
        if (!in.NormallySmall(index)) return Fail(in, label, "CHOICE extension index cut short", depth);
        if (!in.Length(length, fragmented) || !in.Octets(length, p))
            return Fail(in, label, "CHOICE extension length past the end", depth);
        if (index >= static_cast<uint64_t>(t.count - t.rootCount)) {
            m_chain = kChainDone;
            Line(depth, label, "unknown extension alternative " + std::to_string(index + 1) + " (" + Hex(p, length) + ")");
            return true;
        }
        c = &kPerComponents[t.first + t.rootCount + index];
        sub = Bits{p, length};
        from = &sub;
    }
    if (m_chain >= 0 && m_chain < 2) m_choices[m_chain++] = c->name;
    if (!m_watch.empty() && m_watched.empty() && label == m_watch) m_watched = c->name;
    std::string chosen(label);
    chosen += ": ";
    chosen += c->name;
    if (c->type >= 0 && kPerTypes[c->type].kind == PerKind::Null) {
        m_chain = kChainDone;
        ++m_values;
        Line(depth, label, c->name);
        return true;
    }
    return Value(*from, c->type, chosen, depth);
}

bool PerWalker::SequenceOf(Bits &in, int32_t type, std::string_view label, int depth) {
    const PerType &t = kPerTypes[type];
    uint64_t ext = 0;
    if ((t.flags & kRangeExtensible) && !in.Read(1, ext)) return Fail(in, label, "SEQUENCE OF cut short", depth);
    const bool bounded = !ext && (t.flags & kHasUpper) && t.upper < static_cast<int64_t>(k64K);
    const int64_t lower = (!ext && (t.flags & kHasLower)) ? t.lower : 0;
    size_t count = 0;
    if (bounded && lower == t.upper) {
        count = static_cast<size_t>(t.upper);
    } else if (bounded) {
        int64_t n = 0;
        if (!in.Constrained(lower, t.upper, n)) return Fail(in, label, "SEQUENCE OF count cut short", depth);
        count = static_cast<size_t>(n);
    } else {
        bool fragmented = false;
        if (!in.Length(count, fragmented))
            return Fail(in, label, fragmented ? "fragmented count not supported" : "SEQUENCE OF count cut short", depth);
    }
    Heading(depth, std::string(label) + " (" + std::to_string(count) + (count == 1 ? " item)" : " items)"));
    for (size_t i = 0; i < count; ++i) {
        if (!Value(in, t.element, "[" + std::to_string(i + 1) + "]", depth + 1)) return false;
    }
    return true;
}

}  // namespace vexa::ip
