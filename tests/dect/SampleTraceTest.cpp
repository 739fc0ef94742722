// The DECT sample traces a user opens decode as a DECT engineer expects.
#include "DectClient.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace vexa::dect::test;

namespace {

std::string ReadSample(const std::string &name) {
    std::ifstream in(std::string(VEXA_SAMPLES_DIR) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> Names(const std::vector<Completion> &done) {
    std::vector<std::string> names;
    for (const Completion &c : done) names.push_back(c.Text(3));
    return names;
}

TEST(DectSamples, LocationRegistrationWithAuthentication) {
    DectClient c;
    auto done = c.Run(ReadSample("dect-registration.trc"));
    EXPECT_EQ(Names(done), (std::vector<std::string>{"MM-LOCATE-REQUEST", "MM-AUTHENTICATION-REQUEST",
                                                     "MM-AUTHENTICATION-REPLY", "MM-CIPHER-REQUEST",
                                                     "MM-LOCATE-ACCEPT", "Station control message"}));
    for (const Completion &s : done) EXPECT_TRUE(s.message.valid) << s.Text(3) << "\n" << s.Text(7);
    EXPECT_EQ(done.back().lineStatus, -5);
    EXPECT_EQ(done.back().Text(9), "LINK_REL_REQ");
}

TEST(DectSamples, OutgoingAndIncomingCall) {
    DectClient c;
    auto done = c.Run(ReadSample("dect-call.trc"));
    EXPECT_EQ(Names(done),
              (std::vector<std::string>{"CC-SETUP", "CC-SETUP-ACK", "CC-INFO", "CC-INFO", "CC-CALL-PROC",
                                        "CC-ALERTING", "CC-CONNECT", "CC-RELEASE", "CC-RELEASE-COM",
                                        "Station control message", "Station control message", "LCE-PAGE-RESPONSE",
                                        "CC-SETUP", "CC-ALERTING", "CC-CONNECT", "CC-CONNECT-ACK", "CC-RELEASE",
                                        "CC-RELEASE-COM"}));
    for (const Completion &s : done) EXPECT_TRUE(s.message.valid) << s.Text(3) << "\n" << s.Text(7);
    EXPECT_EQ(done[10].Text(9), "PAGE_REQ");
    EXPECT_EQ(done[10].completion, 2);
    EXPECT_NE(done[2].Text(7).find("Characters: \"0301234\""), std::string::npos);
    EXPECT_NE(done[6].Text(7).find("Characters: \"0301234 ANNA\""), std::string::npos);
}

TEST(DectSamples, ErrorsAreShownInRed) {
    DectClient c;
    auto done = c.Run(ReadSample("dect-errors.trc"));
    ASSERT_EQ(done.size(), 8u);
    for (const Completion &s : done) EXPECT_FALSE(s.message.valid) << s.Text(3);
    EXPECT_EQ(done[0].lineStatus, -6);
    EXPECT_EQ(done[1].lineStatus, -4);
    EXPECT_EQ(done[3].lineStatus, -7);
    // The signal without its LEN row is completed by the ISDN signal after it.
    EXPECT_EQ(done[5].sequence, 307);
    EXPECT_EQ(done[5].completion, 2);
    // The trace ends without an end line: "END" completes the last signal.
    EXPECT_EQ(done[7].sequence, 309);
    EXPECT_EQ(done[7].completion, 1);
}

}  // namespace
