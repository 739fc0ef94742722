// Reading the contents of one information element octet by octet and writing its fields
// as lines of the decoded text.
#pragma once

#include "DecodedText.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vexa::isdn {

using component::DecodedText;

// One coded value of a field and its name as the standard writes it.
struct NamedValue {
    unsigned value;
    std::string_view name;
};
using ValueTable = std::span<const NamedValue>;

// The name of value in table; a view without characters (data() null) when there is none.
std::string_view FindName(ValueTable table, unsigned value);

// "B'0101": the low bits of value in binary.
std::string Binary(unsigned value, int bits);

// Facts about a message that its elements give and the message store keeps.
struct MessageFacts {
    int variant = 1;                // 1 Generic, 2 French, 3 German, 4 Australian
    bool hasCallingNumber = false;
    std::string callingNumber;      // digits of the Calling party number element
    unsigned messageType = 0;
};

class ElementReader {
public:
    ElementReader(const uint8_t *data, size_t size, DecodedText &out) : m_data(data), m_size(size), m_out(out) {}

    bool AtEnd() const { return m_pos >= m_size; }
    size_t Remaining() const { return m_pos < m_size ? m_size - m_pos : 0; }
    uint8_t Peek() const { return m_data[m_pos]; }

    // Reads the next octet. When the element has ended, writes an error line saying that
    // octet `what` is missing and returns false.
    bool Take(uint8_t &octet, std::string_view what);
    // Reads the next octet when there is one (an optional octet).
    bool TakeOptional(uint8_t &octet);
    // The octets not read yet (all of them are consumed).
    std::span<const uint8_t> TakeRest();

    // "name: <name of value>"; a value the table does not hold is an error line that
    // names it as reserved.
    void Named(std::string_view name, unsigned value, ValueTable table, int bits);
    // Like Named, but a value the table does not hold is shown without complaint (fields
    // whose other values are left to networks or users).
    void NamedOrValue(std::string_view name, unsigned value, ValueTable table, int bits);
    void Value(std::string_view name, std::string_view text) { m_out.Field(name, text); }
    void Number(std::string_view name, long long value, std::string_view unit = {});
    void Hex(std::string_view name, std::span<const uint8_t> octets);
    void Ia5(std::string_view name, std::span<const uint8_t> octets);
    void Error(std::string_view text) { m_out.Error(text); }
    void Line(std::string_view text) { m_out.Line(text); }

    // After the last octet of an extension group (bit 8 was 0 on `octet`), skips and shows
    // further octets of the group that this decoder does not know.
    void SkipExtensions(uint8_t octet, std::string_view group);
    // Shows octets left over after all fields as hex (not an error).
    void ShowRest(std::string_view name = "Further octets");

    DecodedText &Out() { return m_out; }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
    DecodedText &m_out;
};

// True when bit 8 of octet is 0: another octet of the same group follows.
inline bool Extends(uint8_t octet) { return (octet & 0x80) == 0; }

}  // namespace vexa::isdn
