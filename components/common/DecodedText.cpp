#include "DecodedText.h"

#include <algorithm>
#include <cstring>

namespace vexa::component {

void DecodedText::BeginPart(std::string_view title) {
    if (m_truncated) return;
    if (!m_text.empty()) m_text += "||";
    ++m_parts;
    m_inPart = false;
    Append(title);
}

void DecodedText::Line(std::string_view text) {
    if (m_truncated) return;
    if (m_parts == 0) {
        ++m_parts;
        m_inPart = false;
    }
    Append(text);
}

void DecodedText::Field(std::string_view name, std::string_view value) {
    if (m_truncated) return;
    if (m_parts == 0) {
        ++m_parts;
        m_inPart = false;
    }
    if (m_text.size() + name.size() + value.size() + 4 > kMaxChars) {
        std::string s(name);
        s += ": ";
        s += value;
        Append(s);  // writes the truncation line
        return;
    }
    // At most one growth of the text for the whole line.
    const size_t old = m_text.size();
    const size_t add = (m_inPart ? 1 : 0) + name.size() + 2 + value.size();
    if (m_text.capacity() < old + add) m_text.reserve(std::max(old + add, 2 * m_text.capacity()));
    // The line is put in place in one step: fields are most of a decoded text.
    m_text.resize(old + add);
    char *p = m_text.data() + old;
    if (m_inPart) *p++ = '\n';
    std::memcpy(p, name.data(), name.size());
    p += name.size();
    *p++ = ':';
    *p++ = ' ';
    if (!value.empty()) std::memcpy(p, value.data(), value.size());
    m_inPart = true;
}

void DecodedText::IndentedLine(size_t indent, std::string_view label, std::string_view value) {
    if (m_truncated) return;
    if (m_parts == 0) {
        ++m_parts;
        m_inPart = false;
    }
    const size_t length = indent + label.size() + (value.empty() ? 0 : 2 + value.size());
    if (m_text.size() + length + 2 > kMaxChars) {
        std::string s(indent, ' ');
        s += label;
        if (!value.empty()) {
            s += ": ";
            s += value;
        }
        Append(s);  // writes the truncation line
        return;
    }
    const size_t old = m_text.size();
    const size_t add = (m_inPart ? 1 : 0) + length;
    if (m_text.capacity() < old + add) m_text.reserve(std::max(old + add, 2 * m_text.capacity()));
    // Blanks first: they are the indentation, the rest is written over them.
    m_text.append(add, ' ');
    char *p = m_text.data() + old;
    if (m_inPart) *p++ = '\n';
    p += indent;
    std::memcpy(p, label.data(), label.size());
    p += label.size();
    if (!value.empty()) {
        *p++ = ':';
        *p++ = ' ';
        std::memcpy(p, value.data(), value.size());
    }
    m_inPart = true;
}

void DecodedText::Error(std::string_view text) {
    ++m_errors;
    std::string s = "!!!";
    s.append(text);
    s.append("!!!");
    Line(s);
}

void DecodedText::Clear() {
    m_text.clear();
    m_parts = 0;
    m_errors = 0;
    m_inPart = false;
    m_truncated = false;
}

void DecodedText::Append(std::string_view line) {
    if (m_text.size() + line.size() + 2 > kMaxChars) {
        m_truncated = true;
        ++m_errors;
        if (m_inPart) m_text += '\n';
        m_text += "!!!Decoded text too long: the rest of the message is not shown!!!";
        return;
    }
    if (m_inPart) m_text += '\n';
    m_text.append(line);
    m_inPart = true;
}

std::string SafeText(const uint8_t *data, size_t size) {
    std::string s;
    AppendSafeText(s, data, size);
    return s;
}

void AppendSafeText(std::string &s, const uint8_t *data, size_t size) {
    static const char digits[] = "0123456789ABCDEF";
    s.reserve(s.size() + size);
    for (size_t i = 0; i < size; ++i) {
        uint8_t c = data[i];
        bool escape = c < 0x20 || c >= 0x7F || c == '|' || c == '~' || c == '\\' ||
                      (c == '!' && i > 0 && data[i - 1] == '!') || (c == '%' && i > 0 && data[i - 1] == '%');
        if (escape) {
            s += "\\x";
            s += digits[c >> 4];
            s += digits[c & 15];
        } else {
            s += static_cast<char>(c);
        }
    }
}

std::string SafeText(std::string_view text) {
    return SafeText(reinterpret_cast<const uint8_t *>(text.data()), text.size());
}

}  // namespace vexa::component
