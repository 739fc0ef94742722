// Bad input never crashes the decoder or the component, never makes them hang or grow
// without bound: what could be decoded is shown and the message is marked invalid.
#include "H323Decoder.h"
#include "IpClient.h"
#include "PerSchema.h"
#include "PerWalker.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

namespace vexa::ip {
namespace {

// Writes values bit by bit, for building encodings by hand.
class BitWriter {
public:
    void Put(uint64_t value, int bits) {
        for (int i = bits - 1; i >= 0; --i) {
            if (m_bit % 8 == 0) m_octets.push_back(0);
            if ((value >> i) & 1) m_octets.back() |= static_cast<uint8_t>(0x80 >> (m_bit % 8));
            ++m_bit;
        }
    }
    void Align() {
        while (m_bit % 8) Put(0, 1);
    }
    const std::vector<uint8_t> &Octets() const { return m_octets; }

private:
    std::vector<uint8_t> m_octets;
    size_t m_bit = 0;
};

constexpr H323Protocol kAll[] = {H323Protocol::Ras, H323Protocol::CallSignalling, H323Protocol::H245};

TEST(IpRobustness, RandomOctetsDecodeToAMessageOrSayWhatIsWrong) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> octets(random() % 300);
        for (uint8_t &o : octets) o = static_cast<uint8_t>(random());
        for (H323Protocol p : kAll) {
            const H323Message m = H323Decoder::Decode(p, octets.data(), octets.size());
            if (!m.valid) {
                EXPECT_NE(m.text.find("!!!"), std::string::npos) << m.text;
            }
            EXPECT_LE(m.text.size(), component::DecodedText::kMaxChars + 200);
        }
    }
}

TEST(IpRobustness, EveryOctetOfRealMessagesChangedNeverCrashes) {
    for (const char *file : {"ras.tsv", "h245.tsv", "h225cs.tsv"}) {
        std::ifstream in(std::string(VEXA_IP_CORPUS_DIR) + "/" + file);
        std::string line;
        std::getline(in, line);
        const H323Protocol p = file[0] == 'r' ? H323Protocol::Ras : file[1] == '2' ? H323Protocol::H245 : H323Protocol::CallSignalling;
        while (std::getline(in, line)) {
            std::stringstream ss(line);
            std::string source, frame, hex;
            std::getline(ss, source, '\t');
            std::getline(ss, frame, '\t');
            std::getline(ss, hex, '\t');
            const std::vector<uint8_t> octets = test::Hex(hex);
            // Each octet set to the values that break lengths, counts and indexes most.
            for (size_t i = 0; i < octets.size() && i < 300; ++i) {
                for (uint8_t v : {0x00, 0x7F, 0x80, 0xC0, 0xFF}) {
                    std::vector<uint8_t> bad = octets;
                    bad[i] = v;
                    const H323Message m = H323Decoder::Decode(p, bad.data(), bad.size());
                    if (!m.valid) {
                        ASSERT_NE(m.text.find("!!!"), std::string::npos);
                    }
                }
            }
            // Every length cut short.
            for (size_t n = 0; n < octets.size(); n += 1 + octets.size() / 64) {
                const H323Message m = H323Decoder::Decode(p, octets.data(), n);
                (void)m;
            }
        }
    }
}

TEST(IpRobustness, UnknownExtensionsAreSkippedByTheirLength) {
    // masterSlaveDeterminationAck with three extension additions, of which the modules know
    // none and the third is present; then an extension alternative of the message itself.
    BitWriter w;
    w.Put(0, 1);  // MultimediaSystemControlMessage: no extension
    w.Put(1, 2);  // response
    w.Put(0, 1);  // ResponseMessage: no extension
    w.Put(1, 5);  // masterSlaveDeterminationAck
    w.Put(1, 1);  // extension additions follow
    w.Put(1, 1);  // decision: slave
    w.Put(0, 1);  // three additions: a small count
    w.Put(2, 6);
    w.Put(1, 3);  // only the third present
    w.Align();
    w.Put(2, 8);  // its open-type length
    w.Put(0xABCD, 16);
    const auto &o = w.Octets();
    const H323Message m = H323Decoder::Decode(H323Protocol::H245, o.data(), o.size());
    EXPECT_TRUE(m.valid) << m.text;
    EXPECT_EQ(m.name, "masterSlaveDeterminationAck");
    EXPECT_NE(m.text.find("decision: slave"), std::string::npos) << m.text;
    EXPECT_NE(m.text.find("unknown extension addition 3: abcd"), std::string::npos) << m.text;

    const uint8_t alternative[] = {0x80 | 0x05, 0x02, 0x12, 0x34};  // extension alternative 6
    const H323Message a = H323Decoder::Decode(H323Protocol::H245, alternative, sizeof alternative);
    EXPECT_TRUE(a.valid) << a.text;
    EXPECT_NE(a.text.find("unknown extension alternative 6 (1234)"), std::string::npos) << a.text;
}

TEST(IpRobustness, AChoiceIndexBeyondTheLastAlternativeIsNamed) {
    // RasMessage: no extension, index 31 of a CHOICE of 25 root alternatives.
    const uint8_t octets[] = {0x7C, 0x00, 0x00};
    const H323Message m = H323Decoder::Decode(H323Protocol::Ras, octets, sizeof octets);
    EXPECT_FALSE(m.valid);
    EXPECT_NE(m.text.find("!!!RasMessage: CHOICE index 31 beyond the last of 25 alternatives"), std::string::npos) << m.text;
}

TEST(IpRobustness, AHugeCountEndsAtTheEndOfTheOctets) {
    // terminalCapabilitySet whose capabilityTable says 256 entries, then nothing: the walker
    // stops at the first entry that is not there.
    BitWriter w;
    w.Put(0, 1);  // MultimediaSystemControlMessage: no extension
    w.Put(0, 2);  // request
    w.Put(0, 1);  // RequestMessage: no extension
    w.Put(2, 4);  // terminalCapabilitySet
    w.Put(0, 1);  // no extension additions
    w.Put(2, 3);  // capabilityTable present only
    w.Align();
    w.Put(1, 8);  // sequenceNumber
    w.Put(6, 8);  // protocolIdentifier 0.0.8.245.0.15: six octets
    for (uint8_t octet : {0x00, 0x08, 0x81, 0x75, 0x00, 0x0F}) w.Put(octet, 8);
    w.Put(255, 8);  // 256 entries
    const auto &o = w.Octets();
    const H323Message m = H323Decoder::Decode(H323Protocol::H245, o.data(), o.size());
    EXPECT_EQ(m.name, "terminalCapabilitySet");
    EXPECT_FALSE(m.valid);
    EXPECT_NE(m.text.find("!!!"), std::string::npos) << m.text;
    // A count of 64K items in fragments ends at the first item that is not there.
    const uint8_t fragmented[] = {0x00, 0x00, 0x06, 0x00, 0x08, 0x91, 0x4a, 0x00, 0x04, 0xC4, 0x00};
    const H323Message f = H323Decoder::Decode(H323Protocol::Ras, fragmented, sizeof fragmented);
    EXPECT_FALSE(f.valid);
}

TEST(IpRobustness, NestingTenThousandDeepStopsAtTheDepthLimit) {
    // EnumeratedParameter { id standard 0, content compound { EnumeratedParameter ... } }.
    BitWriter w;
    for (int level = 0; level < 10000; ++level) {
        w.Put(0, 1);   // EnumeratedParameter: no extension
        w.Put(1, 1);   // content present
        w.Put(0, 1);   // GenericIdentifier: no extension
        w.Put(0, 2);   // standard
        w.Put(0, 1);   // INTEGER(0..16383, ...): in the root
        w.Align();
        w.Put(0, 16);
        w.Put(0, 1);   // Content: no extension
        w.Put(10, 4);  // compound
        w.Align();     // SIZE (1..512): a two-octet count
        w.Put(0, 16);  // one EnumeratedParameter
    }
    const int32_t type = FindPerType("EnumeratedParameter");
    ASSERT_GE(type, 0);
    component::DecodedText out;
    PerWalker walker(out);
    EXPECT_FALSE(walker.Decode(type, w.Octets().data(), w.Octets().size(), "EnumeratedParameter"));
    EXPECT_NE(out.Text().find("nested more than 64 deep"), std::string::npos) << out.Text().substr(0, 3000);
}

TEST(IpRobustness, TpktLengthsZeroThreeAndTheLargestAreShownAndMarked) {
    test::IpClient c;
    const char *tcp = "TCP 10.1.6.18:11000 > 10.1.3.143:32804";
    std::vector<uint8_t> largest = {3, 0, 0xFF, 0xFF};
    largest.resize(200, 0x55);
    const auto done = c.Run(test::Signal(1, false, tcp, {3, 0, 0, 0, 1, 2}) + test::Signal(2, false, tcp, {3, 0, 0, 3}) +
                            test::Signal(3, false, tcp, largest) + "END OF TRACE\n");
    ASSERT_EQ(done.size(), 3u);
    EXPECT_NE(done[0].messages[0].text.find("!!!TPKT length 0 is below"), std::string::npos);
    EXPECT_NE(done[1].messages[0].text.find("!!!TPKT length 3 is below"), std::string::npos);
    EXPECT_FALSE(done[2].messages[0].valid);
    EXPECT_NE(done[2].messages[0].text.find("the trace ends before the rest"), std::string::npos);
}

TEST(IpRobustness, PacketsThatNeverFinishAreNotReadAheadOverAndOver) {
    // Every segment starts a packet of 65535 octets that no later segment finishes.
    std::string trace;
    std::vector<uint8_t> start = {3, 0, 0xFF, 0xFF};
    start.resize(40, 0x11);
    for (int s = 0; s < 3000; ++s) {
        const std::string tcp = "TCP 10.0.0.1:" + std::to_string(2000 + s) + " > 10.0.0.2:1720";
        trace += test::Signal(s % 30000 + 1, true, tcp, start, "10.00.00.00");
    }
    trace += "END OF TRACE\n";
    test::IpClient c;
    const auto done = c.Run(trace, 5000000);
    EXPECT_EQ(done.size(), 3000u);
    // 18,001 lines: read ahead at most about twice as many again, and a little more.
    EXPECT_LT(c.Answers().size(), 18001u * 3 + test::kScanAllowanceForTests);
    for (const auto &d : done) EXPECT_FALSE(d.messages.at(0).valid);
}

TEST(IpRobustness, RandomTracesNeverHangTheComponent) {
    std::mt19937 random(7);
    const char *rows[] = {"TCP 10.0.0.1:1720 > 10.0.0.2:1720", "TCP 10.0.0.2:1720 > 10.0.0.1:1720",
                          "TCP 10.0.0.1:5000 > 10.0.0.2:6000", "UDP 10.0.0.1:1719 > 10.0.0.2:1719", "UDP 1.2.3:4 > x"};
    for (int round = 0; round < 40; ++round) {
        std::string trace;
        for (int s = 0; s < 30; ++s) {
            std::vector<uint8_t> octets(random() % 80);
            for (uint8_t &o : octets) o = static_cast<uint8_t>(random());
            if (random() % 2 && octets.size() > 4) {
                octets[0] = 3;
                octets[1] = 0;
            }
            trace += test::Signal(s + 1, random() % 2, rows[random() % 5], octets, "10.00.00.00", random() % 4 != 0);
        }
        trace += "END OF TRACE\n";
        test::IpClient c;
        c.Run(trace, 200000);
        ASSERT_LT(c.Answers().size(), 200000u);
        int32_t count = 0;
        c.Parser().GetMessageCount(count);
        EXPECT_GT(count, 0);
    }
}

}  // namespace
}  // namespace vexa::ip
