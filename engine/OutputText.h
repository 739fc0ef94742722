// Text operations of the interpretation output: naming the output file, cutting decoded
// texts into parts and making call reference values readable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vexa {

// A new output file name in tempFolder (which ends with "/"), made from the trace path:
// the base name without its extension, a random number and ".out", chosen so that no
// file of that name exists yet.
std::string MakeOutputName(const std::string &tempFolder, const std::string &tracePath);

// The parts of a decoded text: the pieces between the "||" separators.
std::vector<std::string_view> SplitParts(std::string_view text);

// A call reference value such as "H'01||H'82" as the header shows it: "01  82".
std::string NormaliseHexText(std::string_view value);

// Whether line is a first record line: it begins with a time hh.mm.ss. and is at least
// ten characters long.
bool IsRecordLine(std::string_view line);

}  // namespace vexa
