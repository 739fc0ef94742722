// Bad input never crashes, hangs or grows without bound: the message is shown with what
// could be decoded and marked invalid.
#include "DectClient.h"
#include "DectDecoder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

using namespace vexa::dect;
using namespace vexa::dect::test;

namespace {

const std::vector<uint8_t> kSetup = {0x03, 0x05, 0x05, 0x07, 0x80, 0xA8, 0x00, 0xAB, 0xC1, 0x23, 0x45, 0x06, 0x07,
                                     0x80, 0xA4, 0x01, 0x57, 0x81, 0x23, 0x40, 0xE0, 0x80, 0x6C, 0x04, 0x21,
                                     0x83, 0x34, 0x35, 0x28, 0x02, 0x41, 0x42};

TEST(DectRobustness, RandomOctetsDecodeQuicklyWithBoundedText) {
    std::mt19937 rng(1234);
    const auto start = std::chrono::steady_clock::now();
    for (int n = 0; n < 20000; ++n) {
        std::vector<uint8_t> octets(rng() % 300);
        for (uint8_t &o : octets) o = static_cast<uint8_t>(rng());
        // Most random messages start with a real discriminator and type, to reach the elements.
        if (octets.size() > 2 && n % 2) {
            octets[0] = static_cast<uint8_t>((octets[0] & 0xF0) | 0x03);
            octets[1] = 0x05;
        }
        DecodedDect d = DectDecoder::Decode(octets.data(), octets.size(), {}, true);
        ASSERT_LE(d.text.size(), vexa::component::DecodedText::kMaxChars + 200);
        if (!d.valid) {
            const bool marked = d.text.find("!!!") != std::string::npos;
            ASSERT_TRUE(marked) << "invalid message without a marked line";
        }
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(DectRobustness, EveryLengthFieldWrongByOne) {
    // Each variable element's length octet one less and one more than right.
    const size_t lengthAt[] = {3, 12, 23, 29};
    for (size_t at : lengthAt) {
        for (int delta : {-1, 1}) {
            std::vector<uint8_t> m = kSetup;
            m[at] = static_cast<uint8_t>(m[at] + delta);
            DecodedDect d = DectDecoder::Decode(m.data(), m.size(), {}, true);
            EXPECT_FALSE(d.valid) << "length at " << at << " changed by " << delta << ":\n" << d.text;
            EXPECT_EQ(d.messageName, "CC-SETUP");
        }
    }
}

TEST(DectRobustness, ElementOf255Octets) {
    std::vector<uint8_t> m = {0x13, 0x7B, 0x28, 0xFF};
    m.resize(4 + 255, 'A');
    DecodedDect d = DectDecoder::Decode(m.data(), m.size(), {}, true);
    EXPECT_TRUE(d.valid) << d.text;
    EXPECT_NE(d.text.find(std::string(255, 'A')), std::string::npos);
    m.pop_back();  // one short
    EXPECT_FALSE(DectDecoder::Decode(m.data(), m.size(), {}, true).valid);
}

TEST(DectRobustness, BadHexDigitsInDataRows) {
    DectClient c;
    std::string trace = kPreamble;
    trace += Gdi(1, "HWSW", "DATA_IND", "1", "13 4D E2 0", 4);       // odd digits
    trace += Gdi(2, "HWSW", "DATA_IND", "1", "13 4D E2 ZZ", 4);      // not hex
    trace += Gdi(3, "HWSW", "DATA_IND", "1", "13 4D", 4);            // fewer octets than LEN
    trace += "END OF TRACE\n";
    auto done = c.Run(trace);
    ASSERT_EQ(done.size(), 3u);
    for (const Completion &s : done) {
        EXPECT_FALSE(s.message.valid) << s.Text(7);
        EXPECT_EQ(s.Text(3), "CC-RELEASE");
    }
    EXPECT_NE(done[0].Text(7).find("odd number of hex digits"), std::string::npos);
    EXPECT_NE(done[1].Text(7).find("not hex digits"), std::string::npos);
    EXPECT_NE(done[2].Text(7).find("Fewer octets than LEN says: 2 DATA octets, LEN 4"), std::string::npos);
}

TEST(DectRobustness, TenThousandSignalsWithOneScpId) {
    DectClient c;
    std::string trace = kPreamble;
    for (int i = 1; i <= 10000; ++i) trace += Gdi(i, i % 2 ? "HWSW" : "SWHW", "DATA_IND", "0077", "13 01");
    trace += "END OF TRACE\n";
    ASSERT_EQ(c.Run(trace).size(), 10000u);
    std::string id;
    int32_t h = c.parser.GetNextScpId(-1, id);
    EXPECT_EQ(id, "0077");
    EXPECT_EQ(c.parser.GetNextScpId(h, id), -1);
    int found = 0;
    for (int32_t i = c.parser.FindFirstByScpId("0077"); i >= 0; i = c.parser.FindNextByScpId("0077", i)) ++found;
    EXPECT_EQ(found, 10000);
}

TEST(DectRobustness, UserPartRowOfTenThousandCharacters) {
    DectClient c;
    const std::string longText(10000, 'U');
    std::string trace = std::string(kPreamble) + Gdi(1, "HWSW", "DATA_IND", "1", "13 01", -1, longText) +
                        Gdi(2, "HWSW", "DATA_IND", "1", "13 07") + "END OF TRACE\n";
    auto done = c.Run(trace);
    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[0].Text(3), "CC-ALERTING");
    EXPECT_LE(done[0].userPart.size(), 511u);
    EXPECT_EQ(done[0].userPart.substr(0, 10), "UUUUUUUUUU");
    EXPECT_EQ(done[1].Text(3), "CC-CONNECT");
    EXPECT_TRUE(done[1].message.valid);
}

TEST(DectRobustness, RandomLinesNeverBreakTheReader) {
    DectClient c;
    std::mt19937 rng(99);
    const char *kPieces[] = {"10.02.11.04 00101  HWSW GDIIND       DECT-01    GDICP-01\n",
                             "                        SCP DATA_IND  ID 0012\n",
                             "                        USER PART 2345\n",
                             "                        DATA 13 05 05 07\n",
                             "                        LEN 4\n",
                             "END\n",
                             "10.02.11.05 00102  SWSW OTHER  A B\n"};
    for (int n = 0; n < 20000; ++n) {
        std::string line;
        if (rng() % 3) {
            line = kPieces[rng() % 7];
            if (rng() % 4 == 0) line[rng() % line.size()] = static_cast<char>(rng());
        } else {
            line.resize(rng() % 600);
            for (char &ch : line) ch = static_cast<char>(rng());
            line = line.substr(0, 511);
        }
        LineAnswer a = c.ParseLine(line);
        ASSERT_GE(a.kind, 0);
        ASSERT_LE(a.kind, 4);
    }
    int32_t count = 0;
    c.parser.GetMessageCount(count);
    EXPECT_GT(count, 0);
}

}  // namespace
