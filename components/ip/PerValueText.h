// The values of the PER walker as text: octets in hex, numbers, OBJECT IDENTIFIERs dotted,
// strings in quotes, each appended to a text that is kept from one value to the next.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vexa::ip {

// Two lower-case hex digits an octet.
void AppendHex(std::string &s, const uint8_t *data, size_t size);
std::string Hex(const uint8_t *data, size_t size);

template <typename N>
void AppendNumber(std::string &s, N value) {
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, value);
    s.append(digits, r.ptr);
}

// The arcs of an OBJECT IDENTIFIER's contents, dotted; false when the contents are malformed.
bool AppendOid(std::string &s, const uint8_t *data, size_t size);

// A string between quotes, made safe; NUL characters that pad it at the end are counted, not
// shown.
void AppendQuoted(std::string &s, std::string_view text);

// Octets in hex, and as text too when they are printable (product and version names).
void AppendHexAndText(std::string &s, const uint8_t *data, size_t size);

// A character of a string that is not indexed: itself below 128, else a backslash, "u" and
// its four hex digits.
void AppendCharacter(std::string &s, unsigned c);

// out = a, then ": ", then b, in one step.
void Join(std::string &out, std::string_view a, std::string_view b);

}  // namespace vexa::ip
