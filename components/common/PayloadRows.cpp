#include "PayloadRows.h"

#include "DecodedText.h"
#include "HexText.h"
#include "TraceLine.h"

namespace vexa::component {

namespace {

// The row's text as quoted in a problem line: safe characters, at most 80 of them.
std::string Quoted(std::string_view text) {
    text = TrimBlanks(text);
    return "\"" + SafeText(text.substr(0, std::min<size_t>(text.size(), 80))) + "\"";
}

}  // namespace

void AddProblem(std::vector<std::string> &list, std::string problem, size_t limit) {
    if (list.size() < limit)
        list.push_back(std::move(problem));
    else if (list.size() == limit)
        list.push_back("Further problems not listed");
}

size_t ReadDataRow(std::string_view text, std::vector<uint8_t> &octets, size_t maxOctets,
                   std::vector<std::string> &problems, size_t limit) {
    HexRowProblems found;
    const size_t dropped = AppendHexOctets(text, octets, found, maxOctets);
    if (found.badCharacters)
        AddProblem(problems, "DATA row with characters that are not hex digits: " + Quoted(text), limit);
    if (found.oddDigits) AddProblem(problems, "DATA row with an odd number of hex digits: " + Quoted(text), limit);
    if (found.tokens == 0) AddProblem(problems, "DATA row without octets", limit);
    return dropped;
}

void ReadLenRow(std::string_view text, size_t carried, std::vector<std::string> &problems, size_t limit) {
    long long len = 0;
    std::string_view t = TrimBlanks(text);
    if (!ReadDecimal(t, 100000000, len) || !TrimBlanks(t).empty())
        AddProblem(problems, "LEN row without a valid number: " + Quoted(text), limit);
    else if (static_cast<size_t>(len) > carried)
        AddProblem(problems, "Fewer octets than LEN says: " + std::to_string(carried) + " DATA octets, LEN " +
                                 std::to_string(len), limit);
    else if (static_cast<size_t>(len) < carried)
        AddProblem(problems, "More octets than LEN says: " + std::to_string(carried) + " DATA octets, LEN " +
                                 std::to_string(len), limit);
}

}  // namespace vexa::component
