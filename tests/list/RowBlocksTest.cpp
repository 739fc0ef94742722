// Each list row leads to its own signal's block, over the ISDN component: where sequence
// numbers repeat (they wrap after 32767) and where a decoded calling party number holds
// the five digits of a later signal's number.
#include "FilteredFills.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace vexa::test {
namespace {

// samples/isdn-repeat.trc: two calls whose signals reuse the numbers 00042 and 00043, as
// a trace does once its numbers wrap; the first SETUP's calling party number is
// 030123456, which holds the digits of signal 01234.
class RowBlocksTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("VEXA_COMPONENT_PATH", VEXA_COMPONENT_DIR, 1);
        unsetenv("VEXA_SCRIPTED_SCRIPT");
        unsetenv("VEXA_SCRIPTED_LOG");
        m_temp = std::filesystem::temp_directory_path() / ("vexa-rowblocks-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_temp);
        host.settings.m_strTempPath = m_temp.string() + "/";
        host.settings.m_nDefaultProtocol = 1;
    }
    void TearDown() override {
        if (doc) doc->OnCloseDocument();
        doc.reset();
        std::filesystem::remove_all(m_temp);
    }
    void Open(bool allRows, const char *sample = "isdn-repeat.trc") {
        host.settings.m_bWriteAllRows = allRows;
        const std::string path = std::string(VEXA_SAMPLES_DIR "/") + sample;
        doc = std::make_unique<CVexaClientDoc>(host);
        doc->m_pListView = &list;
        doc->m_nProtocol = 1;
        ASSERT_TRUE(doc->OnOpenDocument(path));
        ASSERT_TRUE(doc->m_bOutputLoaded);
    }
    // The message names of the blocks in the shown text, in order.
    std::vector<std::string> ShownMessages() const {
        std::vector<std::string> names;
        for (std::string_view line : doc->m_DisplayLines) {
            for (std::string_view label : {"Outgoing Message: ", "Incoming Message: "})
                if (line.starts_with(label)) names.emplace_back(line.substr(label.size()));
        }
        return names;
    }
    // The message name of the block a row leads to in the shown text.
    std::string MessageOfRow(int row) const {
        const int64_t at = doc->DisplayLineOfRow(row);
        if (at < 0) return "none";
        for (size_t i = static_cast<size_t>(at); i < doc->m_DisplayLines.size(); ++i) {
            const std::string_view line = doc->m_DisplayLines[i];
            for (std::string_view label : {"Outgoing Message: ", "Incoming Message: "})
                if (line.starts_with(label)) return std::string(line.substr(label.size()));
            if (line.starts_with("<<<<")) break;
        }
        return "no header";
    }
    std::vector<std::string> RowMessages() const {
        std::vector<std::string> names;
        for (const Row &row : list.rows) names.push_back(row.message);
        return names;
    }

    TestHost host;
    TestList list;
    std::unique_ptr<CVexaClientDoc> doc;
    std::filesystem::path m_temp;
};

TEST_F(RowBlocksTest, EveryRowLeadsToItsOwnSignalInTheTextAndTheTrace) {
    for (bool allRows : {true, false}) {
        SCOPED_TRACE(allRows ? "all rows" : "held rows");
        Open(allRows);
        ASSERT_EQ(RowMessages(), (std::vector<std::string>{"SETUP", "ALERTING", "CONNECT", "DISCONNECT",
                                                           "RELEASE", "RELEASE COMPLETE"}));
        const std::vector<std::string> expected = RowMessages();
        for (int row = 0; row < 6; ++row) EXPECT_EQ(MessageOfRow(row), expected[static_cast<size_t>(row)]) << row;

        // The trace line of each row is its own signal's record line.
        const std::vector<std::string> numbers{"00042", "01234", "00043", "00042", "00043", "00044"};
        const std::vector<std::string> stamps{"09.41.07.25", "09.41.07.31", "09.41.09.02",
                                              "09.45.00.10", "09.45.00.20", "09.45.00.30"};
        for (int row = 0; row < 6; ++row) {
            const int64_t line = doc->TraceLineOfRow(row);
            ASSERT_GE(line, 0) << row;
            const std::string text = doc->GetTraceLine(static_cast<size_t>(line));
            EXPECT_EQ(text.substr(0, 17), stamps[static_cast<size_t>(row)] + " " + numbers[static_cast<size_t>(row)]);
        }
        doc->OnCloseDocument();
        doc.reset();
        list.ClearList();
    }
}

// A message split over several signals is listed with its first part's number and time;
// its block follows its last part.
TEST_F(RowBlocksTest, ARowOfASplitMessageLeadsToItsBlockAndItsFirstPart) {
    for (bool allRows : {true, false}) {
        SCOPED_TRACE(allRows ? "all rows" : "held rows");
        Open(allRows, "isdn-split.trc");
        ASSERT_EQ(RowMessages(), (std::vector<std::string>{"INFORMATION", "FACILITY", "SETUP", "ALERTING"}));
        for (int row = 0; row < 4; ++row) {
            const Row &shown = list.rows[static_cast<size_t>(row)];
            EXPECT_EQ(MessageOfRow(row), shown.message) << row;
            const int64_t line = doc->TraceLineOfRow(row);
            ASSERT_GE(line, 0) << row;
            char start[32];
            std::snprintf(start, sizeof start, "%s %05d", shown.time.c_str(), shown.sequence);
            EXPECT_EQ(doc->GetTraceLine(static_cast<size_t>(line)).substr(0, 17), start) << row;
        }
        list.ClearList();
        doc->m_strSearchText = "SWHW";
        doc->FillListBySearch();
        ASSERT_TRUE(doc->RebuildResultText());
        EXPECT_EQ(ShownMessages(), (std::vector<std::string>{"SETUP"}));
        doc->OnCloseDocument();
        doc.reset();
        list.ClearList();
    }
}

TEST_F(RowBlocksTest, DirectionChoicesRebuildEachSignalsBlockOnce) {
    Open(true);
    for (const char *direction : {"SWHW", "HWSW", ""}) {
        SCOPED_TRACE(direction);
        list.ClearList();
        doc->m_strSearchText = direction;
        doc->FillListBySearch();
        ASSERT_TRUE(doc->RebuildResultText());
        // The shown text holds the listed signals' blocks, each once, in the list's order.
        EXPECT_EQ(ShownMessages(), RowMessages());
        for (int row = 0; row < list.GetRowCount(); ++row)
            EXPECT_EQ(MessageOfRow(row), list.rows[static_cast<size_t>(row)].message) << row;
        // The saved text is the shown one, without its marks.
        const std::string saved = ReadFile(doc->m_strOutputPath);
        for (const std::string &name : RowMessages()) EXPECT_NE(saved.find("Message: " + name + "\n"), std::string::npos);
    }
    // "All" after a direction gives back every signal's block.
    EXPECT_EQ(ShownMessages().size(), 6u);
    // The ALERTING row (01234) does not pick up the SETUP whose calling number holds 01234.
    list.ClearList();
    doc->m_strSearchText = "HWSW";
    doc->FillListBySearch();
    ASSERT_TRUE(doc->RebuildResultText());
    EXPECT_EQ(ShownMessages(), (std::vector<std::string>{"ALERTING", "CONNECT", "RELEASE"}));
    EXPECT_EQ(ReadFile(doc->m_strOutputPath).find("SETUP"), std::string::npos);
}

TEST_F(RowBlocksTest, AFilterListsTwoSignalsOfOneNumberAsTwoRows) {
    Open(true);
    // Call reference 02 is the second call: its signals 00042 and 00043 follow each other.
    // Call reference 01: SETUP (00042), ALERTING, CONNECT.
    list.ClearList();
    FillByCallReference(*doc, CallReferenceKey("02"));
    EXPECT_EQ(RowMessages(), (std::vector<std::string>{"DISCONNECT", "RELEASE", "RELEASE COMPLETE"}));
    ASSERT_TRUE(doc->RebuildResultText());
    EXPECT_EQ(ShownMessages(), RowMessages());
    // The signals 00042 of both calls, found one after the other, stay two rows.
    list.ClearList();
    FillByEquNumber(*doc, EquNumberKey("001-0-02-01"));
    EXPECT_EQ(list.rows.size(), 6u);
    doc->m_strSearchText = "SWHW";
    list.ClearList();
    doc->FillListBySearch();
    EXPECT_EQ(RowMessages(), (std::vector<std::string>{"SETUP", "DISCONNECT", "RELEASE COMPLETE"}));
    ASSERT_TRUE(doc->RebuildResultText());
    EXPECT_EQ(ShownMessages(), RowMessages());
}

}  // namespace
}  // namespace vexa::test
