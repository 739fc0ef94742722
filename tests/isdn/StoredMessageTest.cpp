// What the component keeps of every message after its completion: the list's questions
// after a run answer exactly what the block of the message showed when it completed,
// however many messages came since.
#include "TestSupport.h"

#include "DispatchIds.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace vexa::isdn::test;

namespace {

std::string ReadFile(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// Every message of a run read back by index gives the same strings, valid flag and
// decoded text as GetSequenceMessage gave at its completion.
void ExpectSameAfterRun(const std::string &trace, int variant) {
    ParserClient c;
    ASSERT_TRUE(c.SetProtocolVariant(variant));
    auto done = c.Run(trace);
    int32_t index = 0;
    for (const Completion &d : done) {
        for (size_t k = 0; k < d.messages.size(); ++k) {
            const MessageView &first = d.messages[k];
            ++index;
            MessageView again;
            ASSERT_TRUE(c.GetMessage(index, again));
            EXPECT_EQ(again.sequence, d.sequence);
            EXPECT_EQ(again.direction, first.direction);
            EXPECT_EQ(again.signalName, first.signalName);
            EXPECT_EQ(again.messageName, first.messageName);
            EXPECT_EQ(again.time, first.time);
            EXPECT_EQ(again.originator, first.originator);
            EXPECT_EQ(again.destination, first.destination);
            EXPECT_EQ(again.valid, first.valid);
            EXPECT_EQ(again.discriminator, first.discriminator);
            ASSERT_EQ(again.text, first.text) << "message " << index;
        }
    }
    EXPECT_EQ(c.GetMessageCount(), index);
}

TEST(StoredMessages, SamplesReadBackAsCompleted) {
    const char *samples[] = {"isdn-call.trc",  "isdn-busy.trc",   "isdn-split.trc",     "isdn-cut.trc",
                             "isdn-french.trc", "isdn-german.trc", "isdn-australian.trc", "isdn-segment.trc"};
    for (const char *name : samples)
        for (int variant = 1; variant <= 4; ++variant) {
            SCOPED_TRACE(std::string(name) + " variant " + std::to_string(variant));
            ExpectSameAfterRun(ReadFile(std::string(VEXA_SAMPLES_DIR) + "/" + name), variant);
        }
}

TEST(StoredMessages, GeneratedTraceReadBackAsCompleted) {
    std::string path = ::testing::TempDir() + "isdn-stored.trc";
    std::string command = "python3 " + std::string(VEXA_SCRIPTS_DIR) + "/gen-isdn-trace.py 20000 " + path;
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "python3 not available";
    ExpectSameAfterRun(ReadFile(path), 1);
    std::remove(path.c_str());
}

// Messages with what the line reader found, odd times and words, an unknown discriminator
// and a cut call reference keep all of it.
TEST(StoredMessages, UnusualMessagesReadBackAsCompleted) {
    const std::string in(24, ' ');
    std::string trace;
    trace += "23.59.59.99 32767  SWHW DLRDATALONG  A  B\n" + in + "EQU NO      001-0-02-01\n" + in +
             "DATA 08 01 05 05 04 03 8\n" + in + "LEN 9\n";
    trace += "00.00.00.00 00000  HWSW DLIDATALONG\n" + in + "DATA 41 01 05 05\n" + in + "LEN 4\n";
    trace += "12.34.56.78 00012  HWSW DLIDATALONG  ORIGINATOR-WITH-A-LONG-NAME  X\n" + in + "DATA 08 03 01\n";
    trace += "12.34.56.79 00013  SWHW DLRDATALONG  A  B\n" + in + "EQU NO      7\n" + in +
             "DATA 08 01 05 05 04 03 80 90 A3 6C 03 21 83 31\n" + in + "LEN 14\n";
    trace += "12.34.57.00 00014  SWHW DLRDATALONG  A  B\n" + in + "DATA 08 01 05 00\n" + in + "LEN 4\n";
    trace += "END OF TRACE\n";
    for (int variant = 1; variant <= 4; ++variant) ExpectSameAfterRun(trace, variant);
}

// The program may pass no text for the decoded text (the list does not show it): the
// other answers stay the same, and the text is still given when it is asked for.
TEST(StoredMessages, GetMessageWithoutTheDecodedText) {
    const std::string in(24, ' ');
    std::string trace;
    for (int i = 0; i < 40; ++i) {
        char seq[8];
        std::snprintf(seq, sizeof seq, "%05d", i + 1);
        trace += std::string("09.41.07.25 ") + seq + "  SWHW DLRDATALONG  ISDNCP-01  DLB-0102\n" + in +
                 "EQU NO      001-0-02-01\n" + in + "DATA 08 01 05 05 04 03 80 90 A3 6C 03 21 83 3" +
                 std::to_string(i % 10) + "\n" + in + "LEN 14\n";
    }
    trace += "END OF TRACE\n";
    ParserClient c;
    auto done = c.Run(trace);
    ASSERT_EQ(done.size(), 40u);
    for (int32_t index = 1; index <= 40; ++index) {
        MessageView full;
        ASSERT_TRUE(c.GetMessage(index, full));
        std::string texts[8];
        std::vector<VexaArg> a(11);
        a[0].type = VEXA_T_I4;
        a[0].num = index;
        a[1].type = VEXA_T_I2;
        a[1].out = 1;
        for (int k = 0; k < 7; ++k) {
            a[2 + k].type = VEXA_T_STR;
            a[2 + k].out = 1;
            a[2 + k].sink = k == 6 ? nullptr : &texts[k];
        }
        a[9].type = VEXA_T_VBOOL;
        a[9].out = 1;
        a[10].type = VEXA_T_STR;
        a[10].out = 1;
        a[10].sink = &texts[7];
        VexaArg r{};
        ASSERT_EQ(c.Invoke(vexa::kIsdnDispIds.GetMessage, a, r), VEXA_OK);
        EXPECT_NE(r.num, 0);
        EXPECT_EQ(a[1].num, full.sequence);
        EXPECT_EQ(texts[0], full.direction);
        EXPECT_EQ(texts[2], full.messageName);
        EXPECT_EQ(texts[3], full.time);
        EXPECT_EQ(texts[7], full.discriminator);
        EXPECT_EQ(a[9].num != 0, full.valid);
        EXPECT_EQ(full.text, done[index - 1].messages[0].text);
    }
}

}  // namespace
