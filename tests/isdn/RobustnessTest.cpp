// Bad input never crashes, hangs or grows without bound: the message shows what could be
// decoded and is marked invalid.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <set>

using namespace vexa::isdn::test;

namespace {

std::string Hex(const std::vector<uint8_t> &octets) {
    std::string s;
    char buf[4];
    for (uint8_t o : octets) {
        std::snprintf(buf, sizeof buf, "%02X ", o);
        s += buf;
    }
    return s;
}

// A decoded text the program can show: no line starting with the program's own marks,
// "!!!" marks in pairs.
void ExpectShowable(const std::string &text) {
    std::string t = PartsAsLines(text);
    size_t pos = 0;
    while (pos <= t.size()) {
        size_t nl = t.find('\n', pos);
        std::string line = t.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        for (const char *mark : {"@@@", "/*", ">>>>", "<<<<"}) EXPECT_NE(line.rfind(mark, 0), 0u) << line;
        size_t marks = 0;
        for (size_t m = line.find("!!!"); m != std::string::npos; m = line.find("!!!", m + 3)) ++marks;
        EXPECT_EQ(marks % 2, 0u) << line;
        if (nl == std::string::npos) break;
        pos = nl + 1;
    }
}

const std::set<int> kStatuses = {1, 0, -4, -5, -6, -7};

TEST(Robustness, RandomOctets) {
    std::mt19937 rng(931);
    ParserClient c;
    std::string trace;
    const int messages = 1500;
    for (int i = 0; i < messages; ++i) {
        std::vector<uint8_t> octets(rng() % 60);
        for (uint8_t &o : octets) o = static_cast<uint8_t>(rng());
        // Most messages start like Q.931 so that the element decoders get exercised.
        if (octets.size() > 3 && i % 4) {
            octets[0] = 0x08;
            octets[1] = static_cast<uint8_t>(rng() % 3);
        }
        trace += Signal("10.00.00.00", i % 32768, i % 2 ? "HWSW" : "SWHW", "DLRDATALONG", "E1", Hex(octets));
    }
    auto done = c.Run(trace);
    ASSERT_EQ(done.size(), static_cast<size_t>(messages));
    for (const Completion &d : done) {
        EXPECT_TRUE(kStatuses.count(d.lineStatus)) << d.lineStatus;
        ASSERT_EQ(d.messages.size(), 1u);
        ExpectShowable(d.messages[0].text);
        if (d.lineStatus < 0 && d.lineStatus != -4) {
            EXPECT_FALSE(d.messages[0].valid);
        }
    }
}

// A SETUP whose element lengths are each made one too long and one too short in turn.
TEST(Robustness, EveryLengthWrongByOne) {
    const std::vector<uint8_t> setup = {0x08, 0x01, 0x05, 0x05, 0xA1, 0x04, 0x03, 0x80, 0x90, 0xA3, 0x18, 0x01, 0x89,
                                        0x1E, 0x02, 0x82, 0x83, 0x6C, 0x0A, 0x21, 0x83, 0x33, 0x30, 0x31, 0x32, 0x33,
                                        0x34, 0x35, 0x36, 0x70, 0x05, 0xC1, 0x31, 0x32, 0x33, 0x34, 0x7C, 0x04, 0x88,
                                        0x90, 0x21, 0x8F, 0x7D, 0x02, 0x91, 0x81};
    const size_t lengthOctets[] = {6, 11, 14, 18, 30, 37, 43};
    Decoded good = DecodeHex(Hex(setup));
    ASSERT_TRUE(good.message.valid) << good.message.text;
    int invalid = 0, total = 0;
    for (size_t at : lengthOctets) {
        for (int delta : {-1, +1}) {
            std::vector<uint8_t> bad = setup;
            bad[at] = static_cast<uint8_t>(bad[at] + delta);
            Decoded d = DecodeHex(Hex(bad));
            ASSERT_EQ(d.completions, 1);
            ExpectShowable(d.message.text);
            EXPECT_NE(d.message.text, good.message.text) << "length at " << at << " " << delta;
            ++total;
            if (!d.message.valid) ++invalid;
        }
    }
    // A wrong length almost always leaves a mark; a few shortened elements still parse.
    EXPECT_GE(invalid, total - 3);
}

TEST(Robustness, ThreeHundredOctetElements) {
    // A user-user element claiming 255 octets with 300 following, and a display of 255.
    std::vector<uint8_t> m = {0x08, 0x02, 0x80, 0x01, 0x20, 0x7E, 0xFF, 0x04};
    for (int i = 0; i < 300; ++i) m.push_back(static_cast<uint8_t>('A' + i % 26));
    Decoded d = DecodeHex(Hex(m));
    EXPECT_FALSE(d.message.valid);
    EXPECT_TRUE(HasLine(Part(d.message.text, "User-user (H'7E)"),
                        "!!!Element longer than the largest allowed length of 131 octets!!!"));
    ExpectShowable(d.message.text);

    std::vector<uint8_t> disp = {0x08, 0x02, 0x80, 0x01, 0x7B, 0x28, 0xFF};
    for (int i = 0; i < 255; ++i) disp.push_back(0x7C);
    Decoded dd = DecodeHex(Hex(disp));
    EXPECT_FALSE(dd.message.valid);
    ExpectShowable(dd.message.text);
}

TEST(Robustness, TruncatedAtEveryOctet) {
    const std::string full = "08 02 80 01 62 1C 0C 91 A1 09 02 01 05 02 01 21 0A 01 01 08 03 80 E0 04";
    std::vector<std::string> tokens;
    for (size_t p = 0; p < full.size(); p += 3) tokens.push_back(full.substr(p, 2));
    for (size_t n = 0; n < tokens.size(); ++n) {
        std::string hex;
        for (size_t i = 0; i < n; ++i) hex += tokens[i] + " ";
        // LEN says how long the message should have been.
        ParserClient c;
        auto done = c.Run(Signal("10.00.00.00", 1, "SWHW", "DLRDATALONG", "E1", hex, static_cast<int>(tokens.size())));
        ASSERT_EQ(done.size(), 1u) << n;
        EXPECT_FALSE(done[0].messages[0].valid) << n;
        ExpectShowable(done[0].messages[0].text);
    }
}

TEST(Robustness, HostileRowsAndNumbers) {
    ParserClient c;
    const std::string in(24, ' ');
    std::string trace = "10.00.00.00 00001  SWHW DLRDATA  A  B\n" + in + "EQU NO      E1\n" + in +
                        "PART 99999999999999999999/3\n" + in + "DATA 08\n" + in + "LEN 99999999999999999999\n" +
                        "10.00.00.01 00002  SWHW DLRDATA  A  B\n" + in + "PART 1/2000000000\n" + in + "PART 2/3\n" + in +
                        "DATA \x01\x02\xff\xfe zz\n" + in + "LEN -4\n" + "10.00.00.02 00003  SWHW DLRDATALONG  A  B\n" +
                        in + "PART 1/1\n" + in + "DATA\n" + in + "LEN\n";
    auto done = c.Run(trace);
    for (const Completion &d : done) {
        for (const MessageView &m : d.messages) {
            EXPECT_FALSE(m.valid);
            ExpectShowable(m.text);
        }
    }
    EXPECT_EQ(done.size(), 2u);  // the part of 2,000,000,000 waits for the rest
}

}  // namespace
