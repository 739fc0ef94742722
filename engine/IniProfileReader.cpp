#include "IniProfileReader.h"

#include "SettingsStore.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vexa {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void AppendUtf8(std::string &out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

}  // namespace

std::string ReadSettingsFile(const std::string &path, std::string &text) {
    text.clear();
    // Opened without waiting: a named pipe opens at once and is refused below.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return {};
        return "settings file " + path + " is not read: " + std::strerror(errno);
    }
    std::string refusal;
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        refusal = std::strerror(errno);
    } else if (!S_ISREG(st.st_mode)) {
        refusal = "not a regular file";
    } else if (st.st_size > static_cast<off_t>(kMostSettingsBytes)) {
        refusal = "larger than " + std::to_string(kMostSettingsBytes >> 20) + " MB";
    } else {
        // Read to its end, but never past the bound: a file may grow while it is read.
        char buffer[64 * 1024];
        for (;;) {
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                refusal = std::strerror(errno);
                break;
            }
            if (n == 0) break;
            if (text.size() + static_cast<size_t>(n) > kMostSettingsBytes) {
                refusal = "larger than " + std::to_string(kMostSettingsBytes >> 20) + " MB";
                break;
            }
            text.append(buffer, static_cast<size_t>(n));
        }
    }
    close(fd);
    if (refusal.empty()) return {};
    text.clear();
    return "settings file " + path + " is not read: " + refusal;
}

IniProfileReader::IniProfileReader(const std::string &path) {
    std::string text;
    m_refusal = ReadSettingsFile(path, text);
    Parse(text);
}

std::string IniProfileReader::DefaultPath() {
    std::string base;
    if (const char *xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') base = xdg;
    else if (const char *home = std::getenv("HOME"); home && *home) base = std::string(home) + "/.config";
    else base = ".config";
    return base + "/Vendrel/Harbek/Vexa.ini";
}

// "%20" stands for a blank, "%U00E9" for a character beyond the first 256, and a backslash
// for a slash.
std::string IniProfileReader::UnescapeKey(std::string_view key) {
    std::string out;
    for (size_t i = 0; i < key.size(); ++i) {
        const char c = key[i];
        if (c == '\\') {
            out += '/';
        } else if (c == '%' && i + 2 < key.size() && key[i + 1] != 'U' &&
                   HexDigit(key[i + 1]) >= 0 && HexDigit(key[i + 2]) >= 0) {
            AppendUtf8(out, static_cast<unsigned>(HexDigit(key[i + 1]) * 16 + HexDigit(key[i + 2])));
            i += 2;
        } else if (c == '%' && key.size() - i >= 6 && key[i + 1] == 'U') {
            unsigned code = 0;
            bool ok = true;
            for (size_t k = 2; k < 6; ++k) {
                int d = HexDigit(key[i + k]);
                ok = ok && d >= 0;
                code = code * 16 + static_cast<unsigned>(d < 0 ? 0 : d);
            }
            if (!ok) {
                out += c;
                continue;
            }
            AppendUtf8(out, code);
            i += 5;
        } else {
            out += c;
        }
    }
    return out;
}

// A value: quoted parts, backslash escapes, commas that separate the items of a list
// (read back joined by ", "), and "@@" standing for a leading "@".
std::string IniProfileReader::UnescapeValue(std::string_view value) {
    std::vector<std::string> items(1);
    bool quoted = false;
    bool anyQuote = false;
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '"') {
            quoted = !quoted;
            anyQuote = true;
        } else if (c == ',' && !quoted) {
            items.emplace_back();
        } else if (c == '\\' && i + 1 < value.size()) {
            const char e = value[++i];
            switch (e) {
            case 'a': items.back() += '\a'; break;
            case 'b': items.back() += '\b'; break;
            case 'f': items.back() += '\f'; break;
            case 'n': items.back() += '\n'; break;
            case 'r': items.back() += '\r'; break;
            case 't': items.back() += '\t'; break;
            case 'v': items.back() += '\v'; break;
            case 'x': {
                unsigned code = 0;
                while (i + 1 < value.size() && HexDigit(value[i + 1]) >= 0) code = code * 16 + HexDigit(value[++i]);
                AppendUtf8(items.back(), code);
                break;
            }
            case '0': case '1': case '2': case '3': case '4': case '5': case '6': case '7': {
                unsigned code = static_cast<unsigned>(e - '0');
                while (i + 1 < value.size() && value[i + 1] >= '0' && value[i + 1] <= '7') code = code * 8 + (value[++i] - '0');
                AppendUtf8(items.back(), code);
                break;
            }
            default: items.back() += e; break;
            }
        } else if ((c == ' ' || c == '\t') && !quoted && items.back().empty() && !anyQuote) {
            // blanks before an item are not part of it
        } else {
            items.back() += c;
        }
    }
    std::string joined;
    for (size_t i = 0; i < items.size(); ++i) {
        std::string_view item = quoted || anyQuote ? std::string_view(items[i]) : Trim(items[i]);
        if (i) joined += ", ";
        joined += item;
    }
    if (joined.starts_with("@@")) joined.erase(0, 1);
    return joined;
}

void IniProfileReader::Parse(std::string_view text) {
    std::string section;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            section = UnescapeKey(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            if (section.size() == 7 && (section == "General" || section == "general" || section == "GENERAL")) section.clear();
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string key = UnescapeKey(Trim(line.substr(0, eq)));
        if (key.empty()) continue;
        m_values[section.empty() ? key : section + "/" + key] = UnescapeValue(Trim(line.substr(eq + 1)));
    }
}

std::string IniProfileReader::GetProfileString(const std::string &section, const std::string &key,
                                               const std::string &defaultValue) {
    auto it = m_values.find(section.empty() ? key : section + "/" + key);
    return it == m_values.end() ? defaultValue : it->second;
}

int32_t IniProfileReader::GetProfileInt(const std::string &section, const std::string &key, int32_t defaultValue) {
    auto it = m_values.find(section.empty() ? key : section + "/" + key);
    return it == m_values.end() ? defaultValue : ProfileInteger(it->second, defaultValue);
}

}  // namespace vexa
