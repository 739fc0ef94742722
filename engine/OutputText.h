// Text operations of the interpretation output: naming the output file, cutting decoded
// texts into parts and making call reference values readable.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

// A new output file name in tempFolder (which ends with "/"), made from the trace path:
// the base name without its extension (cut to kMostOutputBase bytes, so that the name
// stays within the 255 bytes a file name may have, whatever the trace's name), a random
// number and ".out", chosen so that no file of that name exists yet.
// TempOutputs::CreateOutput makes the file.
std::string MakeOutputName(const std::string &tempFolder, const std::string &tracePath);
inline constexpr size_t kMostOutputBase = 200;
// The name cut to at most `most` bytes, never inside a character of several bytes.
std::string ShortenedName(std::string_view name, size_t most);

// Calls part(piece) for each part of a decoded text, the pieces between the "||"
// separators, in order.
template <class Part>
void ForEachPart(std::string_view text, Part &&part) {
    size_t start = 0;
    for (;;) {
        const size_t sep = text.find("||", start);
        if (sep == std::string_view::npos) {
            part(text.substr(start));
            return;
        }
        part(text.substr(start, sep - start));
        start = sep + 2;
    }
}

// The parts of a decoded text, as ForEachPart finds them.
std::vector<std::string_view> SplitParts(std::string_view text);

// A call reference value such as "H'01||H'82" as the header shows it: "01  82".
std::string NormaliseHexText(std::string_view value);

// Whether any of the eight characters in word (eight characters of a line, loaded at
// once) is c: lines are searched for rare characters eight characters at a time.
inline bool WordHasCharacter(uint64_t word, char c) {
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    const uint64_t v = word ^ (kOnes * static_cast<uint8_t>(c));
    return ((v - kOnes) & ~v & (kOnes << 7)) != 0;
}

// Whether line is a first record line: it begins with a time hh.mm.ss. and is at least
// ten characters long.
bool IsRecordLine(std::string_view line);

}  // namespace vexa
