// The document host of the benchmarks: the built-in settings (no profile is read or
// written), protocol 1, every trace interpreted as it opens, messages to stderr.
#pragma once

#include "CVexaClientDoc.h"
#include "SettingsStore.h"

#include <cstdio>
#include <string>

namespace vexa::bench {

class BenchHost : public IDocumentHost {
public:
    BenchHost() {
        struct Empty : IProfileReader {
            std::string GetProfileString(const std::string &, const std::string &, const std::string &d) override {
                return d;
            }
            int32_t GetProfileInt(const std::string &, const std::string &, int32_t d) override { return d; }
        } empty;
        LoadSettings(empty, settings);
        settings.m_nDefaultProtocol = settings.m_nCurrentProtocol = 1;
    }
    VexaSettings &Settings() override { return settings; }
    std::string ReadProfileString(const std::string &, const std::string &, const std::string &d) override {
        return d;
    }
    void WriteProfileString(const std::string &, const std::string &, const std::string &) override {}
    void ShowMessage(const std::string &text) override { std::fprintf(stderr, "message: %s\n", text.c_str()); }
    bool InterpretOnOpen() const override { return true; }
    VexaSettings settings;
};

}  // namespace vexa::bench
