#include "OutputText.h"

#include <random>
#include <sys/stat.h>

namespace vexa {

std::string ShortenedName(std::string_view name, size_t most) {
    if (name.size() <= most) return std::string(name);
    size_t n = most;
    // Cut before a character, never inside one of several bytes.
    while (n > 0 && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80) --n;
    return std::string(name.substr(0, n));
}

namespace {

int RandomNumber() {
    // Each process draws its own numbers: two runs started in the same second do not
    // try the same names one after the other.
    static std::mt19937 generator{std::random_device{}()};
    return static_cast<int>(generator() & 0x7FFFFFFF);
}

}  // namespace

std::string MakeOutputName(const std::string &tempFolder, const std::string &tracePath) {
    std::string base = tracePath;
    if (size_t dot = base.rfind('.'); dot != std::string::npos) base.erase(dot);
    size_t slash = base.rfind('/');
    base = slash == std::string::npos ? std::string() : base.substr(slash + 1);
    // A file name holds at most 255 bytes: the base of a very long trace name is
    // shortened so that the number and ".out" still fit.
    base = ShortenedName(base, kMostOutputBase);
    for (;;) {
        std::string name = tempFolder + base + std::to_string(RandomNumber()) + ".out";
        struct stat st {};
        if (lstat(name.c_str(), &st) != 0) return name;
    }
}

std::vector<std::string_view> SplitParts(std::string_view text) {
    std::vector<std::string_view> parts;
    ForEachPart(text, [&](std::string_view part) { parts.push_back(part); });
    return parts;
}

std::string NormaliseHexText(std::string_view value) {
    size_t first = value.find("H'");
    if (first == std::string_view::npos) return std::string(value);
    std::string result;
    std::string rest(value.substr(first + 2));
    for (;;) {
        if (size_t sep = rest.find("||"); sep != std::string::npos) rest.replace(sep, 2, "  ");
        size_t next = rest.find("H'");
        if (next == std::string::npos) break;
        result += rest.substr(0, next);
        rest.erase(0, next + 2);
    }
    return result + rest;
}

bool IsRecordLine(std::string_view l) {
    auto digit = [](char c, char max) { return c >= '0' && c <= max; };
    return l.size() >= 10 && digit(l[0], '2') && digit(l[1], '9') && l[2] == '.' && digit(l[3], '5') &&
           digit(l[4], '9') && l[5] == '.' && digit(l[6], '5') && digit(l[7], '9') && l[8] == '.';
}

}  // namespace vexa
