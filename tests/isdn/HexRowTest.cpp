// The octets of DATA rows as the exchange writes them and as a damaged trace has them:
// what is kept, what is counted as a problem, and where the message's room ends.
#include "HexText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using vexa::component::AppendHexOctets;
using vexa::component::HexRowProblems;

namespace {

struct Row {
    const char *text;
    std::vector<uint8_t> octets;
    int tokens, oddDigits, badCharacters;
};

TEST(HexRows, OctetsAndProblemsOfWellFormedAndDamagedRows) {
    const Row rows[] = {
        {"08 02 00 01 05", {0x08, 0x02, 0x00, 0x01, 0x05}, 5, 0, 0},
        {"a1\tFf  0c", {0xA1, 0xFF, 0x0C}, 3, 0, 0},      // tabs, runs of blanks, lower case
        {"  7D  ", {0x7D}, 1, 0, 0},                        // blanks around the only octet
        {"0801 0203", {0x08, 0x01, 0x02, 0x03}, 2, 0, 0},  // two octets to a token
        {"08 0 02", {0x08, 0x02}, 3, 1, 0},                // a lone digit
        {"08 ABC", {0x08, 0xAB}, 2, 1, 0},                 // an odd digit at the end of a token
        {"08 XY 02", {0x08, 0x02}, 3, 0, 1},               // not hex at all
        {"08 0G 02", {0x08, 0x02}, 3, 1, 1},               // a digit, then a bad character
        {"1234Z5 66", {0x12, 0x34, 0x66}, 2, 0, 1},        // octets in front of the bad character
        {"", {}, 0, 0, 0},
    };
    for (const Row &row : rows) {
        std::vector<uint8_t> octets;
        HexRowProblems problems;
        EXPECT_EQ(AppendHexOctets(row.text, octets, problems, 65535), 0u) << row.text;
        EXPECT_EQ(octets, row.octets) << row.text;
        EXPECT_EQ(problems.tokens, row.tokens) << row.text;
        EXPECT_EQ(problems.oddDigits, row.oddDigits) << row.text;
        EXPECT_EQ(problems.badCharacters, row.badCharacters) << row.text;
    }
}

TEST(HexRows, RowsAppendUntilTheMessageIsFullAndTheRestIsCounted) {
    std::vector<uint8_t> octets;
    HexRowProblems problems;
    EXPECT_EQ(AppendHexOctets("01 02 03", octets, problems, 4), 0u);
    EXPECT_EQ(AppendHexOctets("04 0506 07", octets, problems, 4), 3u);
    EXPECT_EQ(octets, (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_FALSE(problems.any());
}

}  // namespace
