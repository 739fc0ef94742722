// Prints what VexaParser makes of a trace file, the way the interpretation shows it:
// for each completed signal the header values and the decoded parts. A developer's tool
// for checking samples; also used by the tests' trace runs.
#include "ParserClient.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

using namespace vexa::isdn::test;

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: isdn_dump TRACE [VARIANT 1-4] [COMPONENT.so]\n");
        return 2;
    }
    std::ifstream f(argv[1], std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    ParserClient client(argc > 3 ? argv[3] : ComponentPath());
    if (!client.Loaded()) return 1;
    if (argc > 2) client.SetProtocolVariant(std::atoi(argv[2]));
    bool pending = false;
    for (const Completion &c : client.Run(ss.str(), &pending)) {
        std::cout << ">>>> status " << c.lineStatus << " completion " << c.completion << " index " << c.index
                  << " seq " << c.sequence << " count " << c.count << " CR " << c.callReference << "\n";
        for (const MessageView &m : c.messages) {
            std::cout << m.direction << " | " << m.signalName << " | " << m.messageName << " | " << m.time << " | "
                      << m.originator << " | " << m.destination << " | valid " << m.valid << " | " << m.discriminator
                      << "\n";
            std::string text;
            for (size_t p = 0; p < m.text.size(); ++p) {
                if (m.text.compare(p, 2, "||") == 0) {
                    text += '\n';
                    ++p;
                } else {
                    text += m.text[p];
                }
            }
            std::istringstream lines(text);
            std::string line;
            while (std::getline(lines, line)) std::cout << "      " << line << "\n";
        }
    }
    if (pending) std::cout << "PENDING -10\n";
    return 0;
}
