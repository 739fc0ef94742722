#include "ElementReader.h"

#include "HexText.h"

namespace vexa::isdn {

std::string_view FindName(ValueTable table, unsigned value) {
    for (const NamedValue &v : table)
        if (v.value == value) return v.name;
    return {};
}

std::string Binary(unsigned value, int bits) {
    std::string s = "B'";
    for (int b = bits - 1; b >= 0; --b) s += (value >> b) & 1 ? '1' : '0';
    return s;
}

bool ElementReader::Take(uint8_t &octet, std::string_view what) {
    if (m_pos >= m_size) {
        std::string s = "Element ends early: ";
        s.append(what);
        s.append(" missing");
        m_out.Error(s);
        return false;
    }
    octet = m_data[m_pos++];
    return true;
}

bool ElementReader::TakeOptional(uint8_t &octet) {
    if (m_pos >= m_size) return false;
    octet = m_data[m_pos++];
    return true;
}

std::span<const uint8_t> ElementReader::TakeRest() {
    std::span<const uint8_t> rest(m_data + m_pos, Remaining());
    m_pos = m_size;
    return rest;
}

void ElementReader::Named(std::string_view name, unsigned value, ValueTable table, int bits) {
    if (const std::string_view n = FindName(table, value); n.data()) {
        m_out.Field(name, n);
        return;
    }
    std::string s(name);
    s += ": reserved value ";
    s += Binary(value, bits);
    m_out.Error(s);
}

void ElementReader::NamedOrValue(std::string_view name, unsigned value, ValueTable table, int bits) {
    if (const std::string_view n = FindName(table, value); n.data()) {
        m_out.Field(name, n);
        return;
    }
    m_out.Field(name, Binary(value, bits));
}

void ElementReader::Number(std::string_view name, long long value, std::string_view unit) {
    std::string s = std::to_string(value);
    if (!unit.empty()) {
        s += ' ';
        s.append(unit);
    }
    m_out.Field(name, s);
}

void ElementReader::Hex(std::string_view name, std::span<const uint8_t> octets) {
    m_out.Field(name, octets.empty() ? std::string("(none)") : component::HexDump(octets.data(), octets.size()));
}

void ElementReader::Ia5(std::string_view name, std::span<const uint8_t> octets) {
    std::string s = "\"";
    s += component::SafeText(octets.data(), octets.size());
    s += '"';
    m_out.Field(name, s);
}

void ElementReader::SkipExtensions(uint8_t octet, std::string_view group) {
    if (!Extends(octet)) return;
    size_t start = m_pos;
    uint8_t o = 0;
    while (TakeOptional(o) && Extends(o)) {
    }
    if (m_pos > start) {
        std::string s = "Further octets of ";
        s.append(group);
        Hex(s, std::span<const uint8_t>(m_data + start, m_pos - start));
    }
}

void ElementReader::ShowRest(std::string_view name) {
    if (AtEnd()) return;
    Hex(name, TakeRest());
}

}  // namespace vexa::isdn
