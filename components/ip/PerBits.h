// Reading the bits of an aligned PER encoding (X.691): fields of a few bits, octet alignment,
// constrained whole numbers, length determinants and normally small numbers. Every read is
// checked against the octets given; a read past the end returns false and moves nothing
// further.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace vexa::ip {

// Bits needed for the values 0..n.
inline int BitsFor(uint64_t n) { return n == 0 ? 0 : static_cast<int>(std::bit_width(n)); }

struct PerBits {
    static constexpr size_t k16K = 16384;
    static constexpr size_t k64K = 65536;

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
    // One bit (presence bits, extension bits, BOOLEAN).
    bool Bit(uint64_t &v) {
        if (pos >= size * 8) return false;
        v = (data[pos >> 3] >> (7 - (pos & 7))) & 1;
        ++pos;
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
    // A length determinant without an upper bound below 64K (X.691 10.9.3.5 to 10.9.3.8).
    // A length of 16K, 32K, 48K or 64K units is a fragment: more follow after its units, each
    // with a length determinant of its own, the last one below 16K (possibly 0). fragment
    // says so. False when the determinant is cut short or is not one of these forms.
    bool Length(size_t &length, bool &fragment) {
        fragment = false;
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
        const uint64_t m = b & 0x3F;
        if (m < 1 || m > 4) return false;
        length = m * k16K;
        fragment = true;
        return true;
    }
    // A length determinant where fragments are not expected (counts of a few octets).
    bool ShortLength(size_t &length) {
        bool fragment = false;
        return Length(length, fragment) && !fragment;
    }
    // A normally small non-negative whole number (X.691 10.6).
    bool NormallySmall(uint64_t &value) {
        uint64_t big = 0;
        if (!Bit(big)) return false;
        if (!big) return Read(6, value);
        size_t n = 0;
        if (!ShortLength(n) || n == 0 || n > 8) return false;
        return Read(static_cast<int>(n) * 8, value);
    }
};

}  // namespace vexa::ip
