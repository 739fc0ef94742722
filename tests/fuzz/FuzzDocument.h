// What the document fuzz targets share: a trace document opened on the fuzzer's bytes and
// interpreted end to end, with the parser components of the fuzz build (the ISDN component
// for protocols 1 to 4, the scripted component for DECT/GDI and IP) and windowless views.
//
// The first byte chooses the run: its low three bits the protocol (1 + bits % 6), bit 3
// "Include all Rows", bit 4 "Include Hex". The bytes after it are the trace. For DECT/GDI
// and IP the scripted component's answers are made from the trace lines as well, so that
// every byte steers the run.
#pragma once

#include "CVexaClientDoc.h"
#include "MemoryHost.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::fuzz {

// Outputs in the fuzz work folder, and the component's DATA row names.
class FuzzHost : public test::MemoryHost {
public:
    FuzzHost();
};

struct FuzzRow {
    int16_t sequence;
    std::string direction, message;
    bool valid;
};

class FuzzList : public IListView {
public:
    bool AddRow(int row, int16_t seq, const std::string &dir, const std::string &, const std::string &msg,
                const std::string &, const std::string &, const std::string &, bool valid) override;
    bool ReplaceRow(int row, int16_t seq, const std::string &dir, const std::string &type, const std::string &msg,
                    const std::string &time, const std::string &from, const std::string &to, bool valid) override;
    void ClearList() override { rows.clear(); }
    int GetRowCount() const override { return static_cast<int>(rows.size()); }
    std::string GetItemText(int row, int column) const override;
    void FocusList() override {}

    std::vector<FuzzRow> rows;
};

class FuzzResultView : public IResultView {
public:
    void SetContentSizes(ContentSize, ContentSize, ContentSize) override {}
    void Repaint() override {}
};

// One input's document, interpreted, with its views; closed and its files removed when it
// goes.
class FuzzRun {
public:
    FuzzRun(const uint8_t *data, size_t size);
    ~FuzzRun();
    FuzzRun(const FuzzRun &) = delete;
    FuzzRun &operator=(const FuzzRun &) = delete;

    int Protocol() const { return m_protocol; }
    bool Interpreted() const { return m_doc && m_doc->m_bOutputLoaded; }
    CVexaClientDoc &Doc() { return *m_doc; }
    FuzzList &List() { return m_list; }

private:
    int m_protocol = 1;
    FuzzHost m_host;
    FuzzList m_list;
    FuzzResultView m_result;
    std::unique_ptr<CVexaClientDoc> m_doc;
};

// The scripted component's answers for a trace: one ParseLine answer and one message for
// each line, taken from the line's own characters and words.
std::string ScriptFor(std::string_view trace);

}  // namespace vexa::fuzz
