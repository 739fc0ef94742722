// The decoded text of a message as the program shows it: parts separated by "||", each part
// one or more lines separated by newlines. A line the user must notice (something wrong in
// the message) is written between "!!!" marks, which the result view draws in red.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vexa::component {

class DecodedText {
public:
    // Starts a new part whose first line is title.
    void BeginPart(std::string_view title);
    // Adds a line to the current part (starts a part when there is none).
    void Line(std::string_view text);
    // Adds "name: value".
    void Field(std::string_view name, std::string_view value);
    // Adds an error line "!!!text!!!" and remembers that the message is wrong.
    void Error(std::string_view text);
    // Adds a line of indent blanks, label and, when value is not empty, ": " and value, put
    // in place in one step (the nested fields of a decoded value).
    void IndentedLine(size_t indent, std::string_view label, std::string_view value);

    bool HasErrors() const { return m_errors > 0; }
    int ErrorCount() const { return m_errors; }
    bool Empty() const { return m_text.empty(); }
    int PartCount() const { return m_parts; }
    const std::string &Text() const { return m_text; }
    std::string Take() { return std::move(m_text); }
    void Clear();
    void Reserve(size_t chars) { m_text.reserve(chars); }
    // Starts again with buffer's storage (its contents are dropped).
    void Adopt(std::string &&buffer) {
        Clear();
        m_text.swap(buffer);
        m_text.clear();
    }

    // Upper bound on the text of one message; lines beyond it are dropped (one marked line
    // says so), so that a hostile message cannot make the text grow without limit.
    static constexpr size_t kMaxChars = 64 * 1024;

private:
    void Append(std::string_view line);
    std::string m_text;
    int m_parts = 0;
    int m_errors = 0;
    bool m_inPart = false;
    bool m_truncated = false;
};

// Octets of an IA5 text (display, digits, keypad) made safe for a decoded line: printable
// characters stay, anything else and the characters the program reads as marks ("|", "~",
// a second "!" in a row, "\") are written as "\xNN".
std::string SafeText(const uint8_t *data, size_t size);
std::string SafeText(std::string_view text);
// Appends SafeText(data, size) to out.
void AppendSafeText(std::string &out, const uint8_t *data, size_t size);

}  // namespace vexa::component
