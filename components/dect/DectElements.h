// Field decoders of the DECT network layer information elements (EN 300 175-5, clause 7.6
// and 7.7). Each writes one field line per coded field into the current part of the decoded
// text, and an error line for anything wrong.
#pragma once

#include "DecodedText.h"
#include "ShortText.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace vexa::dect {

// The body of one element (the octets after its identifier and length) being read.
class ElementBody {
public:
    ElementBody(const uint8_t *data, size_t size, component::DecodedText &out) : m_data(data), m_size(size), m_out(out) {}

    size_t Size() const { return m_size; }
    const uint8_t *Data() const { return m_data; }
    uint8_t At(size_t i) const { return m_data[i]; }
    component::DecodedText &Out() { return m_out; }

    // True when octet i exists; otherwise an error line naming what is missing.
    bool Need(size_t i, const char *what);
    void Field(std::string_view name, std::string_view value) { m_out.Field(name, value); }
    void Error(std::string_view text) { m_out.Error(text); }
    // Octets from..end in hex, as one field, when there are any.
    void HexFrom(size_t from, std::string_view name);

    // The portable identity in short form, for the message's header line.
    ShortText identitySummary;

private:
    const uint8_t *m_data;
    size_t m_size;
    component::DecodedText &m_out;
};

// Decodes the body of variable-length element id (codeset 0). False when this decoder does
// not know the element (the caller shows its octets).
bool DecodeVariableElement(uint8_t id, ElementBody &body);

// Decodes the second octet of a double octet element (BASIC-SERVICE, RELEASE-REASON, ...).
void DecodeDoubleOctetElement(uint8_t id, uint8_t value, component::DecodedText &out);

}  // namespace vexa::dect
