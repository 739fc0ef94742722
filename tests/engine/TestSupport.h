// Shared pieces of the engine tests: a document host, views that record what they are
// given, and a scripted component set up from a trace and a script.
#pragma once

#include "CVexaClientDoc.h"
#include "IProfile.h"
#include "MemoryHost.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace vexa::test {

std::string ReadFile(const std::string &path);
void WriteFile(const std::string &path, const std::string &content);
// A path in the temporary folder named after name and this process.
std::string TempPath(const char *name);
std::vector<std::string> Lines(const LineArray &lines);

// Protocol 1, no extra rows, and the component's DATA row names.
class TestHost : public MemoryHost {
public:
    TestHost();
};

struct Row {
    int16_t sequence;
    std::string direction, signalType, message, time, from, to;
    bool valid;
    bool operator==(const Row &) const = default;
};

class TestList : public IListView {
public:
    bool AddRow(int row, int16_t seq, const std::string &dir, const std::string &type, const std::string &msg,
                const std::string &time, const std::string &from, const std::string &to, bool valid) override {
        rows.insert(rows.begin() + std::min<size_t>(row, rows.size()), Row{seq, dir, type, msg, time, from, to, valid});
        return true;
    }
    bool ReplaceRow(int row, int16_t seq, const std::string &dir, const std::string &type, const std::string &msg,
                    const std::string &time, const std::string &from, const std::string &to, bool valid) override {
        if (row >= 0 && row < static_cast<int>(rows.size())) rows.erase(rows.begin() + row);
        ++replaced;
        return AddRow(row, seq, dir, type, msg, time, from, to, valid);
    }
    void ClearList() override {
        rows.clear();
        ++cleared;
    }
    int GetRowCount() const override { return static_cast<int>(rows.size()); }
    std::string GetItemText(int row, int column) const override {
        return column == 0 ? std::to_string(rows[row].sequence) : std::string();
    }
    void FocusList() override { ++focused; }

    std::vector<Row> rows;
    int replaced = 0;
    int cleared = 0;
    int focused = 0;
};

class TestResultView : public IResultView {
public:
    void SetContentSizes(ContentSize total, ContentSize page, ContentSize line) override {
        sizes.push_back(total);
        (void)page;
        (void)line;
    }
    void Repaint() override { ++repaints; }
    std::vector<ContentSize> sizes;
    int repaints = 0;
};

// A profile in memory.
class MemoryProfile : public IProfile {
public:
    std::string GetProfileString(const std::string &section, const std::string &key,
                                 const std::string &def) override {
        auto it = values.find(section + "/" + key);
        return it == values.end() ? def : it->second;
    }
    int32_t GetProfileInt(const std::string &section, const std::string &key, int32_t def) override {
        auto it = values.find(section + "/" + key);
        return it == values.end() ? def : std::stoi(it->second);
    }
    void WriteProfileString(const std::string &section, const std::string &key, const std::string &value) override {
        values[section + "/" + key] = value;
    }
    void WriteProfileInt(const std::string &section, const std::string &key, int32_t value) override {
        values[section + "/" + key] = std::to_string(value);
    }
    std::map<std::string, std::string> values;
};

// A test with its own temporary folder, the scripted components, and a document.
class ScriptedTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the trace and the script and opens the trace in a new document (which runs
    // the interpretation when the host says so).
    CVexaClientDoc &Open(const std::string &trace, const std::string &script, int protocol = 1);
    // The calls the component received, one a line.
    std::vector<std::string> Calls() const;
    std::string Output() const { return ReadFile(doc->m_strOutputPath); }
    std::string RunText() const;  // the run lines joined

    std::string dir;
    std::string tracePath;
    std::string scriptPath;
    std::string logPath;
    TestHost host;
    TestList list;
    TestResultView result;
    std::unique_ptr<CVexaClientDoc> doc;
};

}  // namespace vexa::test
