#include "OutputText.h"

#include <cstdlib>
#include <ctime>
#include <sys/stat.h>

namespace vexa {

std::string MakeOutputName(const std::string &tempFolder, const std::string &tracePath) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    std::string base = tracePath;
    if (size_t dot = base.rfind('.'); dot != std::string::npos) base.erase(dot);
    size_t slash = base.rfind('/');
    base = slash == std::string::npos ? std::string() : base.substr(slash + 1);
    for (;;) {
        std::string name = tempFolder + base + std::to_string(std::rand()) + ".out";
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
