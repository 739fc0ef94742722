// The sample traces a user opens, read end to end: the messages and what the list shows.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace vexa::isdn::test;

namespace {

std::string ReadSample(const std::string &name) {
    std::ifstream f(name.find('/') == std::string::npos ? std::string(VEXA_SAMPLES_DIR) + "/" + name : name,
                    std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

std::vector<std::string> Names(const std::vector<Completion> &done) {
    std::vector<std::string> names;
    for (const Completion &c : done)
        for (const MessageView &m : c.messages) names.push_back(m.direction + " " + m.messageName);
    return names;
}

TEST(Samples, CompleteCall) {
    ParserClient c;
    bool pending = true;
    auto done = c.Run(ReadSample("isdn-call.trc"), &pending);
    EXPECT_FALSE(pending);
    EXPECT_EQ(Names(done), (std::vector<std::string>{"SWHW SETUP", "HWSW ALERTING", "HWSW CONNECT",
                                                     "SWHW CONNECT ACKNOWLEDGE", "SWHW DISCONNECT", "HWSW RELEASE",
                                                     "SWHW RELEASE COMPLETE"}));
    for (const Completion &d : done) EXPECT_TRUE(d.messages[0].valid) << d.messages[0].text;
    // Every message of the call is found from the SETUP's call reference.
    int found = 0;
    for (int32_t i = c.FindFirstByCallReference("H'01"); i > 0; i = c.FindNextByCallReference("H'01", i)) ++found;
    EXPECT_EQ(found, 7);
    std::string number;
    EXPECT_EQ(c.GetNextCallingPartyNumber(-1, number), 0);
    EXPECT_EQ(number, "030123456");
}

TEST(Samples, BusyCall) {
    ParserClient c;
    auto done = c.Run(ReadSample("isdn-busy.trc"));
    ASSERT_EQ(done.size(), 5u);
    EXPECT_EQ(done[2].messages[0].messageName, "DISCONNECT");
    EXPECT_TRUE(HasLine(done[2].messages[0].text, "Cause value: 17 H'11 User busy"));
}

TEST(Samples, SplitMessages) {
    ParserClient c;
    auto done = c.Run(ReadSample("isdn-split.trc"));
    EXPECT_EQ(Names(done), (std::vector<std::string>{"HWSW INFORMATION", "HWSW FACILITY", "SWHW SETUP",
                                                     "HWSW ALERTING"}));
    for (const Completion &d : done) EXPECT_TRUE(d.messages[0].valid) << d.messages[0].text;
    EXPECT_EQ(done[2].sequence, 200);
    EXPECT_TRUE(HasLine(done[2].messages[0].text, "Display information: \"J.SMIT\""));
}

// A SETUP sent in three SEGMENT messages, a signal of another kind between them: each
// segment is valid, and the last shows the whole SETUP.
TEST(Samples, SegmentedSetup) {
    ParserClient c;
    bool pending = true;
    auto done = c.Run(ReadSample("isdn-segment.trc"), &pending);
    EXPECT_FALSE(pending);
    EXPECT_EQ(Names(done), (std::vector<std::string>{"SWHW SEGMENT", "SWHW SEGMENT", "SWHW SEGMENT",
                                                     "HWSW CALL PROCEEDING", "HWSW ALERTING", "HWSW CONNECT",
                                                     "SWHW CONNECT ACKNOWLEDGE"}));
    for (const Completion &d : done) EXPECT_TRUE(d.messages[0].valid) << d.messages[0].text;
    ASSERT_EQ(done.size(), 7u);
    const std::string &last = done[2].messages[0].text;
    EXPECT_TRUE(HasLines(last, {
        "Segment 3 of 3: the SETUP reassembled from its segments follows",
        "Display information: \"KORVAN HQ-01 RECEPTION DESK\"",
        "Number digits: \"030123456\"",
        "User information: \"PLEASE CALL BACK ABOUT THE SERVICE VISIT AT THE SOUTH GATE.\"",
    }));
    EXPECT_EQ(c.FindByCallingPartyNumber("030123456"), 3);
}

TEST(Samples, CutTraceLeavesAPendingMessage) {
    ParserClient c;
    bool pending = false;
    auto done = c.Run(ReadSample("isdn-cut.trc"), &pending);
    EXPECT_EQ(done.size(), 2u);
    EXPECT_TRUE(pending);
}

TEST(Samples, NationalVariants) {
    for (auto [file, variant] : {std::pair{"isdn-german.trc", 3}, {"isdn-french.trc", 2}, {"isdn-australian.trc", 4}}) {
        ParserClient c;
        ASSERT_TRUE(c.SetProtocolVariant(variant));
        auto done = c.Run(ReadSample(file));
        ASSERT_FALSE(done.empty()) << file;
        bool shifted = false;
        for (const Completion &d : done) {
            EXPECT_TRUE(d.messages[0].valid) << file << "\n" << d.messages[0].text;
            if (d.messages[0].text.find("codeset ") != std::string::npos) shifted = true;
        }
        EXPECT_TRUE(shifted) << file;
    }
    ParserClient de;
    de.SetProtocolVariant(3);
    auto done = de.Run(ReadSample("isdn-german.trc"));
    EXPECT_TRUE(HasLine(done[0].messages[0].text, "Service: Telephony (Fernsprechen)"));
}

}  // namespace

namespace {

// The load-test generator's traces read cleanly: every message valid, nothing pending
// but the calls the trace cut off at its end.
TEST(Samples, GeneratedTrace) {
    std::string path = ::testing::TempDir() + "isdn-generated-" + std::to_string(getpid()) + ".trc";
    std::string command = "python3 " + std::string(VEXA_SCRIPTS_DIR) + "/gen-isdn-trace.py 50000 " + path;
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "python3 not available";
    std::string trace = ReadSample(path);
    size_t lines = 0;
    for (char ch : trace) lines += ch == '\n';
    EXPECT_EQ(lines, 50000u);
    ParserClient c;
    auto done = c.Run(trace);
    EXPECT_GT(done.size(), 8000u);
    for (const Completion &d : done) {
        ASSERT_EQ(d.messages.size(), 1u);
        ASSERT_TRUE(d.messages[0].valid) << d.messages[0].text;
    }
    EXPECT_EQ(c.GetMessageCount(), static_cast<int32_t>(done.size()));
    std::remove(path.c_str());
}

}  // namespace
