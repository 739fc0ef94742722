// The payload rows that every parser component reads: DATA rows of hex octets and the LEN
// row that closes them. What is wrong with them is added to a list of problem lines, worded
// for the user, which the component shows in the message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::component {

// Adds problem to list while it holds fewer than limit lines; the first one over the limit
// is replaced by a line saying that further problems are not listed.
void AddProblem(std::vector<std::string> &list, std::string problem, size_t limit);

// Appends the octets of a DATA row (text after "DATA") to octets, keeping at most maxOctets
// in all; returns the number of octets that did not fit. Odd digits, characters that are not
// hex digits and a row without octets are added to problems.
size_t ReadDataRow(std::string_view text, std::vector<uint8_t> &octets, size_t maxOctets,
                   std::vector<std::string> &problems, size_t limit);

// Compares a LEN row (text after "LEN") with the number of octets the DATA rows carried; a
// row without a number, or a number other than carried, is added to problems.
void ReadLenRow(std::string_view text, size_t carried, std::vector<std::string> &problems, size_t limit);

}  // namespace vexa::component
