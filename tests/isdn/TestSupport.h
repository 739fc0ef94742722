// Helpers shared by the VexaParser tests.
#pragma once

#include "ParserClient.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace vexa::isdn::test {

// One message decoded through the component: the completing line's status and what
// GetSequenceMessage and GetCallReference answered.
struct Decoded {
    int status = -999;
    MessageView message;
    std::string callReference;
    int completions = 0;
};

// Puts hex (Q.931 octets) into one DLRDATALONG signal and runs it through a fresh component.
Decoded DecodeHex(const std::string &hex, int variant = 1);

// The text with every "||" made a line break.
std::string PartsAsLines(const std::string &text);

// The parts of a decoded text (split at "||").
std::vector<std::string> Parts(const std::string &text);

// The part whose first line is title, or "" when there is none.
std::string Part(const std::string &text, const std::string &title);

// True when text holds line as one whole line (parts count as lines of their own).
bool HasLine(const std::string &text, const std::string &line);

// Success when text holds every one of lines as a whole line; otherwise a failure that
// names the lines missing and shows the text.
::testing::AssertionResult HasLines(const std::string &text, std::initializer_list<std::string> lines);

// Number of "!!!"-marked lines.
int ErrorLines(const std::string &text);

}  // namespace vexa::isdn::test
