// How the component reads a trace: line kinds, completions, split messages, pending
// messages at the end, and the values the program and the message list read back.
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace vexa::isdn::test;

namespace {

const std::string kIndent(24, ' ');

// The example of the trace format description.
const char *kExample =
    "KORVAN SIGNAL TRACE   EXCHANGE HQ-01   STARTED 2026-12-05 09.41.00\n"
    "TRACE SET: ISDN  EQU 001-0-02-01\n"
    "\n"
    "09.41.07.25 00042  SWHW DLRDATALONG  ISDNCP-01  DLB-0102\n"
    "                        EQU NO      001-0-02-01\n"
    "                        DATA 08 02 00 01 05 04 03 80 90 A3 18 03 A9 83 81 6C\n"
    "                        DATA 04 00 80 31 32\n"
    "                        LEN 21\n"
    "09.41.07.31 00043  HWSW DLIDATALONG  DLB-0102   ISDNCP-01\n"
    "                        EQU NO      001-0-02-01\n"
    "                        DATA 08 02 80 01 02\n"
    "                        LEN 5\n"
    "09.41.07.40 00044  SWSW CALLSUP      ISDNCP-01  CALLCTL-01\n"
    "                        B-CHANNEL 1 SEIZED\n"
    "END OF TRACE\n";

std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        lines.push_back(text.substr(pos, nl - pos + 1));
        pos = nl + 1;
    }
    return lines;
}

TEST(LineReading, KindsAndCompletionsOfTheExample) {
    ParserClient c;
    ASSERT_TRUE(c.Loaded());
    std::vector<std::string> lines = Lines(kExample);
    struct Expect {
        int kind, completion, status;
    } expected[] = {{1, 0, 0}, {2, 0, 0}, {4, 0, 0}, {4, 0, 0}, {3, 1, 1}, {1, 0, 0}, {2, 0, 0},
                    {4, 0, 0}, {3, 1, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    for (size_t i = 3; i < lines.size(); ++i) {
        LineAnswer a = c.ParseLine(lines[i]);
        const Expect &e = expected[i - 3];
        EXPECT_EQ(a.kind, e.kind) << lines[i];
        EXPECT_EQ(a.completion, e.completion) << lines[i];
        if (a.completion) {
            EXPECT_EQ(a.status, e.status) << lines[i];
        }
    }
    EXPECT_EQ(c.GetPendingStatus(), 0);
    EXPECT_EQ(c.GetMessageCount(), 2);
}

TEST(LineReading, StringsOfACompletedMessage) {
    ParserClient c;
    auto done = c.Run(kExample);
    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[0].index, 1);
    EXPECT_EQ(done[0].sequence, 42);
    EXPECT_EQ(done[0].count, 1);
    const MessageView &m = done[0].messages[0];
    EXPECT_EQ(m.direction, "SWHW");
    EXPECT_EQ(m.signalName, "DLRDATALONG");
    EXPECT_EQ(m.messageName, "SETUP");
    EXPECT_EQ(m.time, "09.41.07.25");
    EXPECT_EQ(m.originator, "ISDNCP-01");
    EXPECT_EQ(m.destination, "DLB-0102");
    EXPECT_TRUE(m.valid);
    EXPECT_EQ(done[1].messages[0].direction, "HWSW");
    EXPECT_EQ(done[1].messages[0].messageName, "CALL PROCEEDING");
    EXPECT_EQ(done[1].messages[0].originator, "DLB-0102");

    std::string equ;
    EXPECT_TRUE(c.GetEquNumber(1, equ));
    EXPECT_EQ(equ, "EQU NO      001-0-02-01");
    MessageView byIndex;
    ASSERT_TRUE(c.GetMessage(2, byIndex));
    EXPECT_EQ(byIndex.sequence, 43);
    EXPECT_EQ(byIndex.messageName, "CALL PROCEEDING");
    EXPECT_FALSE(c.GetMessage(3, byIndex));
    EXPECT_EQ(c.GetSequenceMessage(2, 42).status, 0);
}

// The words of a record line are separated by blanks or tabs, and may be of any length.
TEST(LineReading, RecordLineWordsBetweenTabsAndBlanks) {
    ParserClient c;
    const std::string trace = "10.00.00.00 00001  SWHW DLRDATALONG\tSWITCH-UNIT-0001-EXTENDED \t  DLB\tfree text\n" +
                              kIndent + "DATA 08 02 00 01 0F\n" + kIndent + "LEN 5\n" +
                              "10.00.00.01 00002  HWSW DLIDATALONG  ABCDEFGH IJKLMNOPQRSTUVW\n" + kIndent +
                              "DATA 08 02 80 01 07\n" + kIndent + "LEN 5\n";
    auto done = c.Run(trace);
    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[0].messages[0].signalName, "DLRDATALONG");
    EXPECT_EQ(done[0].messages[0].originator, "SWITCH-UNIT-0001-EXTENDED");
    EXPECT_EQ(done[0].messages[0].destination, "DLB");
    EXPECT_EQ(done[1].messages[0].originator, "ABCDEFGH");
    EXPECT_EQ(done[1].messages[0].destination, "IJKLMNOPQRSTUVW");
}

TEST(LineReading, MissingLenIsCompletedByTheNextRecordLineOrTheEnd) {
    ParserClient c;
    std::string trace = Signal("10.00.00.00", 1, "SWHW", "DLRDATALONG", "001-0-02-01", "08 02 00 01 0F", -2) +
                        Signal("10.00.00.10", 2, "HWSW", "DLIDATALONG", "001-0-02-01", "08 02 80 01 0F", -2);
    auto done = c.Run(trace);
    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[0].completion, 2);  // the record line of signal 2 follows the block
    EXPECT_EQ(done[0].sequence, 1);
    EXPECT_EQ(done[1].completion, 1);  // the program's "END"
    EXPECT_EQ(done[1].sequence, 2);
    EXPECT_FALSE(done[0].messages[0].valid);
    EXPECT_TRUE(HasLine(done[0].messages[0].text, "!!!LEN row missing: the signal may be incomplete!!!"));
}

TEST(LineReading, ASignalIsCompletedOnce) {
    ParserClient c;
    std::string lines = Signal("10.00.00.00", 1, "SWHW", "DLRDATALONG", "", "08 02 00 01 0F");
    for (const std::string &l : Lines(lines)) c.ParseLine(l);
    LineAnswer extraData = c.ParseLine(kIndent + "DATA 01 02\n");
    LineAnswer extraLen = c.ParseLine(kIndent + "LEN 2\n");
    LineAnswer next = c.ParseLine("10.00.00.10 00002  SWSW CALLSUP      A  B\n");
    EXPECT_EQ(extraData.completion, 0);
    EXPECT_EQ(extraData.kind, 0);
    EXPECT_EQ(extraLen.completion, 0);
    EXPECT_EQ(next.completion, 0);
    EXPECT_EQ(c.GetMessageCount(), 1);
}

TEST(LineReading, FewerOctetsThanLen) {
    ParserClient c;
    auto done = c.Run(Signal("10.00.00.00", 7, "SWHW", "DLRDATALONG", "", "08 02 80 01 45 08 02 82 91", 12));
    ASSERT_EQ(done.size(), 1u);
    const MessageView &m = done[0].messages[0];
    EXPECT_FALSE(m.valid);
    EXPECT_TRUE(HasLine(m.text, "!!!Fewer octets than LEN says: 9 DATA octets, LEN 12!!!"));
    EXPECT_TRUE(HasLine(Part(m.text, "Cause (H'08)"), "Cause value: 17 H'11 User busy"));
}

TEST(LineReading, BadHexInDataRows) {
    ParserClient c;
    std::string trace = "10.00.00.00 00008  SWHW DLRDATALONG  A  B\n" + kIndent + "DATA 08 02 80 01 45 08 02 82 9\n" +
                        kIndent + "DATA 1 XY\n" + kIndent + "LEN 10\n";
    auto done = c.Run(trace);
    ASSERT_EQ(done.size(), 1u);
    const MessageView &m = done[0].messages[0];
    EXPECT_FALSE(m.valid);
    EXPECT_EQ(m.messageName, "DISCONNECT");
    EXPECT_NE(m.text.find("!!!DATA row with an odd number of hex digits"), std::string::npos) << m.text;
    EXPECT_NE(m.text.find("!!!DATA row with characters that are not hex digits: \"1 XY\"!!!"), std::string::npos)
        << m.text;
}

TEST(LineReading, SplitMessageInterleavedWithOtherSignals) {
    ParserClient c;
    // SETUP split in two parts on equipment A, interleaved with a whole message of
    // equipment B and an internal signal.
    std::string trace =
        Signal("11.00.00.00", 100, "SWHW", "DLRDATA", "001-0-02-01", "08 02 00 05 05 04 03 80 90 A3", -1, "1/2") +
        Signal("11.00.00.05", 101, "HWSW", "DLIDATALONG", "001-0-02-02", "08 02 80 09 0F") +
        "11.00.00.06 00102  SWSW CALLSUP      ISDNCP-01  CALLCTL-01\n" + kIndent + "B-CHANNEL 1 SEIZED\n" +
        Signal("11.00.00.10", 103, "SWHW", "DLRDATA", "001-0-02-01", "70 05 C1 31 32 33 34", -1, "2/2");
    auto done = c.Run(trace);
    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[0].sequence, 101);
    EXPECT_EQ(done[1].sequence, 100);  // the signal of the first octets
    const MessageView &m = done[1].messages[0];
    EXPECT_EQ(m.messageName, "SETUP");
    EXPECT_EQ(m.time, "11.00.00.00");
    EXPECT_EQ(m.signalName, "DLRDATA");
    EXPECT_TRUE(m.valid) << m.text;
    EXPECT_TRUE(HasLine(Part(m.text, "Called party number (H'70)"), "Number digits: \"1234\""));
}

TEST(LineReading, PartRowKinds) {
    ParserClient c;
    std::vector<int> kinds;
    for (const std::string &l :
         Lines(Signal("11.00.00.00", 100, "SWHW", "DLRDATA", "001-0-02-01", "08 02 00 05 05", -1, "1/2")))
        kinds.push_back(c.ParseLine(l).kind);
    EXPECT_EQ(kinds, (std::vector<int>{1, 2, 3, 4, 3}));
}

TEST(LineReading, PartsThatCannotBeJoinedAreShownOnTheirOwn) {
    ParserClient c;
    std::string trace = Signal("11.00.00.00", 1, "SWHW", "DLRDATA", "E1", "08 02 00 05 0F", -1, "0/2") +
                        Signal("11.00.00.01", 2, "SWHW", "DLRDATA", "E1", "08 02 00 05 0F", -1, "3/2") +
                        Signal("11.00.00.02", 3, "SWHW", "DLRDATA", "E2", "08 02 00 05 0F", -1, "2/2");
    auto done = c.Run(trace);
    ASSERT_EQ(done.size(), 3u);
    for (const Completion &d : done) {
        ASSERT_EQ(d.messages.size(), 1u);
        EXPECT_FALSE(d.messages[0].valid);
        EXPECT_EQ(d.messages[0].messageName, "CONNECT ACKNOWLEDGE");
    }
    EXPECT_NE(done[0].messages[0].text.find("PART 0/2: part number out of range"), std::string::npos);
    EXPECT_NE(done[1].messages[0].text.find("PART 3/2: part number out of range"), std::string::npos);
    EXPECT_NE(done[2].messages[0].text.find("PART 2/2 without the parts before it"), std::string::npos);
}

TEST(LineReading, UnfinishedMessageIsPendingOnceAfterTheEndLine) {
    ParserClient c;
    std::string trace = Signal("12.00.00.00", 5, "SWHW", "DLRDATA", "E1", "08 02 00 05 05", -1, "1/3") +
                        Signal("12.00.00.01", 6, "SWHW", "DLRDATA", "E1", "04 03 80 90 A3", -1, "2/3");
    for (const std::string &l : Lines(trace)) {
        EXPECT_EQ(c.ParseLine(l).completion, 0);
        EXPECT_EQ(c.GetPendingStatus(), 0);  // never before an end line
    }
    LineAnswer end = c.ParseLine("END OF TRACE\n");
    EXPECT_EQ(end.completion, 0);
    EXPECT_EQ(c.GetPendingStatus(), -10);
    EXPECT_EQ(c.GetPendingStatus(), 0);
    EXPECT_EQ(c.GetMessageCount(), 0);
}

TEST(LineReading, TraceCutInTheMiddleOfAMessage) {
    ParserClient c;
    // The file ends after a DATA row: no LEN, no end line; the program feeds "END".
    std::string trace = Signal("12.00.00.00", 9, "SWHW", "DLRDATALONG", "E1", "08 02 00 05 45 08 02", -2);
    bool pending = false;
    auto done = c.Run(trace, &pending);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].completion, 1);
    EXPECT_FALSE(done[0].messages[0].valid);
    EXPECT_FALSE(pending);
}

TEST(LineReading, TenThousandPartsStayBounded) {
    ParserClient c;
    std::string trace;
    const int parts = 10000;
    trace.reserve(parts * 200);
    for (int i = 1; i <= parts; ++i)
        trace += Signal("13.00.00.00", i % 32768, "SWHW", "DLRDATA", "E1",
                        i == 1 ? "08 02 00 05 7B 28 0E 41 41 41 41 41 41 41 41 41 41 41 41 41 41"
                               : "2C 0E 41 41 41 41 41 41 41 41 41 41 41 41 41 41",
                        -1, std::to_string(i) + "/" + std::to_string(parts));
    auto done = c.Run(trace);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].sequence, 1);
    const MessageView &m = done[0].messages[0];
    EXPECT_FALSE(m.valid);
    EXPECT_NE(m.text.find("Message longer than 65535 octets"), std::string::npos);
    EXPECT_LE(m.text.size(), 70000u);
}

TEST(LineReading, SignalNamesAreConfigurableAndCaseSensitive) {
    ParserClient c;
    ASSERT_TRUE(c.SetSignalNames({"RDAT", "RDATL", "IDAT", "IDATL", "IUIDATL"}));
    std::string trace = Signal("10.00.00.00", 1, "SWHW", "DLRDATALONG", "", "08 02 00 01 0F") +
                        Signal("10.00.00.01", 2, "SWHW", "rdatl", "", "08 02 00 01 0F") +
                        Signal("10.00.00.02", 3, "SWHW", "RDATL", "", "08 02 00 01 0F");
    auto done = c.Run(trace);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].sequence, 3);
}

TEST(LineReading, LongLinesArriveInPieces) {
    ParserClient c;
    std::string longRecord = "10.00.00.00 00001  SWHW DLRDATALONG  A  B  " + std::string(700, 'x') + "\n";
    std::string trace = longRecord + kIndent + "DATA 08 02 00 01 0F\n" + kIndent + "LEN 5\n" + kIndent +
                        std::string(600, ' ') + "DATA 99\n";
    auto done = c.Run(trace);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_TRUE(done[0].messages[0].valid);
    EXPECT_EQ(done[0].messages[0].messageName, "CONNECT ACKNOWLEDGE");
}

// Lines of exactly 511 or 1022 characters arrive cut before their line end, whose piece
// the program skips: the line after them is still read as a line of its own.
TEST(LineReading, LinesOfExactly511CharactersDoNotSwallowTheNextLine) {
    std::string freeText = kIndent + "B-CHANNEL 1 SEIZED ";
    freeText += std::string(511 - freeText.size(), 'x');
    std::string dataRow = kIndent + "DATA 08 02 00 01 0F";
    dataRow += std::string(511 - dataRow.size(), ' ');
    for (const char *lineEnd : {"\n", "\r\n"}) {
        ParserClient c;
        const std::string trace = "10.00.00.00 00001  SWHW DLRDATALONG  A  B\n" + dataRow + lineEnd + kIndent + "LEN 5" +
                                  lineEnd + freeText + lineEnd +
                                  Signal("10.00.00.01", 2, "HWSW", "DLIDATALONG", "", "08 02 80 01 07") +
                                  std::string(1022, 'y') + lineEnd +
                                  Signal("10.00.00.02", 3, "SWHW", "DLRDATALONG", "", "08 02 00 01 0F");
        auto done = c.Run(trace);
        ASSERT_EQ(done.size(), 3u) << "line end " << (lineEnd[0] == '\r' ? "CR LF" : "LF");
        EXPECT_EQ(done[0].sequence, 1);
        EXPECT_TRUE(done[0].messages[0].valid) << done[0].messages[0].text;
        EXPECT_EQ(done[1].sequence, 2);
        EXPECT_EQ(done[1].messages[0].messageName, "CONNECT");
        EXPECT_EQ(done[2].sequence, 3);
        EXPECT_EQ(done[2].messages[0].messageName, "CONNECT ACKNOWLEDGE");
    }
}

TEST(LineReading, TheRestOfADataRowLongerThan511CharactersIsNotRead) {
    ParserClient c;
    std::string dataRow = kIndent + "DATA 08 02 00 01 0F";
    dataRow += std::string(520 - dataRow.size(), ' ') + "7D";
    auto done = c.Run("10.00.00.00 00001  SWHW DLRDATALONG  A  B\n" + dataRow + "\n" + kIndent + "LEN 5\n");
    ASSERT_EQ(done.size(), 1u);
    EXPECT_FALSE(done[0].messages[0].valid);
    EXPECT_TRUE(HasLine(done[0].messages[0].text, "!!!DATA row longer than 511 characters: its end was not read!!!"))
        << done[0].messages[0].text;
}

TEST(LineReading, UnnumberedSignalsEachReportTheirOwnMessage) {
    ParserClient c;
    std::string trace = Signal("10.00.00.00", 0, "SWHW", "DLRDATALONG", "", "08 02 00 01 0F") +
                        Signal("10.00.00.01", 0, "HWSW", "DLIDATALONG", "", "08 02 80 01 07");
    auto done = c.Run(trace);
    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[0].count, 1);
    EXPECT_EQ(done[1].count, 1);
    EXPECT_EQ(done[0].messages[0].messageName, "CONNECT ACKNOWLEDGE");
    EXPECT_EQ(done[1].messages[0].messageName, "CONNECT");
}

// A call in both directions on two equipments, for the list's lookups.
std::string CallTrace() {
    return Signal("09.00.00.00", 1, "SWHW", "DLRDATALONG", "001-0-02-01",
                  "08 02 00 01 05 04 03 80 90 A3 6C 05 21 83 35 35 35") +
           Signal("09.00.00.01", 2, "HWSW", "DLIDATALONG", "001-0-02-01", "08 02 80 01 02") +
           Signal("09.00.00.02", 3, "SWHW", "DLRDATALONG", "001-0-02-02",
                  "08 02 00 02 05 04 03 80 90 A3 6C 04 21 83 36 36") +
           Signal("09.00.00.03", 4, "HWSW", "DLIDATALONG", "001-0-02-01", "08 02 80 01 5A 08 02 82 90") +
           Signal("09.00.00.04", 5, "SWHW", "DLRDATALONG", "001-0-02-01",
                  "08 02 00 03 05 04 03 80 90 A3 6C 05 21 83 35 35 35");
}

TEST(Lookups, ByDirectionAndName) {
    ParserClient c;
    c.Run(CallTrace());
    EXPECT_EQ(c.GetMessageCount(), 5);
    EXPECT_EQ(c.FindFirstMessage("SWHW"), 1);
    EXPECT_EQ(c.FindNextMessage("SWHW", 1), 3);
    EXPECT_EQ(c.FindNextMessage("SWHW", 3), 5);
    EXPECT_EQ(c.FindNextMessage("SWHW", 5), -1);
    EXPECT_EQ(c.FindFirstMessage("HWSW"), 2);
    EXPECT_EQ(c.FindNextMessage("HWSW", 2), 4);
    EXPECT_EQ(c.FindFirstMessage("RELEASE COMPLETE"), 4);
    EXPECT_EQ(c.FindFirstMessage("SWSW"), -1);
}

TEST(Lookups, CallReferenceFindsBothSidesOfACall) {
    ParserClient c;
    c.Run(CallTrace());
    std::string raw, value;
    ASSERT_TRUE(c.GetCallReference(2, raw));
    EXPECT_EQ(raw, "H'80||H'01");
    EXPECT_TRUE(c.DecodeCallReference(raw, value));
    EXPECT_EQ(value, "H'00||H'01");
    ASSERT_TRUE(c.GetCallReference(1, raw));
    EXPECT_FALSE(c.DecodeCallReference(raw, value));
    EXPECT_EQ(value, "H'00||H'01");

    EXPECT_EQ(c.FindFirstByCallReference("H'80||H'01"), 1);
    EXPECT_EQ(c.FindNextByCallReference("H'80||H'01", 1), 2);
    EXPECT_EQ(c.FindNextByCallReference("H'00||H'01", 2), 4);
    EXPECT_EQ(c.FindNextByCallReference("H'00||H'01", 4), -1);
    EXPECT_EQ(c.FindFirstByCallReference("00  02"), 3);  // as the program writes it
    EXPECT_EQ(c.FindFirstByCallReference("H'00||H'09"), -1);
    EXPECT_EQ(c.FindFirstByCallReference("nonsense"), -1);
}

TEST(Lookups, EquipmentAndCallingPartyNumbers) {
    ParserClient c;
    c.Run(CallTrace());
    EXPECT_EQ(c.FindFirstByEquNumber("EQU NO      001-0-02-01"), 1);
    EXPECT_EQ(c.FindNextByEquNumber("EQU NO      001-0-02-01", 2), 4);
    EXPECT_EQ(c.FindFirstByEquNumber("EQU NO      001-0-02-02"), 3);
    EXPECT_EQ(c.FindFirstByEquNumber("001-0-02-02"), 3);
    EXPECT_EQ(c.FindFirstByEquNumber("EQU NO 001-0-02-09"), -1);

    std::string number;
    int32_t h = c.GetNextCallingPartyNumber(-1, number);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(number, "555");
    h = c.GetNextCallingPartyNumber(h, number);
    EXPECT_GE(h, 0);
    EXPECT_EQ(number, "66");
    EXPECT_EQ(c.GetNextCallingPartyNumber(h, number), -1);
    EXPECT_EQ(c.FindByCallingPartyNumber("66"), 3);
    EXPECT_EQ(c.FindByCallingPartyNumber("555"), 1);
    EXPECT_EQ(c.FindByCallingPartyNumber("5"), -1);
}

// A damaged number with a NUL among its digits is listed as the decoded text shows it,
// and that text finds its call again.
TEST(Lookups, ACallingNumberWithAControlOctetIsListedAndFoundAsShown) {
    ParserClient c;
    c.Run(Signal("09.00.00.00", 1, "SWHW", "DLRDATALONG", "001-0-02-01", "08 02 00 07 05 04 03 80 90 A3 6C 05 21 83 33 00 32"));
    std::string number;
    EXPECT_EQ(c.GetNextCallingPartyNumber(-1, number), 0);
    EXPECT_EQ(number, "3\\x002");
    EXPECT_EQ(c.FindByCallingPartyNumber(number), 1);
}

TEST(Lookups, ResetForgetsEverything) {
    ParserClient c;
    c.Run(CallTrace());
    EXPECT_TRUE(c.Reset());
    EXPECT_EQ(c.GetMessageCount(), 0);
    EXPECT_EQ(c.FindFirstMessage("SWHW"), -1);
    std::string number;
    EXPECT_EQ(c.GetNextCallingPartyNumber(-1, number), -1);
    auto done = c.Run(CallTrace());
    EXPECT_EQ(done.front().index, 1);
}

}  // namespace
