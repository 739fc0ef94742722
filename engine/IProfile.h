// The per-user profile that holds the settings: sections of typed values. The windows
// provide it over the platform's settings store; tests provide it in memory.
#pragma once

#include <cstdint>
#include <string>

namespace vexa {

// Reading the profile: all that loading the settings needs.
class IProfileReader {
public:
    virtual ~IProfileReader() = default;
    // The stored text, or defaultValue when the key is missing. An empty section names
    // the values that stand directly under the root.
    virtual std::string GetProfileString(const std::string &section, const std::string &key,
                                         const std::string &defaultValue) = 0;
    // The stored integer, or defaultValue when the key is missing or holds no integer.
    virtual int32_t GetProfileInt(const std::string &section, const std::string &key, int32_t defaultValue) = 0;
};

class IProfile : public IProfileReader {
public:
    // Failures of writing are ignored: nothing is reported.
    virtual void WriteProfileString(const std::string &section, const std::string &key, const std::string &value) = 0;
    virtual void WriteProfileInt(const std::string &section, const std::string &key, int32_t value) = 0;
};

}  // namespace vexa
