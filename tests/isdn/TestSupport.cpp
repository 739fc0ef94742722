#include "TestSupport.h"

#include <sstream>

namespace vexa::isdn::test {

std::string PartsAsLines(const std::string &text) {
    std::string t;
    t.reserve(text.size());
    for (size_t p = 0; p < text.size(); ++p) {
        if (text.compare(p, 2, "||") == 0) {
            t += '\n';
            ++p;
        } else {
            t += text[p];
        }
    }
    return t;
}

Decoded DecodeHex(const std::string &hex, int variant) {
    ParserClient client;
    Decoded d;
    if (!client.Loaded()) return d;
    client.SetProtocolVariant(variant);
    std::string trace = Signal("09.41.07.25", 42, "SWHW", "DLRDATALONG", "001-0-02-01", hex) + "END OF TRACE\n";
    auto completions = client.Run(trace);
    d.completions = static_cast<int>(completions.size());
    if (completions.empty() || completions[0].messages.empty()) return d;
    d.status = completions[0].lineStatus;
    d.message = completions[0].messages[0];
    d.callReference = completions[0].callReference;
    return d;
}

std::vector<std::string> Parts(const std::string &text) {
    std::vector<std::string> parts;
    size_t pos = 0;
    while (true) {
        size_t sep = text.find("||", pos);
        parts.push_back(text.substr(pos, sep == std::string::npos ? std::string::npos : sep - pos));
        if (sep == std::string::npos) break;
        pos = sep + 2;
    }
    return parts;
}

std::string Part(const std::string &text, const std::string &title) {
    for (const std::string &p : Parts(text))
        if (p.substr(0, p.find('\n')) == title) return p;
    return "";
}

bool HasLine(const std::string &text, const std::string &line) {
    std::istringstream in(PartsAsLines(text));
    std::string l;
    while (std::getline(in, l))
        if (l == line) return true;
    return false;
}

::testing::AssertionResult HasLines(const std::string &text, std::initializer_list<std::string> lines) {
    std::string missing;
    for (const std::string &line : lines)
        if (!HasLine(text, line)) missing += "\n  " + line;
    if (missing.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "missing:" << missing << "\nin:\n" << PartsAsLines(text);
}

int ErrorLines(const std::string &text) {
    int n = 0;
    std::string t = text;
    for (char &c : t)
        if (c == '|') c = '\n';
    std::istringstream in(t);
    std::string l;
    while (std::getline(in, l))
        if (l.rfind("!!!", 0) == 0) ++n;
    return n;
}

}  // namespace vexa::isdn::test
