// Builds the lines of a scripted component's script.
#pragma once

#include <initializer_list>
#include <string>

namespace vexa::test {

inline std::string Escape(const std::string &s) {
    std::string out;
    for (char c : s) {
        if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c == '\\') out += "\\\\";
        else out += c;
    }
    return out;
}

// "parse kind completion status [index]"
inline std::string Parse(int kind, int completion = 0, int status = 0, int index = -1) {
    std::string s = "parse\t" + std::to_string(kind) + "\t" + std::to_string(completion) + "\t" + std::to_string(status);
    if (index >= 0) s += "\t" + std::to_string(index);
    return s + "\n";
}

// "message index seq status2 valid strings..."
inline std::string Message(int index, int seq, int status2, bool valid, std::initializer_list<std::string> texts) {
    std::string s = "message\t" + std::to_string(index) + "\t" + std::to_string(seq) + "\t" + std::to_string(status2) +
                    "\t" + (valid ? "1" : "0");
    for (const std::string &t : texts) s += "\t" + Escape(t);
    return s + "\n";
}

inline std::string Entry(std::initializer_list<std::string> fields) {
    std::string s;
    for (const std::string &f : fields) s += (s.empty() ? "" : "\t") + Escape(f);
    return s + "\n";
}

}  // namespace vexa::test
