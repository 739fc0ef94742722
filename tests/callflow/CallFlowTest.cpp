// The call flow and the trace summary over the sample traces, with the real parser
// components: the SVG's arrows are read back and compared with the messages of the call
// as the message list shows them.
#include "CallFlow.h"
#include "CallFlowSvg.h"
#include "TraceSummary.h"
#include "../engine/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>

namespace vexa {
namespace {

struct SvgArrow {
    int sequence;
    std::string label, stroke;
    bool operator==(const SvgArrow &) const = default;
};

std::ostream &operator<<(std::ostream &out, const SvgArrow &a) {
    return out << a.sequence << " " << a.label << " " << a.stroke;
}

// The arrows of an SVG picture as a reader finds them: sequence number, label, colour.
std::vector<SvgArrow> ReadArrows(const std::string &svg) {
    std::vector<SvgArrow> arrows;
    static const std::regex group(
        R"re(<g class="arrow" data-seq="(-?\d+)"[^>]*>.*?stroke="(#[0-9a-f]{6})".*?<text class="label"[^>]*>([^<]*)</text></g>)re");
    for (std::sregex_iterator it(svg.begin(), svg.end(), group), end; it != end; ++it)
        arrows.push_back({std::stoi((*it)[1]), (*it)[3], (*it)[2]});
    return arrows;
}

std::string Svg(const CallFlow &flow) {
    std::ostringstream out;
    WriteCallFlowSvg(flow, FlowColors(), out);
    return out.str();
}

class SampleFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("VEXA_COMPONENT_PATH", VEXA_COMPONENT_DIR, 1);
        char pattern[] = "/tmp/vexa-flow-XXXXXX";
        dir = mkdtemp(pattern);
        host.settings.m_strTempPath = dir + "/";
    }
    void TearDown() override {
        if (doc) doc->OnCloseDocument();
        doc.reset();
        std::filesystem::remove_all(dir);
    }
    std::vector<FlowMessage> Open(const char *sample, int protocol) {
        host.settings.m_nCurrentProtocol = host.settings.m_nDefaultProtocol = protocol;
        doc = std::make_unique<CVexaClientDoc>(host);
        doc->m_pListView = &list;
        EXPECT_TRUE(doc->OnOpenDocument(std::string(VEXA_SAMPLES_DIR) + "/" + sample));
        EXPECT_TRUE(doc->m_bOutputLoaded) << sample;
        return ReadFlowMessages(*doc);
    }
    // The rows of the list whose sequence numbers are given, as arrows are drawn: the
    // message name, then the colour of the direction (or red when invalid).
    std::vector<SvgArrow> ListedArrows(std::initializer_list<int> sequences) {
        std::vector<SvgArrow> out;
        for (int s : sequences)
            for (const test::Row &r : list.rows)
                if (r.sequence == s) {
                    out.push_back({s, r.message, !r.valid ? "#ff0000" : r.direction == "SWHW" ? "#0000ff" : "#ff0000"});
                    break;
                }
        return out;
    }
    static std::vector<SvgArrow> WithoutKeys(std::vector<SvgArrow> arrows) {
        for (SvgArrow &a : arrows) a.label = a.label.substr(0, a.label.find("  ("));
        return arrows;
    }

    std::string dir;
    test::TestHost host;
    test::TestList list;
    std::unique_ptr<CVexaClientDoc> doc;
};

TEST_F(SampleFlowTest, IsdnCallIsItsCallReferenceOnItsEquipmentWithKeys) {
    const auto messages = Open("isdn-call.trc", 1);
    // Any message of the call gives the same call, whichever side sent it.
    for (int16_t seq : {42, 45, 50}) {
        const CallFlow flow = BuildCallFlow(messages, seq);
        EXPECT_EQ(flow.sides, (std::vector<std::string>{"ISDNCP-01", "DLB-0102"}));
        const auto arrows = ReadArrows(Svg(flow));
        EXPECT_EQ(WithoutKeys(arrows), ListedArrows({42, 44, 45, 46, 48, 49, 50})) << "from " << seq;
        ASSERT_EQ(arrows.size(), 7u);
        EXPECT_EQ(arrows[0].label, "SETUP  (to 456)");
        EXPECT_EQ(arrows[4].label, "DISCONNECT  (cause 16 Normal call clearing)");
    }
}

TEST_F(SampleFlowTest, IsdnCallIgnoresTheFlagAndKeepsCallsWithRepeatedNumbersApart) {
    const auto messages = Open("isdn-repeat.trc", 1);
    // Call reference 01 (SETUP flag clear, answers flag set), then call reference 02.
    EXPECT_EQ(WithoutKeys(ReadArrows(Svg(BuildCallFlow(messages, 1234)))),
              (std::vector<SvgArrow>{{42, "SETUP", "#0000ff"}, {1234, "ALERTING", "#ff0000"}, {43, "CONNECT", "#ff0000"}}));
    EXPECT_EQ(WithoutKeys(ReadArrows(Svg(BuildCallFlow(messages, 44)))),
              (std::vector<SvgArrow>{{42, "DISCONNECT", "#0000ff"}, {43, "RELEASE", "#ff0000"},
                                     {44, "RELEASE COMPLETE", "#0000ff"}}));
}

TEST_F(SampleFlowTest, DectCallIsItsScpIdAndTransaction) {
    const auto messages = Open("dect-call.trc", 5);
    const CallFlow flow = BuildCallFlow(messages, 205);
    EXPECT_EQ(flow.sides, (std::vector<std::string>{"DECT-01", "GDICP-01"}));
    const auto arrows = ReadArrows(Svg(flow));
    EXPECT_EQ(WithoutKeys(arrows), ListedArrows({201, 202, 203, 204, 205, 206, 207, 209, 210}));
    for (const SvgArrow &a : arrows) EXPECT_NE(a.label.find("(TI 1)"), std::string::npos) << a;
    // The page response opens a call of another SCP ID and transaction.
    const CallFlow other = BuildCallFlow(messages, 213);
    ASSERT_FALSE(other.arrows.empty());
    for (const FlowMessage &m : other.arrows) EXPECT_GE(m.sequence, 213);
}

// Two calls between the same two sides, at once: each diagram holds its own admission,
// call signalling, H.245 session and disengage, whichever of its messages it is opened from.
TEST_F(SampleFlowTest, IpCallsBetweenTheSameSidesAreKeptApart) {
    const auto messages = Open("ip-two-calls.trc", 6);
    const std::vector<int> callA = {602, 603, 604, 605, 606, 610, 611, 613, 617, 619, 621, 621,
                                    623, 625, 626, 630, 631, 632, 633};
    const std::vector<int> callB = {607, 608, 609, 612, 614, 615, 616, 618, 620, 622, 627, 628, 629};
    auto sequences = [](const std::vector<SvgArrow> &arrows) {
        std::vector<int> out;
        for (const SvgArrow &a : arrows) out.push_back(a.sequence);
        return out;
    };
    // From the SETUP, an H.245 message, a RAS answer and the RELEASE COMPLETE.
    for (int16_t seq : {604, 613, 603, 633}) {
        const CallFlow flow = BuildCallFlow(messages, seq);
        EXPECT_EQ(flow.title, "Call ID c0fef93ecd9ed6119ab2000476222017") << seq;
        EXPECT_EQ(sequences(ReadArrows(Svg(flow))), callA) << "from " << seq;
    }
    for (int16_t seq : {609, 618, 629}) {
        const CallFlow flow = BuildCallFlow(messages, seq);
        EXPECT_EQ(flow.title, "Call ID 5e881d0cb706db119eca0010a4896d6a") << seq;
        EXPECT_EQ(sequences(ReadArrows(Svg(flow))), callB) << "from " << seq;
    }
    const auto arrows = ReadArrows(Svg(BuildCallFlow(messages, 609)));
    ASSERT_EQ(arrows.size(), callB.size());
    EXPECT_EQ(arrows[0].label, "admissionRequest  (RAS)");
    EXPECT_EQ(arrows[1].label, "admissionConfirm  (RAS)");
    EXPECT_EQ(arrows[2].label, "SETUP  (H.225.0)");
    EXPECT_EQ(arrows[6].label, "terminalCapabilitySet  (H.245)");
    EXPECT_EQ(arrows[12].label, "disengageConfirm  (RAS)");
    // Every row of the list is in one diagram: a call's, or the registration's.
    const CallFlow registration = BuildCallFlow(messages, 600);
    EXPECT_EQ(sequences(ReadArrows(Svg(registration))), (std::vector<int>{600, 601}));
    std::vector<int> listed, drawn;
    for (const test::Row &r : list.rows) listed.push_back(r.sequence);
    for (const auto *call : {&callA, &callB})
        for (int seq : *call)
            if (drawn.empty() || drawn.back() != seq) drawn.push_back(seq);
    drawn.insert(drawn.end(), {600, 601});
    std::sort(drawn.begin(), drawn.end());
    drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
    EXPECT_EQ(drawn, listed);
    // Both calls ended: no SETUP is left without its RELEASE COMPLETE.
    EXPECT_TRUE(BuildTraceSummary(messages).unended.empty());
}

// An H.245 session whose opening the trace does not show is a diagram of its own, with
// the later segments of a packet that spans several; the RAS message between them is not in it.
TEST_F(SampleFlowTest, IpH245SessionOfNoKnownCallIsItsConnection) {
    const auto messages = Open("ip-spanning.trc", 6);
    const CallFlow flow = BuildCallFlow(messages, 403);
    EXPECT_EQ(flow.title, "TCP 10.1.3.143:32804 <> 10.1.6.18:11000");
    std::vector<int> drawn;
    for (const SvgArrow &a : ReadArrows(Svg(flow))) drawn.push_back(a.sequence);
    EXPECT_EQ(drawn, (std::vector<int>{400, 403, 404, 405, 405}));
    EXPECT_EQ(BuildCallFlow(messages, 402).arrows.size(), 1u);
}

// The window reads only what a diagram draws, and takes the call's messages over: its
// picture is the same as the one drawn from everything the summary reads.
TEST_F(SampleFlowTest, DiagramFactsDrawTheSamePicture) {
    for (const auto &[sample, protocol] : {std::pair{"isdn-call.trc", 1}, std::pair{"isdn-repeat.trc", 1},
                                           std::pair{"dect-call.trc", 5}, std::pair{"ip-two-calls.trc", 6}}) {
        const auto all = Open(sample, protocol);
        ASSERT_FALSE(all.empty()) << sample;
        for (const FlowMessage &m : all) {
            const CallFlow full = BuildCallFlowOfMessage(all, m.index);
            const CallFlow drawn = BuildCallFlowOfMessage(ReadFlowMessages(*doc, FlowFacts::Diagram), m.index);
            EXPECT_EQ(drawn.title, full.title) << sample << " " << m.sequence;
            EXPECT_EQ(drawn.sides, full.sides) << sample << " " << m.sequence;
            EXPECT_EQ(Svg(drawn), Svg(full)) << sample << " " << m.sequence;
        }
        doc->OnCloseDocument();
        list.rows.clear();
    }
}

TEST_F(SampleFlowTest, InvalidMessagesAreRedWithTheirReasonInTheSummary) {
    const auto messages = Open("dect-errors.trc", 5);
    const TraceSummary summary = BuildTraceSummary(messages);
    ASSERT_FALSE(summary.invalid.empty());
    bool found = false;
    for (const SummaryLine &l : summary.invalid)
        if (l.sequences == std::vector<int16_t>{302}) {
            found = true;
            EXPECT_EQ(l.text, "302  CC-SETUP  Elements not decoded: Length 7 runs past the end of the message (4 octets left)");
        }
    EXPECT_TRUE(found);
    for (const SvgArrow &a : ReadArrows(Svg(BuildCallFlow(messages, 302)))) {
        if (a.sequence == 302) {
            EXPECT_EQ(a.stroke, "#ff0000");
        }
    }
}

TEST_F(SampleFlowTest, SummaryCountsCausesAndCallsThatNeverEnded) {
    {
        const TraceSummary s = BuildTraceSummary(Open("isdn-busy.trc", 1));
        ASSERT_EQ(s.causes.size(), 1u);
        EXPECT_EQ(s.causes[0].text, "17  User busy  1");
        EXPECT_EQ(s.causes[0].sequences, std::vector<int16_t>{123});
        EXPECT_TRUE(s.unended.empty());
        ASSERT_FALSE(s.messageTypes.empty());
        EXPECT_EQ(s.messageTypes[0].text, "SETUP  Received  1");
        std::ostringstream text;
        WriteTraceSummary(s, text);
        EXPECT_NE(text.str().find("Calls that never ended:\n  (none)"), std::string::npos);
    }
    doc->OnCloseDocument();
    {
        const TraceSummary s = BuildTraceSummary(Open("isdn-cut.trc", 1));
        ASSERT_EQ(s.unended.size(), 1u);
        EXPECT_EQ(s.unended[0].sequences, std::vector<int16_t>{300});
    }
}

TEST(CallFlowSvg, TextIsEscapedAndAnUnknownSignalDrawsNothing) {
    std::vector<FlowMessage> messages(1);
    messages[0].sequence = 7;
    messages[0].name = "A<B & \"C\"";
    messages[0].from = "X";
    messages[0].to = "Y";
    messages[0].valid = false;
    EXPECT_TRUE(BuildCallFlow(messages, 8).arrows.empty());
    const std::string svg = Svg(BuildCallFlow(messages, 7));
    EXPECT_NE(svg.find("A&lt;B &amp; &quot;C&quot;"), std::string::npos);
    EXPECT_EQ(ReadArrows(svg), (std::vector<SvgArrow>{{7, "A&lt;B &amp; &quot;C&quot;", "#ff0000"}}));
}

TEST(CallFlowFacts, DecodedTextPartsAndErrorMarks) {
    FlowMessage m;
    m.name = "RELEASE";
    std::string callPart;
    ReadDecodedFacts(1, "RELEASE||      Cause value: 31 H'1F Normal, unspecified\n  !!!Length wrong!!! more", m, callPart);
    EXPECT_EQ(m.causeValue, "31");
    EXPECT_EQ(m.causeText, "Normal, unspecified");
    EXPECT_EQ(m.key, "cause 31 Normal, unspecified");
    EXPECT_EQ(m.reason, "Length wrong");
}

// The call facts of IP texts as the component writes them.
TEST(IpCallFacts, ReadFromTheDecodedText) {
    const IpCallFacts setup = ReadIpCallFacts(
        "H.225.0 call signalling, TCP 10.1.6.18:1720 > 10.1.3.143:32803, TPKT of 97 octets||"
        "      H323-UserInformation\n        h323-uu-pdu\n          h323-message-body: connect\n"
        "            h245Address: ipAddress: 10.1.6.18:11000\n"
        "            conferenceID: f8fdf93ecd9ed6119ab2000476222017\n"
        "            callIdentifier\n              guid: c0fef93ecd9ed6119ab2000476222017\n"
        "            callIdentifier\n              guid: 00000000000000000000000000000001");
    EXPECT_EQ(setup.transport, "TCP");
    EXPECT_EQ(setup.source, "10.1.6.18:1720");
    EXPECT_EQ(setup.destination, "10.1.3.143:32803");
    EXPECT_EQ(setup.callId, "c0fef93ecd9ed6119ab2000476222017");
    EXPECT_EQ(setup.conferenceId, "f8fdf93ecd9ed6119ab2000476222017");
    EXPECT_EQ(setup.h245Addresses, std::vector<std::string>{"10.1.6.18:11000"});
    const IpCallFacts answer = ReadIpCallFacts(
        "H.225.0 RAS, UDP 10.1.6.1:1719 > 10.1.3.143:2034, 33 octets\nRasMessage: admissionConfirm\n  requestSeqNum: 3");
    EXPECT_EQ(answer.requestSeqNum, "3");
    EXPECT_EQ(answer.transport, "UDP");
    EXPECT_TRUE(answer.callId.empty());
    // A later segment of a spanning packet names only its connection.
    const IpCallFacts continuation = ReadIpCallFacts("TCP 10.1.6.18:11000 > 10.1.3.143:32804\nOctets 1-100 of this segment");
    EXPECT_EQ(continuation.source, "10.1.6.18:11000");
    EXPECT_TRUE(ReadIpCallFacts("!!!TPKT cut short!!!").source.empty());
    // Cut short or odd texts give nothing rather than something wrong.
    for (const char *text : {"TCP", "UDP 1.2.3.4:5 >", "x, TCP  > ", "callIdentifier", "callIdentifier\nguid:",
                             "h245Address: ipAddress:", "requestSeqNum:", "", "||||\n\n"}) {
        const IpCallFacts f = ReadIpCallFacts(text);
        EXPECT_TRUE(f.callId.empty() && f.transport.empty() && f.h245Addresses.empty() && f.requestSeqNum.empty()) << text;
    }
    // A transport line cut short does not hide the one after it.
    EXPECT_EQ(ReadIpCallFacts("H.245, TCP 1.2.3.4:5 >\nTCP 1.2.3.4:5 > 6.7.8.9:10").destination, "6.7.8.9:10");
}

// Two calls that offer the same H.245 address: each new connection goes to the call whose
// signalling reached its other host; a conferenceID alone stands for its call.
TEST(IpCallKeys, ConnectionsAndAnswersFollowTheirCalls) {
    struct Step {
        const char *transport, *from, *to, *callId, *conference, *offer, *seqNum;
    };
    const std::vector<Step> steps = {
        {"UDP", "10.0.0.1:2000", "10.9.9.9:1719", "aa", "ca", "", "5"},     // 0 ARQ call aa
        {"UDP", "10.9.9.9:1719", "10.0.0.1:2000", "", "", "", "5"},         // 1 ACF
        {"TCP", "10.0.0.1:3000", "10.9.9.9:1720", "aa", "", "", ""},        // 2 SETUP aa
        {"TCP", "10.0.0.2:3000", "10.9.9.9:1720", "bb", "", "", ""},        // 3 SETUP bb
        {"TCP", "10.9.9.9:1720", "10.0.0.1:3000", "aa", "", "10.9.9.9:11000", ""},  // 4 CONNECT aa
        {"TCP", "10.9.9.9:1720", "10.0.0.2:3000", "bb", "", "10.9.9.9:11000", ""},  // 5 CONNECT bb
        {"TCP", "10.0.0.2:4000", "10.9.9.9:11000", "", "", "", ""},         // 6 H.245 of bb
        {"TCP", "10.0.0.1:4000", "10.9.9.9:11000", "", "", "", ""},         // 7 H.245 of aa
        {"TCP", "10.9.9.9:11000", "10.0.0.2:4000", "", "", "", ""},         // 8 H.245 of bb
        {"TCP", "10.9.9.9:1720", "10.0.0.2:3000", "", "", "", ""},          // 9 STATUS on bb's
        {"UDP", "10.0.0.1:2000", "10.9.9.9:1719", "", "ca", "", "6"},       // 10 DRQ conference ca
        {"UDP", "10.9.9.9:1719", "10.0.0.1:2000", "", "", "", "6"},         // 11 DCF
        {"UDP", "10.0.0.1:2000", "10.9.9.9:1719", "", "", "", "7"},         // 12 RRQ
        {"TCP", "10.0.0.7:5000", "10.9.9.9:12000", "", "", "", ""},         // 13 H.245 of no call
        {"UDP", "10.0.0.1:2000", "10.9.9.9:1719", "", "cz", "", "8"},       // 14 conference only
    };
    std::vector<FlowMessage> messages(steps.size());
    std::vector<IpCallFacts> facts(steps.size());
    for (size_t i = 0; i < steps.size(); ++i) {
        messages[i].index = static_cast<int32_t>(i + 1);
        messages[i].from = "H323-01";
        messages[i].to = "IPGW-01";
        facts[i].transport = steps[i].transport;
        facts[i].source = steps[i].from;
        facts[i].destination = steps[i].to;
        facts[i].callId = steps[i].callId;
        facts[i].conferenceId = steps[i].conference;
        if (*steps[i].offer) facts[i].h245Addresses = {steps[i].offer};
        facts[i].requestSeqNum = steps[i].seqNum;
    }
    AssignIpCallKeys(messages, facts);
    auto key = [&](size_t i) { return messages[i].callKey; };
    for (size_t i : {1, 2, 4, 7, 10, 11}) EXPECT_EQ(key(i), "Call ID aa") << i;
    for (size_t i : {3, 5, 6, 8, 9}) EXPECT_EQ(key(i), "Call ID bb") << i;
    EXPECT_EQ(key(12), "H323-01 <> IPGW-01");
    EXPECT_EQ(key(13), "TCP 10.0.0.7:5000 <> 10.9.9.9:12000");
    EXPECT_EQ(key(14), "Conference ID cz");
}

}  // namespace
}  // namespace vexa
