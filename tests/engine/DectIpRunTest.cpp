// The interpretation run over DECT/GDI and IP traces: the DECT header with its display
// marks, the DECT special blocks, and the IP mark, rewind and hold paths.
#include "ScriptText.h"
#include "TestSupport.h"

#include <algorithm>

namespace vexa::test {
namespace {

const std::string R1 = "10.02.03.04 00042  SWHW GDIREQ       DECTCP-01  GDI-0001\n";
const std::string S1 = "                        SCP DATA_IND  ID 0012\n";
const std::string L1 = "                        LEN 6\n";

std::string DectMessage(int status2 = 1, const std::string &scpId = "0012") {
    return Message(1, 42, status2, true,
                   {"SWHW", "GDIREQ", "CC-SETUP", "10.02.03.04", "DECTCP-01", "GDI-0001", "Basic service (H'E0)",
                    "CC Call Control", "DATA_IND", scpId, "TI 2 (Originator)", "Portable identity IPUI 1234"}) +
           Entry({"userpart", "42", "2041"});
}

const std::string kDectHeaderFile =
    "Protocol Discriminator: CC Call Control\nTransaction Value: TI 2 (Originator)\nPortable identity IPUI 1234\n"
    "User Part: 2041\nSCP ID: 0012\nSCP Message: DATA_IND\n";

class DectRunTest : public ScriptedTest {};

TEST_F(DectRunTest, HeaderGoesToTheFilePlainAndToTheRunLinesWithDisplayMarks) {
    Open(R1 + S1 + L1, Parse(1) + Parse(2) + Parse(3, 1, 1, 1) + DectMessage(), 5);
    EXPECT_EQ(Output(), " \n" + R1 + S1 + "\n\n\n>>>>\nOutgoing Message: CC-SETUP\n" + kDectHeaderFile +
                            "\n\n\n      Basic service (H'E0)\n\n\n<<<<\n\n" + "END");
    auto lines = Lines(doc->m_RunLines);
    std::vector<std::string> header(lines.begin() + 6, lines.begin() + 13);
    EXPECT_EQ(header, (std::vector<std::string>{"@@@Protocol Discriminator: CC Call Control",
                                                "@@@Transaction Value: TI 2 (Originator)\n",
                                                "@@@Portable identity IPUI 1234\n", "@@@User Part: 2041\n",
                                                "/*SCP ID: 0012\n*/", "/*SCP Message: DATA_IND\n*/", "\n\n\n"}));
}

TEST_F(DectRunTest, EmptyScpIdLeavesOnlyTheScpMessageLine) {
    Open(R1 + S1 + L1, Parse(1) + Parse(2) + Parse(3, 1, 1, 1) + DectMessage(1, ""), 5);
    EXPECT_EQ(Output().find("SCP ID"), std::string::npos);
    EXPECT_NE(Output().find("User Part: 2041\nSCP Message: DATA_IND\n"), std::string::npos);
}

TEST_F(DectRunTest, SpecialBlocks) {
    const std::string pre = " \n" + R1 + S1;
    struct Case {
        int status;
        std::string expected;
    } cases[] = {
        {-4, pre + ">>>>\nMessage Type: Basic service (H'E0)\n" + kDectHeaderFile + "\n\n<<<<\n\n<<<<\n\n" + "END"},
        {-5, pre + "SCP ID: 0012\nSCP Message: DATA_IND\n\n\n<<<<\n\n<<<<\n\n" + "END"},
        {-6, pre + ">>>>\nMessage Type: Basic service (H'E0)\n\n\n<<<<\n\n<<<<\n\n" + "END"},
        {-7, pre + ">>>>\nOutgoing Message: CC-SETUP\n" + kDectHeaderFile + "\n\n<<<<\n\n<<<<\n\n" + "END"},
    };
    for (const Case &c : cases) {
        Open(R1 + S1 + L1, Parse(1) + Parse(2) + Parse(3, 1, c.status, 1) + DectMessage(), 5);
        EXPECT_EQ(Output(), c.expected) << "status " << c.status;
        if (c.status == -7) {
            // The run line shows the component's text in place of the discriminator.
            auto lines = Lines(doc->m_RunLines);
            EXPECT_NE(std::find(lines.begin(), lines.end(), "Protocol Discriminator: Basic service (H'E0)"), lines.end());
        }
        doc->OnCloseDocument();
    }
}

TEST_F(DectRunTest, SignalWithoutMessagesWritesItsRowsAtOnce) {
    Open(R1 + S1 + L1, Parse(1) + Parse(2) + Parse(3, 1, 0, 1) + DectMessage() + Entry({"count", "42", "0"}), 5);
    EXPECT_EQ(Output(), " \n" + R1 + S1 + "<<<<\n\n" + "END");
}

// The first record line is never a mark: the run does not look at the status it gets.
const std::string Z = "10.59.59.00 00000  SWSW OTHERSIG     X          Y\n";
const std::string A = "11.00.00.00 00001  SWHW IPSEND       H323-01    GW-01\n";
const std::string B = "                        TCP 10.0.0.1:1720 > 10.0.0.2:1720\n";
const std::string C = "                        DATA 03 00 00 10\n";
const std::string D = "                        LEN 4\n";

std::string IpMessage() {
    return Message(1, 1, 1, true, {"SWHW", "IPSEND", "setup", "11.00.00.00", "H323-01", "GW-01", "H.225.0 setup"});
}
const std::string kIpBlock = "\n\n\n>>>>\nOutgoing Message: setup\n\n\n\n      H.225.0 setup\n\n\n<<<<\n\n";

class IpRunTest : public ScriptedTest {};

TEST_F(IpRunTest, RewindReadsTheLinesAfterTheMarkAgain) {
    std::string script = Parse(0) + Parse(1, 0, -100) + Parse(2) + Parse(3, 0, 100) + Parse(2) + Parse(3, 1, 1, 1) + IpMessage();
    Open(Z + A + B + C, script, 6);
    std::vector<std::string> calls;
    for (const auto &c : Calls())
        if (c.starts_with("ParseLine") || c.starts_with("FindFirst")) calls.push_back(c.substr(0, 20));
    EXPECT_EQ(calls, (std::vector<std::string>{"ParseLine 10.59.59.0", "FindFirst protocol ", "ParseLine 11.00.00.0", "ParseLine           ",
                                               "ParseLine           ", "ParseLine           ", "ParseLine           ",
                                               "ParseLine END"}));
    // The rows held under the mark are written at the rewind; the re-read rows go with the block.
    EXPECT_EQ(Output(), " \n" + A + B + A + B + kIpBlock + "END");
}

TEST_F(IpRunTest, HoldControlWritesOrDropsTheRowsHeldUnderAMark) {
    std::string script = Parse(0) + Parse(1, 0, -100) + Parse(2, 0, 200) + Parse(3, 0, -200) + Parse(3, 1, 1, 1) + IpMessage();
    Open(Z + A + B + C + D, script, 6);
    // 200 writes what was held (the marked line); -200 drops B; the block follows; the end
    // mark is not written while the mark is open.
    EXPECT_EQ(Output(), " \n" + A + A + kIpBlock);
}

TEST_F(IpRunTest, RewindAndDropEmptiesTheHeldRows) {
    std::string script = Parse(0) + Parse(1, 0, -100) + Parse(2) + Parse(3, 0, 300) + Parse(2) + Parse(3, 1, 1, 1) + IpMessage();
    Open(Z + A + B + C, script, 6);
    EXPECT_EQ(Output(), " \n" + A + B + kIpBlock + "END");
}

TEST_F(IpRunTest, WithIncludeHexEveryLineUnderTheMarkIsHeld) {
    host.settings.m_bWriteHexInfo = true;
    std::string script = Parse(0) + Parse(1, 0, -100) + Parse(4) + Parse(3, 0, 100) + Parse(4) + Parse(3, 1, 1, 1) + IpMessage();
    Open(Z + A + C + D, script, 6);
    // A and C are held as data lines under the mark and written at the rewind; then A, C
    // again as data rows of the block.
    EXPECT_EQ(Output(), " \n" + A + C + A + C + kIpBlock + "END");
}

TEST_F(IpRunTest, RepeatedSequenceOnIpWritesAKeptLine) {
    std::string script = Parse(1) + Parse(3, 1, 1, 1) + Parse(1) + Parse(3, 1, 1, 1) + IpMessage();
    Open(A + D + A + D, script, 6);
    EXPECT_EQ(Output(), " \n" + A + kIpBlock + A + D + "END");
}

}  // namespace
}  // namespace vexa::test
