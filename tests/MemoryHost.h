// A document host for the tests: the settings and the profile are kept in memory, and every
// message the program would show is kept for the test to read. The tests' own hosts derive
// from it and set the settings they need in their constructors.
#pragma once

#include "ViewInterfaces.h"

#include <map>
#include <string>
#include <vector>

namespace vexa::test {

class MemoryHost : public IDocumentHost {
public:
    VexaSettings &Settings() override { return settings; }
    // Profile entries are keyed "section/key"; an entry never written reads as the default.
    std::string ReadProfileString(const std::string &section, const std::string &key,
                                  const std::string &defaultValue) override {
        auto it = profile.find(section + "/" + key);
        return it == profile.end() ? defaultValue : it->second;
    }
    void WriteProfileString(const std::string &section, const std::string &key, const std::string &value) override {
        profile[section + "/" + key] = value;
    }
    void ShowMessage(const std::string &text) override { messages.push_back(text); }
    bool InterpretOnOpen() const override { return interpretOnOpen; }

    VexaSettings settings;
    std::map<std::string, std::string> profile;
    std::vector<std::string> messages;
    bool interpretOnOpen = true;
};

}  // namespace vexa::test
