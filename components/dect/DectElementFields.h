// The field writers the element decoders share (a coded value by its name, the named bits
// of a flag octet, the octet groups of an element), and the decoders of the element
// families that have files of their own. Used only inside the element decoders.
#pragma once

#include "DectElements.h"
#include "DectTables.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace vexa::dect::fields {

// "Name" of a coded value, or an error line for a value the standard reserves.
void Coded(ElementBody &b, std::string_view field, std::span<const ValueName> table, unsigned value);
// Like Coded, for tables this decoder does not hold whole: an unlisted value is shown, not an error.
void Listed(ElementBody &b, std::string_view field, std::span<const ValueName> table, unsigned value);
// The extension bit (bit 8) of an octet that must end its group.
void LastOfGroup(ElementBody &b, size_t i, const char *octet);

// One bit (or a few) of a flag octet and what it says when set.
struct Flag {
    uint8_t mask;
    const char *name;
};
// The names of the flags set in octet, separated by commas; "none" when no flag is set.
void Flags(ElementBody &b, std::string_view field, std::span<const Flag> flags, uint8_t octet);

// The octet groups of an element from octet `from` on, each ending at an octet whose bit 8
// is 1: fn(group, first, last) for each, groups counted from 0. Returns where the last ended.
template <class Fn>
size_t Groups(ElementBody &b, size_t from, Fn fn) {
    size_t i = from;
    int group = 0;
    while (i < b.Size()) {
        size_t end = i;
        while (end < b.Size() && !(b.At(end) & 0x80)) ++end;
        if (end == b.Size()) {
            b.Error("Octet group without a last octet (extension bit 1)");
            end = b.Size() - 1;
        }
        fn(group++, i, end);
        i = end + 1;
    }
    return i;
}

}  // namespace vexa::dect::fields

namespace vexa::dect {

// TERMINAL-CAPABILITY (DectTerminalCapability.cpp).
void DecodeTerminalCapability(ElementBody &b);

}  // namespace vexa::dect
