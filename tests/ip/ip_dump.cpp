// Decodes H.323 messages given in hex and prints the name, the valid flag and the decoded
// text: a tool for comparing the decoder with other analysers while working on it.
//   ip_dump ras|h225cs|h245 HEX...
#include "H323Decoder.h"

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: ip_dump ras|h225cs|h245 HEX...\n");
        return 2;
    }
    const std::string kind = argv[1];
    const vexa::ip::H323Protocol p = kind == "ras"      ? vexa::ip::H323Protocol::Ras
                                     : kind == "h225cs" ? vexa::ip::H323Protocol::CallSignalling
                                                        : vexa::ip::H323Protocol::H245;
    for (int a = 2; a < argc; ++a) {
        std::vector<uint8_t> octets;
        int high = -1;
        for (const char *c = argv[a]; *c; ++c) {
            const int v = std::isdigit(static_cast<unsigned char>(*c)) ? *c - '0'
                          : std::isxdigit(static_cast<unsigned char>(*c)) ? (std::tolower(*c) - 'a' + 10)
                                                                         : -1;
            if (v < 0) continue;
            if (high < 0) {
                high = v;
            } else {
                octets.push_back(static_cast<uint8_t>(high << 4 | v));
                high = -1;
            }
        }
        const vexa::ip::H323Message m = vexa::ip::H323Decoder::Decode(p, octets.data(), octets.size());
        // Parts on lines of their own.
        std::string text;
        for (size_t i = 0; i < m.text.size(); ++i) {
            if (m.text.compare(i, 2, "||") == 0) {
                text += '\n';
                ++i;
            } else {
                text += m.text[i];
            }
        }
        std::printf("=== %s%s%s%s\n%s\n", m.name.c_str(), m.body.empty() ? "" : " / ", m.body.c_str(),
                    m.valid ? "" : " (INVALID)", text.c_str());
    }
    return 0;
}
