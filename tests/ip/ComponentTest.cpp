// The VexaIpParser component through the program's client: the members and their dispatch
// ids, reading IPSEND and IPRECV signals, the protocol each port carries, TPKT framing,
// several packets in one segment and one packet over several segments.
#include "IpClient.h"

#include <gtest/gtest.h>

namespace vexa::ip::test {
namespace {

// Real messages (the test corpus): a gatekeeper confirm, a masterSlaveDetermination, its
// ack, a terminalCapabilitySetAck and a RELEASE COMPLETE.
const std::vector<uint8_t> kGcf = Hex(
    "04800000060008914a00043e004f00700065006e004800330032003300200047006100740065006b0065006500700065007200200"
    "06f006e0020006d0066006f007400740065006b0069006e00110200a106b7");
const std::vector<uint8_t> kMsd = Hex("01000080924fd5");
const std::vector<uint8_t> kMsdAck = Hex("2080");
const std::vector<uint8_t> kTcsAck = Hex("218001");
const std::vector<uint8_t> kReleaseComplete =
    Hex("080280015a7e00220525c0060008914a00045808110024ab157276fa18109a58001321f0699002800100");

const char *kRas = "UDP 10.1.3.143:2034 > 10.1.6.1:1719";
const char *kH245 = "TCP 10.1.6.18:11000 > 10.1.3.143:32804";
const char *kH245Back = "TCP 10.1.3.143:32804 > 10.1.6.18:11000";
const char *kCs = "TCP 10.1.6.18:1720 > 10.1.3.143:32803";

std::string Other(int sequence) {
    char line[96];
    std::snprintf(line, sizeof line, "09.41.08.00 %05d  SWSW CALLSUP      H323-01    CALLCTL-01\n", sequence);
    return line;
}

TEST(IpComponent, IsFoundUnderItsProgIdAndAnswersEveryMember) {
    IpClient c;
    ASSERT_TRUE(c.Loaded());
    const auto done = c.Run(Signal(42, true, kRas, kGcf) + "END OF TRACE\n");
    ASSERT_EQ(done.size(), 1u);
    int32_t count = 0;
    EXPECT_TRUE(c.Parser().GetMessageCount(count));
    EXPECT_EQ(count, 1);
    EXPECT_EQ(c.Parser().GetLastMessageIndex(), 1);
    EXPECT_EQ(c.Parser().GetSequenceNumber(1), 42);
    EXPECT_EQ(c.Parser().GetSequenceMessageCount(42), 1);
    const Message m = c.Get(1);
    EXPECT_EQ(m.sequence, 42);
    EXPECT_EQ(m.direction, "SWHW");
    EXPECT_EQ(m.signalName, "IPSEND");
    EXPECT_EQ(m.name, "gatekeeperConfirm");
    EXPECT_EQ(m.time, "09.41.07.25");
    EXPECT_EQ(m.originator, "H323-01");
    EXPECT_EQ(m.destination, "IPGW-01");
    EXPECT_TRUE(m.valid);
    EXPECT_EQ(c.Parser().FindFirstMessage("SWHW"), 1);
    EXPECT_EQ(c.Parser().FindNextMessage("SWHW", 1), -1);
    EXPECT_EQ(c.Parser().FindFirstMessage("HWSW"), -1);
    EXPECT_EQ(c.Parser().FindFirstByProtocol("RAS"), 1);
    EXPECT_EQ(c.Parser().FindFirstByProtocol("H245"), -1);
    EXPECT_EQ(c.Parser().FindFirstByProtocol(""), 1);
    EXPECT_TRUE(c.Parser().Reset());
    EXPECT_TRUE(c.Parser().GetMessageCount(count));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(c.Parser().GetLastMessageIndex(), -1);
}

TEST(IpComponent, LineKindsAndCompletionFollowTheTraceFormat) {
    IpClient c;
    c.Run(Other(1) + Signal(2, true, kRas, kGcf) + "                        FREE TEXT\n" + Signal(3, true, kRas, kGcf, "09.41.07.26", false) +
          Other(4) + "END OF TRACE\n");
    const auto &a = c.Answers();
    ASSERT_GE(a.size(), 20u);
    EXPECT_EQ(a[0].kind, 0);  // another signal
    EXPECT_EQ(a[1].kind, 1);  // IPSEND
    EXPECT_EQ(a[2].kind, 2);  // UDP row
    EXPECT_EQ(a[3].kind, 4);  // DATA
    const Answer &len = a[9];  // after six DATA rows
    EXPECT_EQ(len.kind, 3);
    EXPECT_EQ(len.completion, 1);
    EXPECT_EQ(len.status, 1);
    EXPECT_EQ(a[10].kind, 0);  // free text
    // Without its LEN row the signal ends at the next record line, which follows its block.
    const Answer &next = a[19];
    EXPECT_TRUE(next.line.starts_with("09.41.08.00 00004"));
    EXPECT_EQ(next.completion, 2);
    EXPECT_FALSE(c.Get(2).valid);
}

TEST(IpComponent, PortsChooseTheProtocol) {
    IpClient c;
    const auto done = c.Run(Signal(1, true, "UDP 10.1.3.143:1718 > 224.0.1.41:1718", kGcf) +
                            Signal(2, false, kCs, Tpkt(kReleaseComplete)) + Signal(3, false, kH245, Tpkt(kMsd)) +
                            Signal(4, true, "UDP 10.1.3.143:5000 > 10.1.6.18:5000", {0x80, 0x08}) + "END OF TRACE\n");
    ASSERT_EQ(done.size(), 4u);
    EXPECT_EQ(done[0].messages[0].name, "gatekeeperConfirm");
    EXPECT_EQ(done[1].messages[0].name, "RELEASE COMPLETE");
    EXPECT_EQ(done[2].messages[0].name, "masterSlaveDetermination");
    EXPECT_EQ(done[3].messages[0].name, "UDP datagram");
    EXPECT_EQ(c.FindByProtocol("RAS"), (std::vector<int32_t>{1}));
    EXPECT_EQ(c.FindByProtocol("H2250"), (std::vector<int32_t>{2}));
    EXPECT_EQ(c.FindByProtocol("H245"), (std::vector<int32_t>{3}));
    EXPECT_EQ(c.FindByProtocol(""), (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_NE(done[1].messages[0].text.find("releaseComplete"), std::string::npos);
}

TEST(IpComponent, TwoPacketsInOneSegmentAreOneCompletionAndALaterBadOneIsRed) {
    IpClient c;
    std::vector<uint8_t> two = Tpkt(kTcsAck);
    const auto ack = Tpkt(kMsdAck);
    two.insert(two.end(), ack.begin(), ack.end());
    std::vector<uint8_t> bad = Tpkt(kMsd);
    const std::vector<uint8_t> broken = {3, 0, 0, 3, 1, 2};
    bad.insert(bad.end(), broken.begin(), broken.end());
    const auto done = c.Run(Signal(7, true, kH245Back, two) + Signal(8, true, kH245Back, bad) + "END OF TRACE\n");
    ASSERT_EQ(done.size(), 2u);
    ASSERT_EQ(done[0].messages.size(), 2u);
    EXPECT_EQ(c.Parser().GetSequenceMessageCount(7), 2);
    EXPECT_EQ(done[0].messages[0].name, "terminalCapabilitySetAck");
    EXPECT_EQ(done[0].messages[1].name, "masterSlaveDeterminationAck");
    ASSERT_EQ(done[1].messages.size(), 2u);
    EXPECT_TRUE(done[1].messages[0].valid);
    EXPECT_FALSE(done[1].messages[1].valid);
    EXPECT_NE(done[1].messages[1].text.find("!!!TPKT length 3 is below"), std::string::npos);
}

TEST(IpComponent, APacketOverThreeSegmentsIsShownWholeUnderItsFirstSegment) {
    IpClient c;
    const std::vector<uint8_t> p = Tpkt(kReleaseComplete);
    auto part = [&](size_t from, size_t to) { return std::vector<uint8_t>(p.begin() + from, p.begin() + to); };
    std::vector<uint8_t> last = part(30, p.size());
    last.insert(last.end(), p.begin(), p.end());
    const std::string trace = Signal(10, false, kCs, part(0, 10)) + Other(11) + Signal(12, true, kRas, kGcf) +
                              Signal(13, false, kCs, part(10, 30)) + Signal(14, false, kH245, Tpkt(kMsdAck)) +
                              Signal(15, false, kCs, last) + "END OF TRACE\n";
    const auto done = c.Run(trace);
    // The first segment marks; the program reads on until the last one, goes back and reads
    // the lines after the mark again.
    const auto &a = c.Answers();
    size_t marks = 0, rewinds = 0;
    for (const Answer &x : a) {
        marks += x.status == -100;
        rewinds += x.status == 300;
    }
    EXPECT_EQ(marks, 1u);
    EXPECT_EQ(rewinds, 1u);
    ASSERT_EQ(done.size(), 5u);
    EXPECT_EQ(done[0].sequence, 10);
    ASSERT_EQ(done[0].messages.size(), 1u);
    EXPECT_EQ(done[0].messages[0].name, "RELEASE COMPLETE");
    EXPECT_TRUE(done[0].messages[0].valid) << done[0].messages[0].text;
    EXPECT_NE(done[0].messages[0].text.find("in 3 segments"), std::string::npos);
    EXPECT_EQ(done[1].sequence, 12);
    EXPECT_EQ(done[1].messages[0].name, "gatekeeperConfirm");
    EXPECT_EQ(done[2].sequence, 13);
    EXPECT_EQ(done[2].messages[0].name, "continuation of RELEASE COMPLETE");
    EXPECT_EQ(done[3].sequence, 14);
    EXPECT_EQ(done[4].sequence, 15);
    ASSERT_EQ(done[4].messages.size(), 2u);
    EXPECT_EQ(done[4].messages[0].name, "continuation of RELEASE COMPLETE");
    EXPECT_EQ(done[4].messages[1].name, "RELEASE COMPLETE");
    // Each signal is completed once.
    for (size_t i = 1; i < done.size(); ++i) EXPECT_NE(done[i].sequence, done[i - 1].sequence);
}

TEST(IpComponent, ASpanningPacketWhoseLaterSegmentsNeverComeIsCutShortAtTheEnd) {
    IpClient c;
    const std::vector<uint8_t> p = Tpkt(kReleaseComplete);
    const auto done = c.Run(Signal(20, false, kCs, std::vector<uint8_t>(p.begin(), p.begin() + 12)) + Other(21) +
                            Signal(22, true, kRas, kGcf) + "END OF TRACE\n");
    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[0].sequence, 20);
    EXPECT_FALSE(done[0].messages[0].valid);
    EXPECT_NE(done[0].messages[0].text.find("the trace ends before the rest of the TPKT packet"), std::string::npos);
    EXPECT_EQ(done[1].messages[0].name, "gatekeeperConfirm");
}

TEST(IpComponent, SegmentsOfOtherConnectionsDoNotJoinAPacket) {
    IpClient c;
    const std::vector<uint8_t> p = Tpkt(kMsd);
    const auto done = c.Run(Signal(30, false, kH245, std::vector<uint8_t>(p.begin(), p.begin() + 5)) +
                            Signal(31, true, kH245Back, std::vector<uint8_t>(p.begin() + 5, p.end())) +
                            Signal(32, false, kH245, std::vector<uint8_t>(p.begin() + 5, p.end())) + "END OF TRACE\n");
    ASSERT_EQ(done.size(), 3u);
    EXPECT_EQ(done[0].messages[0].name, "masterSlaveDetermination");
    EXPECT_TRUE(done[0].messages[0].valid);
    EXPECT_FALSE(done[1].messages[0].valid);  // not a TPKT header on its own
}

}  // namespace
}  // namespace vexa::ip::test

namespace vexa::ip::test {
namespace {

// The worked example of the component's README, line by line.
TEST(IpComponent, TheReadmeWorkedExampleAnswersLineByLine) {
    IpClient c;
    c.Run(ReadFile(std::string(VEXA_SAMPLES_DIR) + "/ip-spanning.trc"));
    const auto &a = c.Answers();
    ASSERT_EQ(a.size(), 38u + 27u);  // 38 lines, then lines 11 to 37 again
    auto is = [&](size_t line, int kind, int completion, int status) {
        const Answer &x = a[line - 1];
        return x.kind == kind && x.completion == completion && x.status == status;
    };
    EXPECT_TRUE(is(1, 1, 0, 0));
    EXPECT_TRUE(is(2, 2, 0, 0));
    for (size_t l = 3; l <= 9; ++l) EXPECT_TRUE(is(l, 4, 0, 0)) << l;
    EXPECT_TRUE(is(10, 3, 0, -100));
    for (size_t l = 11; l <= 36; ++l) EXPECT_TRUE(is(l, 0, 0, 0)) << l;
    EXPECT_TRUE(is(37, 0, 1, 300));
    // Read again from line 11.
    const size_t again = 37;
    EXPECT_TRUE(a[again].line.starts_with("09.41.09.10 00401"));
    EXPECT_TRUE(is(again + 1, 0, 0, 0));
    EXPECT_TRUE(is(again + 2, 1, 0, 0));   // 00402
    EXPECT_TRUE(is(again + 6, 3, 1, 1));   // its LEN 25
    EXPECT_TRUE(is(again + 16, 3, 1, 1));  // LEN 100 of 00403
    EXPECT_TRUE(is(again + 20, 3, 1, 1));  // LEN 6 of 00404
    EXPECT_TRUE(is(again + 27, 3, 1, 1));  // LEN 63 of 00405
    EXPECT_TRUE(is(again + 28, 0, 0, 0));  // END OF TRACE
}

}  // namespace
}  // namespace vexa::ip::test

namespace vexa::ip::test {
namespace {

// The texts are not kept after their completion: asked for again, they are made again, the same.
TEST(IpComponent, TextsAskedForLaterAreTheSameAsAtCompletion) {
    IpClient c;
    const auto done = c.Run(ReadFile(std::string(VEXA_SAMPLES_DIR) + "/ip-call.trc"));
    ASSERT_GT(done.size(), 10u);
    for (const Completion &d : done) {
        for (size_t i = 0; i < d.messages.size(); ++i) {
            SequenceMessage s;
            ASSERT_EQ(c.Parser().GetSequenceMessage(static_cast<int16_t>(i + 1), static_cast<int16_t>(d.sequence), s), 1);
            EXPECT_EQ(s.Text(7), d.messages[i].text) << d.sequence;
            EXPECT_EQ(s.Text(3), d.messages[i].name);
            EXPECT_EQ(s.valid, d.messages[i].valid);
        }
    }
}

}  // namespace
}  // namespace vexa::ip::test
