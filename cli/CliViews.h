// What vexa-interpret offers a document in place of windows: the settings, messages on
// standard error, a progress line, and a message list that keeps its rows in memory.
#pragma once

#include "IProfile.h"
#include "ViewInterfaces.h"

#include <chrono>
#include <string>
#include <vector>

namespace vexa::cli {

class CliHost : public IDocumentHost {
public:
    CliHost(VexaSettings settings, IProfileReader &profile) : m_settings(std::move(settings)), m_profile(profile) {}

    VexaSettings &Settings() override { return m_settings; }
    std::string ReadProfileString(const std::string &section, const std::string &key,
                                  const std::string &defaultValue) override {
        return m_profile.GetProfileString(section, key, defaultValue);
    }
    // The command line leaves the user's profile as it is: it reads it, never writes it.
    void WriteProfileString(const std::string &, const std::string &, const std::string &) override {}
    void ShowMessage(const std::string &text) override;
    bool InterpretOnOpen() const override { return true; }
    void RunProgress(int64_t bytesRead, int64_t bytesTotal) override;
    void RunFinished() override;

    // The program's own message shown during the last operation, if any.
    const std::vector<std::string> &Messages() const { return m_messages; }

private:
    VexaSettings m_settings;
    IProfileReader &m_profile;
    std::vector<std::string> m_messages;
    std::chrono::steady_clock::time_point m_started = std::chrono::steady_clock::now();
    bool m_progressShown = false;
};

struct ListRow {
    int16_t sequence = 0;
    std::string direction, signalType, message, time, from, to;
    bool valid = true;
};

class CliList : public IListView {
public:
    bool AddRow(int row, int16_t sequence, const std::string &direction, const std::string &signalType,
                const std::string &message, const std::string &time, const std::string &from, const std::string &to,
                bool valid) override;
    bool ReplaceRow(int row, int16_t sequence, const std::string &direction, const std::string &signalType,
                    const std::string &message, const std::string &time, const std::string &from,
                    const std::string &to, bool valid) override;
    void ClearList() override { m_rows.clear(); }
    int GetRowCount() const override { return static_cast<int>(m_rows.size()); }
    std::string GetItemText(int row, int column) const override;
    void FocusList() override {}

    const std::vector<ListRow> &Rows() const { return m_rows; }

private:
    std::vector<ListRow> m_rows;
};

}  // namespace vexa::cli
