// Filling the message list from the component's messages, and showing only the blocks of
// the listed signals.
#include "ScriptText.h"
#include "TestSupport.h"

namespace vexa::test {
namespace {

std::string Msg(int index, int seq, bool valid, const std::string &dir = "SWHW", const std::string &name = "SETUP") {
    return Message(index, seq, 1, valid, {dir, "DLRDATALONG", name + std::to_string(index), "09.00.00.0" + std::to_string(index), "FROM", "TO", "body " + std::to_string(index), "PD"});
}

class ListFillingTest : public ScriptedTest {
protected:
    // A trace of three signals 5, 7 and 9, each a record line and a LEN row.
    void OpenThreeSignals(const std::string &extra = "") {
        std::string trace, script;
        int index = 1;
        for (int seq : {5, 7, 9}) {
            char rec[80];
            std::snprintf(rec, sizeof rec, "09.00.00.0%d %05d  %s DLRDATALONG  FROM  TO\n", index, seq, seq == 7 ? "HWSW" : "SWHW");
            trace += std::string(rec) + "                        LEN 3\n";
            script += Parse(1) + Parse(3, 1, 1, index) + Msg(index, seq, true, seq == 7 ? "HWSW" : "SWHW");
            ++index;
        }
        Open(trace, script + extra);
    }
};

TEST_F(ListFillingTest, OneRowPerSignalShowingTheLastInvalidMessageInRed) {
    std::string script = Msg(1, 5, true) + Msg(2, 5, false) + Msg(3, 7, true) + Msg(4, 7, true);
    Open("09.00.00.00 00005  SWHW X\n", script);
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_EQ(list.rows[0], (Row{5, "SWHW", "DLRDATALONG", "SETUP2", "09.00.00.02", "FROM", "TO", false}));
    EXPECT_EQ(list.rows[1].message, "SETUP3");
    EXPECT_TRUE(list.rows[1].valid);
    EXPECT_EQ(list.focused, 1);
    EXPECT_TRUE(doc->m_bOutputLoaded);
}

TEST_F(ListFillingTest, NoMessagesLeaveTheListEmpty) {
    Open("09.00.00.00 00005  SWHW X\n", "");
    EXPECT_FALSE(doc->FillList());
    EXPECT_TRUE(list.rows.empty());
    EXPECT_EQ(list.focused, 0);
}

TEST_F(ListFillingTest, NegativeCountFillsNothingButSucceeds) {
    Open("09.00.00.00 00005  SWHW X\n", Msg(1, 5, true) + "messagecount\t-3\n");
    EXPECT_TRUE(doc->FillList());
    EXPECT_TRUE(list.rows.empty());
}

TEST_F(ListFillingTest, FirstMessageOpensARowEvenWithSequenceNumberZero) {
    Open("09.00.00.00 00000  SWHW X\n", Msg(1, 0, true) + Msg(2, 0, true));
    ASSERT_EQ(list.rows.size(), 1u);
    EXPECT_EQ(list.rows[0].sequence, 0);
}

TEST_F(ListFillingTest, SearchTextListsTheMessagesTheComponentFinds) {
    OpenThreeSignals(Entry({"find", "message", "SWHW", "1", "3"}));
    list.ClearList();
    doc->m_strSearchText = "SWHW";
    EXPECT_TRUE(doc->FillListBySearch());
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_EQ(list.rows[0].sequence, 5);
    EXPECT_EQ(list.rows[1].sequence, 9);
    list.ClearList();
    doc->m_strSearchText.clear();
    doc->FillListBySearch();
    EXPECT_EQ(list.rows.size(), 3u);
}

TEST_F(ListFillingTest, RebuiltTextHoldsOnlyTheBlocksOfTheListedSignals) {
    OpenThreeSignals(Entry({"find", "message", "HWSW", "2"}));
    const std::string firstOutput = doc->m_strOutputPath;
    list.ClearList();
    doc->m_strSearchText = "HWSW";
    doc->FillListBySearch();
    ASSERT_TRUE(doc->RebuildResultText());
    const std::string block7 = "09.00.00.02 00007  HWSW DLRDATALONG  FROM  TO\n|\n\n\n|>>>>\n|Incoming Message: SETUP2|"
                               "Call Reference:  (CR Flag Not Set)\n|Protocol Discriminator: PD|\n\n\n|      body 2|\n\n|<<<<\n\n|";
    std::string shown;
    for (auto l : doc->m_DisplayLines) shown += std::string(l) + "|";
    EXPECT_EQ(shown, block7);
    EXPECT_NE(doc->m_strOutputPath, firstOutput);
    EXPECT_EQ(ReadFile(doc->m_strOutputPath),
              "09.00.00.02 00007  HWSW DLRDATALONG  FROM  TO\n\n\n\n>>>>\nIncoming Message: SETUP2\n"
              "Call Reference:  (CR Flag Not Set)\nProtocol Discriminator: PD\n\n\n\n      body 2\n\n\n<<<<\n\n");
    EXPECT_FALSE(host.settings.m_bOverwriteFile);
    EXPECT_EQ(result.sizes.back(), (ContentSize{1000, 3000}));
}

TEST_F(ListFillingTest, AppendMessageBlockAtTheEdges) {
    OpenThreeSignals();
    doc->ClearDisplay();
    EXPECT_FALSE(doc->AppendMessageBlock("no such text"));
    EXPECT_TRUE(doc->AppendMessageBlock("END"));  // only in the last run line
    EXPECT_TRUE(doc->m_DisplayLines.empty());
}

TEST_F(ListFillingTest, RewriteDropsTheDisplayMarks) {
    Open("09.00.00.00 00005  SWHW X\n", "");
    doc->ClearDisplay();
    doc->m_RunLines.Clear();
    doc->m_RunLines.Add("@@@User Part: a/b");
    doc->m_RunLines.Add("/*SCP Message: DATA_IND\n*/");
    doc->m_RunLines.Add("      Channel: Preferred/exclusive *B1* @home");
    doc->m_RunLines.Add("<<<<\n\n");
    doc->m_DisplayLines.AddAll(doc->m_RunLines);
    EXPECT_TRUE(doc->RewriteOutput());
    // The marks go; the "/", "*" and "@" of the words stay.
    EXPECT_EQ(ReadFile(doc->m_strOutputPath),
              "User Part: a/b\nSCP Message: DATA_IND\n      Channel: Preferred/exclusive *B1* @home\n<<<<\n\n");
}

TEST_F(ListFillingTest, RewriteKeepsLinesLongerThanItsBufferWhole) {
    Open("09.00.00.00 00005  SWHW X\n", "");
    doc->ClearDisplay();
    // Three megabytes of text, a DECT header line, then a line that ends with its newline.
    std::string longLine;
    for (int i = 0; i < 300000; ++i) longLine += "ab@c/d*efg ";
    doc->m_DisplayLines.Add("@@@" + longLine);
    doc->m_DisplayLines.Add("next\n");
    EXPECT_TRUE(doc->RewriteOutput());
    EXPECT_EQ(ReadFile(doc->m_strOutputPath), longLine + "\nnext\n");
}

TEST_F(ListFillingTest, FindLineIsAPlainCaseSensitiveSubstringSearch) {
    OpenThreeSignals();
    EXPECT_EQ(doc->FindTraceLine("00007"), 2);
    EXPECT_EQ(doc->FindTraceLine("hwsw"), -1);
    EXPECT_EQ(doc->FindDisplayLine(" 00009 "), doc->FindLine(doc->m_RunLines, " 00009 "));
    EXPECT_EQ(doc->GetTraceLine(99), "");
}

}  // namespace
}  // namespace vexa::test
