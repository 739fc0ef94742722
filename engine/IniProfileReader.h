// Reads the per-user profile file that the windows keep through the platform's settings
// store (an INI file), without the platform: vexa-interpret starts fast and needs nothing
// but the standard library to learn the user's settings.
#pragma once

#include "IProfile.h"

#include <map>
#include <string>
#include <string_view>

namespace vexa {

// The largest settings file read: a profile of a few kilobytes, with room to spare.
inline constexpr size_t kMostSettingsBytes = 4 << 20;

// Reads the settings file at path into text. Only a regular file of at most
// kMostSettingsBytes is read: a named pipe would wait for a writer for ever, and a link
// to a device such as /dev/zero would read without end. Returns why the file was
// refused, as "PATH: reason" (empty when it was read or does not exist).
std::string ReadSettingsFile(const std::string &path, std::string &text);

class IniProfileReader : public IProfileReader {
public:
    // Reads the file at path; a missing or refused file gives an empty profile.
    explicit IniProfileReader(const std::string &path);

    // Why the settings file was not read (empty when it was, or when there is none):
    // a file that is no regular file, one larger than kMostSettingsBytes, or one that
    // cannot be read.
    const std::string &Refusal() const { return m_refusal; }

    std::string GetProfileString(const std::string &section, const std::string &key,
                                 const std::string &defaultValue) override;
    int32_t GetProfileInt(const std::string &section, const std::string &key, int32_t defaultValue) override;

    // The profile file of the organisation "Vendrel/Harbek" and the application "Vexa" in
    // the user's configuration folder.
    static std::string DefaultPath();

    // How the file writes section and key names, and values (exposed for the tests).
    static std::string UnescapeKey(std::string_view key);
    static std::string UnescapeValue(std::string_view value);

private:
    void Parse(std::string_view text);
    std::string m_refusal;
    std::map<std::string, std::string> m_values;  // "section/key" or "key" for the root
};

}  // namespace vexa
