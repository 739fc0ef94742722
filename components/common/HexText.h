// Hex helpers shared by the parser components: reading the octets of a DATA row and
// writing octets the way the exchange documentation writes them ("H'0A").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::component {

// What went wrong while reading the hex octets of one DATA row.
struct HexRowProblems {
    int oddDigits = 0;      // tokens with an odd number of hex digits
    int badCharacters = 0;  // characters that are neither hex digits nor blanks
    int tokens = 0;         // octet tokens read (well formed or not)
    bool any() const { return oddDigits || badCharacters; }
};

// Appends the octets written in text ("08 02 00 01 ...") to out. Tokens are separated by
// blanks or tabs; a token of two hex digits is one octet, a longer token of an even number
// of digits is read as several octets. A token with an odd number of digits, or any
// character that is not a hex digit, is reported in problems; the good octets in front of a
// bad character are kept. At most maxOctets octets are appended in total (out.size() is
// never grown beyond it); the number of octets that did not fit is returned.
size_t AppendHexOctets(std::string_view text, std::vector<uint8_t> &out, HexRowProblems &problems,
                       size_t maxOctets);

// "H'0A": H, apostrophe and two capital hex digits.
std::string HexByte(uint8_t value);

// Appends "H'0A" to out.
void AppendHexByte(std::string &out, uint8_t value);

// The octets as two capital hex digits each, separated by one blank ("08 02 00 01").
std::string HexDump(const uint8_t *data, size_t size);

// The octets as "H'81||H'82", joined by sep.
std::string HexByteList(const uint8_t *data, size_t size, std::string_view sep);

// Reads octets back from a text written as "H'81||H'82", "81  82", "8182" or the like:
// every pair of hex digits is one octet; "H'" prefixes, blanks and "|" are skipped.
// Returns false when the text holds anything else or an odd number of digits.
bool ParseLooseHex(std::string_view text, std::vector<uint8_t> &out);

}  // namespace vexa::component
