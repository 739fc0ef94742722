// The interpretation run over ISDN traces: what reaches the component, and the output file
// and run lines it writes, byte for byte, for each setting and each answer of the component.
#include "ScriptText.h"
#include "StringTable.h"
#include "TestSupport.h"

#include <algorithm>

namespace vexa::test {
namespace {

const std::string kPreamble = "KORVAN SIGNAL TRACE   EXCHANGE HQ-01\n\n";
const std::string R1 = "09.41.07.25 00042  SWHW DLRDATALONG  ISDNCP-01  DLB-0102\n";
const std::string D1 = "                        DATA 08 02 00 01 05\n";
const std::string L1 = "                        LEN 5\n";
const std::string S1 = "09.41.07.40 00044  SWSW CALLSUP      ISDNCP-01  CALLCTL-01\n";
const std::string E = "END OF TRACE\n";
const std::string kBody = "Bearer capability (H'04)\nInformation transfer capability: speech||Sending complete (H'A1)";
const std::string kPd = "H'08 Q.931 user-network call control";

std::string SetupMessage(int index = 1, int seq = 42, int status2 = 1, const std::string &dir = "SWHW") {
    return Message(index, seq, status2, true, {dir, "DLRDATALONG", "SETUP", "09.41.07.25", "ISDNCP-01", "DLB-0102", kBody, kPd}) +
           Entry({"callref", std::to_string(index), "H'81"}) + Entry({"decode", "H'81", "1", "H'01"});
}

const std::string kHeader = "Outgoing Message: SETUP\nCall Reference: 01 (CR Flag Set)\nProtocol Discriminator: " + kPd + "\n";
const std::string kBodyLines =
    "      Bearer capability (H'04)\n      Information transfer capability: speech\n      Sending complete (H'A1)\n";
const std::string kBlock = "\n\n\n>>>>\n" + kHeader + "\n\n\n" + kBodyLines + "\n\n<<<<\n\n";

// One SETUP carried by R1..L1, then a signal that is no ISDN data, then the end line.
const std::string kTrace = kPreamble + R1 + D1 + L1 + S1 + E;
const std::string kScript = Parse(1) + Parse(4) + Parse(3, 1, 1, 1) + Parse(0) + Parse(0) + SetupMessage();

class RunTest : public ScriptedTest {};

TEST_F(RunTest, RowsOnlyKeepsTheRecordLineWithTheBlockAndEndsWithTheEndLine) {
    host.settings.m_bWriteAllRows = false;
    host.settings.m_bWriteHexInfo = false;
    Open(kTrace, kScript);
    EXPECT_EQ(Output(), " \n" + R1 + kBlock + E);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(doc->m_bTraceRecognised);
}

TEST_F(RunTest, IncludeHexKeepsTheDataRowsToo) {
    host.settings.m_bWriteAllRows = false;
    host.settings.m_bWriteHexInfo = true;
    Open(kTrace, kScript);
    EXPECT_EQ(Output(), " \n" + R1 + D1 + kBlock + E);
}

TEST_F(RunTest, IncludeAllRowsWritesEveryLineAfterTheBlockItCompletes) {
    for (bool hex : {true, false}) {
        host.settings.m_bWriteAllRows = true;
        host.settings.m_bWriteHexInfo = hex;
        Open(kTrace, kScript);
        EXPECT_EQ(Output(), " \n" + R1 + D1 + kBlock + L1 + S1 + E) << "hex " << hex;
        doc->OnCloseDocument();
    }
}

TEST_F(RunTest, RunLinesCarryTheSameTextEntryByEntry) {
    Open(kTrace, kScript);
    std::vector<std::string> expected = {" \n", R1, "\n\n\n", ">>>>\n", "Outgoing Message: SETUP",
                                         "Call Reference: 01 (CR Flag Set)\n",
                                         "Protocol Discriminator: " + kPd, "\n\n\n",
                                         "      Bearer capability (H'04)",
                                         "      Information transfer capability: speech",
                                         "      Sending complete (H'A1)", "\n\n", "<<<<\n\n", E};
    EXPECT_EQ(Lines(doc->m_RunLines), expected);
    EXPECT_EQ(Lines(doc->m_DisplayLines), expected);
}

TEST_F(RunTest, TheRunWorksOutTheResultRowsOnlyWhereAViewWillShowThem) {
    Open(kTrace, kScript);
    ASSERT_TRUE(doc->m_RunLayout);
    EXPECT_TRUE(doc->m_RunLayout->Matches(doc->m_DisplayLines));
    // Every line but the two markers takes a row; the block's first lines are magenta,
    // the later ones brown.
    EXPECT_EQ(doc->m_RunLayout->RowCount(), doc->m_DisplayLines.size() - 2);
    EXPECT_EQ(doc->m_RunLayout->RowColour(doc->m_DisplayLines, 3), LineColour::Magenta);
    EXPECT_EQ(doc->m_RunLayout->RowColour(doc->m_DisplayLines, 7), LineColour::Brown);
    doc->OnCloseDocument();

    const std::vector<std::string> shown = Lines(doc->m_DisplayLines);
    doc = std::make_unique<CVexaClientDoc>(host);
    doc->m_pListView = &list;
    doc->OnOpenDocument(tracePath);  // no result view
    EXPECT_FALSE(doc->m_RunLayout);
    EXPECT_EQ(Lines(doc->m_DisplayLines), shown);
    doc->OnCloseDocument();

    // Without any window the run lines read their text in the finished file: the same.
    doc = std::make_unique<CVexaClientDoc>(host);
    doc->OnOpenDocument(tracePath);
    EXPECT_FALSE(doc->m_RunLayout);
    EXPECT_EQ(Lines(doc->m_RunLines), shown);
    EXPECT_EQ(Lines(doc->m_DisplayLines), shown);
}

// vexa-interpret printing or saving the interpretation keeps nothing for the views: the
// run then reads the trace from the file, blank lines and carriage returns included, and
// must make the very same file.
TEST_F(RunTest, AFileOnlyRunMakesTheSameFileAndKeepsNoLines) {
    for (bool allRows : {true, false}) {
        host.settings.m_bWriteAllRows = allRows;
        const std::string crlf = R1.substr(0, R1.size() - 1) + "\r\n";
        Open(kPreamble + crlf + "\n\n" + D1 + "\r\n" + L1 + S1 + E, kScript);
        const std::string kept = Output();
        auto lines = [this] {
            std::vector<std::string> parsed;
            for (const auto &c : Calls())
                if (c.starts_with("ParseLine ")) parsed.push_back(c);
            return parsed;
        };
        const std::vector<std::string> keptLines = lines();
        ASSERT_FALSE(doc->m_RunLines.empty());
        doc->OnCloseDocument();

        WriteFile(logPath, "");
        doc = std::make_unique<CVexaClientDoc>(host);
        doc->m_bKeepLines = false;
        ASSERT_TRUE(doc->OnOpenDocument(tracePath));
        EXPECT_TRUE(doc->m_bOutputLoaded);
        EXPECT_EQ(Output(), kept) << "all rows " << allRows;
        EXPECT_EQ(lines(), keptLines) << "all rows " << allRows;
        EXPECT_TRUE(doc->m_RunLines.empty());
        EXPECT_TRUE(doc->m_TraceLines.empty());
        doc->OnCloseDocument();
        WriteFile(logPath, "");
    }
}

TEST_F(RunTest, PreambleNeverReachesTheComponentAndBlankLinesAreSkipped) {
    host.settings.m_bWriteAllRows = true;
    Open(kPreamble + R1 + "\n\n" + D1 + L1 + E, Parse(1) + Parse(4) + Parse(3, 1, 1, 1) + SetupMessage());
    std::vector<std::string> parsed;
    for (const auto &c : Calls())
        if (c.starts_with("ParseLine ")) parsed.push_back(c.substr(10));
    EXPECT_EQ(parsed, (std::vector<std::string>{R1.substr(0, R1.size() - 1) + "\\n", D1.substr(0, D1.size() - 1) + "\\n",
                                                L1.substr(0, L1.size() - 1) + "\\n", "END OF TRACE\\n"}));
    // The preamble is not written either, even with every row included.
    EXPECT_EQ(Output().find("KORVAN"), std::string::npos);
}

TEST_F(RunTest, EndIsFedWhenTheFileHasNoEndLineAndClosesTheOutput) {
    Open(kPreamble + R1 + D1 + L1, Parse(1) + Parse(4) + Parse(3, 1, 1, 1) + SetupMessage());
    EXPECT_EQ(Output(), " \n" + R1 + kBlock + "END");
    auto calls = Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "ParseLine END"), 1);
}

TEST_F(RunTest, WithAllRowsTheEndMarkIsNotFedAtTheEndOfTheFile) {
    host.settings.m_bWriteAllRows = true;
    Open(kPreamble + R1 + D1 + L1, Parse(1) + Parse(4) + Parse(3, 1, 1, 1) + SetupMessage());
    auto calls = Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "ParseLine END"), 0);
    EXPECT_EQ(Output(), " \n" + R1 + D1 + kBlock + L1);
}

TEST_F(RunTest, CompletionTwoWritesTheCompletingLineAfterTheBlock) {
    const std::string R2 = "09.41.07.31 00043  HWSW DLIDATALONG  DLB-0102   ISDNCP-01\n";
    const std::string L2 = "                        LEN 5\n";
    std::string script = Parse(1) + Parse(4) + Parse(1, 2, 1, 1) + Parse(3, 1, 1, 2) + SetupMessage() +
                         Message(2, 43, 1, true, {"HWSW", "DLIDATALONG", "CONNECT", "09.41.07.31", "DLB-0102", "ISDNCP-01", "Display (H'28)\n  Text: 'hello'", kPd}) +
                         Entry({"callref", "2", "H'01"}) + Entry({"decode", "H'01", "0", "H'01"});
    Open(kPreamble + R1 + D1 + R2 + L2, script);
    const std::string block43 = "\n\n\n>>>>\nIncoming Message: CONNECT\nCall Reference: 01 (CR Flag Not Set)\nProtocol Discriminator: " +
                                kPd + "\n\n\n\n      Display (H'28)\n        Text: 'hello'\n\n\n<<<<\n\n";
    EXPECT_EQ(Output(), " \n" + R1 + kBlock + R2 + block43 + "END");
}

TEST_F(RunTest, RepeatedSequenceNumberHoldsTheLineForTheNextBlock) {
    const std::string R3 = "09.41.07.50 00042  SWHW DLRDATA      ISDNCP-01  DLB-0102\n";
    const std::string L3 = "                        LEN 3\n";
    const std::string R4 = "09.41.08.00 00045  SWHW DLRDATALONG  ISDNCP-01  DLB-0102\n";
    const std::string L4 = "                        LEN 4\n";
    std::string script = Parse(1) + Parse(3, 1, 1, 1) + Parse(1) + Parse(3, 1, 1, 2) + Parse(1) + Parse(3, 1, 1, 3) +
                         SetupMessage(1, 42) + SetupMessage(2, 42) + SetupMessage(3, 45) + Entry({"count", "42", "1"});
    std::string block45 = kBlock;  // the same SETUP for signal 45
    Open(kPreamble + R1 + L1 + R3 + L3 + R4 + L4, script);
    EXPECT_EQ(Output(), " \n" + R1 + kBlock + R3 + L3 + R4 + block45 + "END");

    host.settings.m_bWriteAllRows = true;
    doc->OnCloseDocument();
    Open(kPreamble + R1 + L1 + R3 + L3 + R4 + L4, script);
    // With every row included, the repeating line is not written at all.
    EXPECT_EQ(Output(), " \n" + R1 + kBlock + L1 + R3 + R4 + block45 + L4);
}

TEST_F(RunTest, SignalWithoutMessagesStillGetsAClosingMarker) {
    const std::string R2 = "09.41.08.00 00051  SWHW DLRDATALONG  ISDNCP-01  DLB-0102\n";
    std::string script = Parse(1) + Parse(3, 1, 1, 1) + Parse(1) + Parse(3, 1, 1, 2) + SetupMessage(1, 50) + SetupMessage(2, 51) +
                         Entry({"count", "50", "0"});
    Open(kPreamble + R1 + L1 + R2 + L1, script);
    // The held record line of the empty signal waits for the next block.
    EXPECT_EQ(Output(), " \n<<<<\n\n" + R1 + R2 + kBlock + "END");
}

TEST_F(RunTest, SignalNumberZeroGetsNoHeader) {
    Open(kPreamble + R1 + L1, Parse(1) + Parse(3, 1, 1, 1) + SetupMessage(1, 0));
    EXPECT_EQ(Output(), " \n" + R1 + "\n\n\n>>>>\n" + kBodyLines + "\n\n<<<<\n\n" + "END");
}

TEST_F(RunTest, SeveralMessagesOfOneSignalShareOneHeader) {
    std::string script = Parse(1) + Parse(3, 1, 1, 2) + SetupMessage(1, 42) +
                         Message(2, 42, 1, true, {"SWHW", "DLRDATALONG", "INFORMATION", "t", "a", "b", "Keypad facility (H'2C)", kPd}) +
                         Entry({"callref", "2", "H'81"});
    Open(kPreamble + R1 + L1, script);
    EXPECT_EQ(Output(), " \n" + R1 + "\n\n\n>>>>\n" + kHeader + "\n\n\n" + kBodyLines + "\n\n" +
                            "      Keypad facility (H'2C)\n\n\n<<<<\n\n" + "END");
}

TEST_F(RunTest, StatusZeroWritesAHeaderOnlyBlockWithTwoClosingMarkers) {
    Open(kPreamble + R1 + L1, Parse(1) + Parse(3, 1, 0, 1) + SetupMessage());
    EXPECT_EQ(Output(), " \n" + R1 + ">>>>\n" + kHeader + "\n\n<<<<\n\n<<<<\n\n" + "END");
}

TEST_F(RunTest, HeaderOnlyBlockOfTheGermanAndAustralianVariantsHasNoDiscriminator) {
    for (int protocol : {3, 4}) {
        Open(kPreamble + R1 + L1, Parse(1) + Parse(3, 1, 0, 1) + SetupMessage(), protocol);
        EXPECT_EQ(Output(), " \n" + R1 + ">>>>\nOutgoing Message: SETUP\nCall Reference: 01 (CR Flag Set)\n\n\n<<<<\n\n<<<<\n\n" + "END")
            << "protocol " << protocol;
        doc->OnCloseDocument();
    }
}

TEST_F(RunTest, AustralianHeaderHasNoDiscriminatorLine) {
    Open(kPreamble + R1 + L1, Parse(1) + Parse(3, 1, 1, 1) + SetupMessage(), 4);
    EXPECT_EQ(Output(), " \n" + R1 + "\n\n\n>>>>\nOutgoing Message: SETUP\nCall Reference: 01 (CR Flag Set)\n\n\n\n" +
                            kBodyLines + "\n\n<<<<\n\n" + "END");
}

TEST_F(RunTest, GermanHeaderShowsTheMessagesCallReference) {
    Open(kPreamble + R1 + L1, Parse(1) + Parse(3, 1, 1, 1) + SetupMessage(), 3);
    EXPECT_EQ(Output(), " \n" + R1 + kBlock + "END");
}

TEST_F(RunTest, DirectionLineOnlyForStatusOneAndOutgoingOnlyForExactlySWHW) {
    Open(kPreamble + R1 + L1, Parse(1) + Parse(3, 1, 1, 1) + SetupMessage(1, 42, 2));
    EXPECT_EQ(Output().find("Message: SETUP"), std::string::npos);
    doc->OnCloseDocument();
    Open(kPreamble + R1 + L1, Parse(1) + Parse(3, 1, 1, 1) + SetupMessage(1, 42, 1, "swhw"));
    EXPECT_NE(Output().find("Incoming Message: SETUP\n"), std::string::npos);
}

TEST_F(RunTest, StatusMinusFourWritesTheHeaderWithoutBody) {
    Open(kPreamble + R1 + L1, Parse(1) + Parse(3, 1, -4, 1) + SetupMessage());
    EXPECT_EQ(Output(), " \n" + R1 + "\n\n\n>>>>\n" + kHeader + "\n\n\n<<<<\n\n" + "END");
}

TEST_F(RunTest, SpecialBlocksOfTheIsdnStatuses) {
    struct Case {
        int status;
        std::string content;
    } cases[] = {
        {-5, "Protocol Discriminator: H'41 unknown protocol discriminator\n"},
        {-6, "Protocol Discriminator: " + kPd + "\nCall Reference: H'41 unknown protocol discriminator\n"},
        {-7, "Outgoing Message: SETUP\nProtocol Discriminator: " + kPd +
                 "\nCall Reference: 01 (CR Flag Set)\nMessage Type: H'41 unknown protocol discriminator\n"},
    };
    for (const Case &c : cases) {
        std::string script = Parse(1) + Parse(3, 1, c.status, 1) +
                             Message(1, 42, 1, false, {"SWHW", "DLRDATALONG", "SETUP", "t", "a", "b", "H'41 unknown protocol discriminator", kPd}) +
                             Entry({"callref", "1", "H'81"}) + Entry({"decode", "H'81", "1", "H'01"});
        for (int protocol : {1, 3}) {
            Open(kPreamble + R1 + L1, script, protocol);
            EXPECT_EQ(Output(), " \n" + R1 + ">>>>\n" + c.content + "\n\n<<<<\n\n<<<<\n\n" + "END")
                << "status " << c.status << " protocol " << protocol;
            doc->OnCloseDocument();
        }
    }
}

TEST_F(RunTest, PendingMessageAtTheEndGetsAnIncompleteBlockWithTheLastDecodedText) {
    const std::string R2 = "09.41.08.00 00046  SWHW DLRDATA      ISDNCP-01  DLB-0102\n";
    const std::string P2 = "                        PART 1/2\n";
    std::string script = Parse(1) + Parse(3, 1, 1, 1) + Parse(1) + Parse(3) + SetupMessage() + Entry({"pending", "-10"});
    Open(kPreamble + R1 + L1 + R2 + P2, script);
    EXPECT_EQ(Output(), " \n" + R1 + kBlock + ">>>>\nIncomplete Message: : " + kBody + "\n\n\n<<<<\n\n" + "END");
}

TEST_F(RunTest, PendingMessageAtTheEndLineIsReportedBeforeIt) {
    std::string script = Parse(1) + Parse(3, 1, 1, 1) + Parse(1) + Parse(0) + SetupMessage() + Entry({"pending", "-10"});
    Open(kPreamble + R1 + L1 + R1 + E, script);
    EXPECT_EQ(Output(), " \n" + R1 + kBlock + ">>>>\nIncomplete Message: : " + kBody + "\n\n\n<<<<\n\n" + E);
}

TEST_F(RunTest, BodyLinesDropOnlyTheFirstTildeAndKeepEmptyLines) {
    std::string script = Parse(1) + Parse(3, 1, 1, 1) +
                         Message(1, 42, 2, true, {"SWHW", "X", "SETUP", "t", "a", "b", "x~y~z||\n||A\n\nB", kPd}) +
                         Entry({"count", "42", "1"});
    Open(kPreamble + R1 + L1, script);
    EXPECT_EQ(Output(), " \n" + R1 + "\n\n\n>>>>\nCall Reference:  (CR Flag Not Set)\nProtocol Discriminator: " + kPd +
                            "\n\n\n\n      xy~z\n      \n      A\n      \n      B\n\n\n<<<<\n\n" + "END");
}

TEST_F(RunTest, CallReferenceValuesAreNormalised) {
    std::string script = Parse(1) + Parse(3, 1, 1, 1) + SetupMessage() + Entry({"callref", "1", "H'81||H'82"}) +
                         Entry({"decode", "H'81||H'82", "0", "H'01||H'82"});
    Open(kPreamble + R1 + L1, script);
    EXPECT_NE(Output().find("Call Reference: 01  82 (CR Flag Not Set)\n"), std::string::npos);
}

}  // namespace
}  // namespace vexa::test
