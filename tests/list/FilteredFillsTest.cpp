// The filtered fills and the values the filters offer, over the scripted component and
// over the ISDN component with a sample trace.
#include "FilteredFills.h"
#include "ScriptText.h"
#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>

namespace vexa::test {
namespace {

std::string Msg(int index, int seq, bool valid, const std::string &dir, const std::string &name) {
    return Message(index, seq, 1, valid,
                   {dir, "DLRDATALONG", name, "09.00.00.0" + std::to_string(index % 10), "FROM", "TO", "body", "PD"});
}

class FilteredFillsTest : public ScriptedTest {
protected:
    // Signals with the given sequence numbers, one message each (index 1 upwards), and
    // further script lines.
    void OpenSignals(std::initializer_list<int> seqs, const std::string &extra, int protocol = 1,
                     const std::string &more = "") {
        std::string trace, script;
        int index = 1;
        for (int seq : seqs) {
            char rec[80];
            std::snprintf(rec, sizeof rec, "09.00.00.0%d %05d  SWHW DLRDATALONG  FROM  TO\n", index % 10, seq);
            trace += std::string(rec) + "                        LEN 3\n";
            script += Parse(1) + Parse(3, 1, 1, index) + Msg(index, seq, true, "SWHW", "MSG" + std::to_string(index));
            ++index;
        }
        Open(trace, script + more + extra, protocol);
        list.ClearList();
        list.replaced = 0;
    }
    std::vector<int> Sequences() const {
        std::vector<int> s;
        for (const Row &r : list.rows) s.push_back(r.sequence);
        return s;
    }
};

TEST_F(FilteredFillsTest, CallReferenceListsEachSignalOnceWithItsFirstMessage) {
    // Messages 2 and 3 belong to the same signal 7; the second of them is not valid.
    OpenSignals({5, 7}, Entry({"find", "callref", "H'01||H'82", "1", "2", "3", "4"}), 1,
                Msg(3, 7, false, "SWHW", "LATER") + Msg(4, 9, true, "HWSW", "MSG4"));
    FillByCallReference(*doc, "H'01||H'82");
    EXPECT_EQ(Sequences(), (std::vector<int>{5, 7, 9}));
    EXPECT_EQ(list.rows[1].message, "MSG2");
    EXPECT_TRUE(list.rows[1].valid);
    EXPECT_EQ(list.replaced, 0);
}

TEST_F(FilteredFillsTest, EquScpIdAndTransactionFlagAskTheirMembers) {
    OpenSignals({5, 6, 7}, Entry({"find", "equ", "EQU NO      001-0-02-01", "2", "3"}));
    FillByEquNumber(*doc, "EQU NO      001-0-02-01");
    EXPECT_EQ(Sequences(), (std::vector<int>{6, 7}));

    OpenSignals({5, 6, 7}, Entry({"find", "scpid", "12", "1"}) + Entry({"find", "tran", "1", "1", "3"}), 5);
    FillByScpId(*doc, "12");
    EXPECT_EQ(Sequences(), (std::vector<int>{5}));
    list.ClearList();
    FillByTransactionFlag(*doc, "1");
    EXPECT_EQ(Sequences(), (std::vector<int>{5, 7}));
}

TEST_F(FilteredFillsTest, IpProtocolShowsAnInvalidLaterPartOfASignalInRed) {
    OpenSignals({5}, Entry({"find", "protocol", "H245", "1", "2", "3"}), 6,
                Msg(2, 5, false, "SWHW", "LATER PART") + Msg(3, 8, true, "SWHW", "MSG3"));
    FillByProtocol(*doc, "H245");
    ASSERT_EQ(Sequences(), (std::vector<int>{5, 8}));
    EXPECT_EQ(list.rows[0].message, "LATER PART");
    EXPECT_FALSE(list.rows[0].valid);
    EXPECT_EQ(list.replaced, 1);
}

TEST_F(FilteredFillsTest, CallingPartyNumberListsTheCallOfItsFirstMessage) {
    OpenSignals({5, 6, 7},
                Entry({"findcpn", "0301234", "2"}) + Entry({"callref", "2", "H'05"}) +
                    Entry({"find", "callref", "H'05", "2", "3"}));
    FillByCallingPartyNumber(*doc, "0301234");
    EXPECT_EQ(Sequences(), (std::vector<int>{6, 7}));
}

TEST_F(FilteredFillsTest, NothingFoundLeavesTheListEmpty) {
    OpenSignals({5}, "");
    FillByCallReference(*doc, "H'77");
    FillByFilterKind(*doc, kFilterNone, "x");
    EXPECT_TRUE(list.rows.empty());
}

TEST_F(FilteredFillsTest, CallReferencesOfferedOnlyWithTheFlagClearAndOnce) {
    OpenSignals({5, 6, 7, 8},
                Entry({"callref", "1", "H'01||H'82"}) + Entry({"callref", "2", "H'81||H'82"}) +
                    Entry({"callref", "3", "h'01||h'82"}) + Entry({"callref", "4", "H'7f"}));
    // "h'" is not the octet mark, so message 3 gives an empty entry; 7f is below 128.
    EXPECT_EQ(GatherCallReferences(doc->m_IsdnParser), (std::vector<std::string>{"01  82", "", "7f"}));
    EXPECT_EQ(CallReferenceKey("01  82"), "H'01||H'82");
    EXPECT_EQ(CallReferenceKey("05"), "H'05");
}

TEST_F(FilteredFillsTest, CallingPartyNumbersWalkTheHandlesAsManyTimesAsThereAreMessages) {
    OpenSignals({5, 6, 7, 8, 9}, Entry({"values", "cpn", "12", "123"}));
    // Five calls: 12, 123, end (-1), then 12 and 123 again from the start.
    EXPECT_EQ(GatherCallingPartyNumbers(doc->m_IsdnParser), (std::vector<std::string>{"12", "123"}));
    int walks = 0;
    for (const std::string &call : Calls()) walks += call.rfind("GetNext cpn", 0) == 0;
    EXPECT_EQ(walks, 5);
}

TEST_F(FilteredFillsTest, EquNumbersAndTransactionSides) {
    OpenSignals({5, 6, 7},
                Entry({"equ", "1", "EQU NO      001-0-02-01"}) + Entry({"equ", "2", "no equipment"}) +
                    Entry({"equ", "3", "EQU NO 001-0-02-01"}));
    EXPECT_EQ(GatherEquNumbers(doc->m_IsdnParser), (std::vector<std::string>{"001-0-02-01"}));
    EXPECT_EQ(EquNumberKey("001-0-02-01"), "EQU NO      001-0-02-01");

    OpenSignals({5, 6, 7}, Entry({"values", "tran", "0", "", "1", "0"}) + Entry({"values", "scpid", "12", "", "12"}), 5);
    EXPECT_EQ(GatherTransactionFlags(doc->m_DectParser), (std::vector<std::string>{"Originator", "Destination"}));
    EXPECT_EQ(GatherScpIds(doc->m_DectParser), (std::vector<std::string>{"12"}));
    EXPECT_EQ(TransactionFlagKey("Originator"), "0");
    EXPECT_EQ(TransactionFlagKey("Destination"), "1");
    EXPECT_EQ(IpProtocolKey(1), "H245");
    EXPECT_EQ(IpProtocolKey(3), "");
}

// Over the ISDN component and a sample call: the offered call reference lists the call.
TEST(FilteredFillsIsdn, SampleCallByItsCallReference) {
    setenv("VEXA_COMPONENT_PATH", VEXA_COMPONENT_DIR, 1);
    unsetenv("VEXA_SCRIPTED_SCRIPT");
    unsetenv("VEXA_SCRIPTED_LOG");
    TestHost host;
    const auto temp = std::filesystem::temp_directory_path() / ("vexa-fills-" + std::to_string(getpid()));
    std::filesystem::create_directories(temp);
    host.settings.m_strTempPath = temp.string() + "/";
    TestList list;
    CVexaClientDoc doc(host);
    doc.m_pListView = &list;
    ASSERT_TRUE(doc.OnOpenDocument(VEXA_SAMPLES_DIR "/isdn-call.trc"));
    ASSERT_TRUE(doc.m_bOutputLoaded);
    const size_t all = list.rows.size();
    ASSERT_EQ(all, 7u);

    const std::vector<std::string> refs = GatherCallReferences(doc.m_IsdnParser);
    ASSERT_EQ(refs, (std::vector<std::string>{"01"}));  // 81, the other side's, is not offered
    list.ClearList();
    FillByCallReference(doc, CallReferenceKey(refs[0]));
    EXPECT_EQ(list.rows.size(), all);  // both sides of the one call

    const std::vector<std::string> equs = GatherEquNumbers(doc.m_IsdnParser);
    ASSERT_EQ(equs, (std::vector<std::string>{"001-0-02-01"}));
    list.ClearList();
    FillByEquNumber(doc, EquNumberKey(equs[0]));
    EXPECT_EQ(list.rows.size(), all);

    const std::vector<std::string> numbers = GatherCallingPartyNumbers(doc.m_IsdnParser);
    ASSERT_FALSE(numbers.empty());
    list.ClearList();
    FillByCallingPartyNumber(doc, numbers[0]);
    EXPECT_EQ(list.rows.size(), all);
    EXPECT_EQ(list.rows[0].message, "SETUP");

    // The rebuilt text holds the listed signals' blocks and is written to a new file.
    list.ClearList();
    doc.m_strSearchText = "HWSW";
    doc.FillListBySearch();
    const std::string before = doc.m_strOutputPath;
    ASSERT_TRUE(doc.RebuildResultText());
    EXPECT_NE(doc.m_strOutputPath, before);
    const std::string text = ReadFile(doc.m_strOutputPath);
    EXPECT_NE(text.find("00044  HWSW"), std::string::npos);
    EXPECT_EQ(text.find("00042  SWHW"), std::string::npos);
    doc.OnCloseDocument();
    std::filesystem::remove_all(temp);
}

}  // namespace
}  // namespace vexa::test

namespace vexa::test {
namespace {

// The rebuilt text, made from the listed rows in one pass, is what appending the block of
// each row in turn and rewriting the output give, line for line and in its file, where
// each signal carries its own number and its messages whole. (A message split over
// several signals is shown in the block of its last part; the row tests check that.)
bool RebuildRowByRow(CVexaClientDoc &doc, const TestList &list) {
    doc.ClearDisplay();
    char key[16];
    for (int row = 0; row < list.GetRowCount(); ++row) {
        std::snprintf(key, sizeof key, "%05d", std::atoi(list.GetItemText(row, 0).c_str()));
        if (!doc.AppendMessageBlock(key)) return false;
    }
    return doc.RewriteOutput();
}

TEST(FilteredFillsIsdn, RebuiltTextAsTheDocumentMakesIt) {
    setenv("VEXA_COMPONENT_PATH", VEXA_COMPONENT_DIR, 1);
    unsetenv("VEXA_SCRIPTED_SCRIPT");
    TestHost host;
    const auto temp = std::filesystem::temp_directory_path() / ("vexa-rebuild-" + std::to_string(getpid()));
    std::filesystem::create_directories(temp);
    host.settings.m_strTempPath = temp.string() + "/";
    host.settings.m_bWriteAllRows = true;
    for (const char *sample : {"isdn-call.trc", "isdn-busy.trc", "isdn-german.trc"}) {
        TestList list;
        CVexaClientDoc doc(host);
        doc.m_pListView = &list;
        ASSERT_TRUE(doc.OnOpenDocument(std::string(VEXA_SAMPLES_DIR "/") + sample));
        for (const char *direction : {"HWSW", "SWHW", ""}) {
            list.ClearList();
            doc.m_strSearchText = direction;
            doc.FillListBySearch();
            ASSERT_TRUE(RebuildRowByRow(doc, list));
            const std::vector<std::string> expectedLines = Lines(doc.m_DisplayLines);
            const std::string expectedFile = ReadFile(doc.m_strOutputPath);
            ASSERT_TRUE(doc.RebuildResultText());
            EXPECT_EQ(Lines(doc.m_DisplayLines), expectedLines) << sample << " " << direction;
            EXPECT_EQ(ReadFile(doc.m_strOutputPath), expectedFile) << sample << " " << direction;
        }
        // A row whose signal has no block: nothing is written.
        list.rows.push_back(Row{-7, "SWHW", "", "", "", "", "", true});
        const std::string before = doc.m_strOutputPath;
        EXPECT_FALSE(doc.RebuildResultText());
        EXPECT_EQ(doc.m_strOutputPath, before);
        doc.OnCloseDocument();
    }
    std::filesystem::remove_all(temp);
}

}  // namespace
}  // namespace vexa::test
