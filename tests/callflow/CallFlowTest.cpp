// The call flow and the trace summary over the sample traces, with the real parser
// components: the SVG's arrows are read back and compared with the messages of the call
// as the message list shows them.
#include "CallFlow.h"
#include "CallFlowSvg.h"
#include "TraceSummary.h"
#include "../engine/TestSupport.h"

#include <gtest/gtest.h>

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

TEST_F(SampleFlowTest, IpCallIsTheSignallingBetweenItsTwoSides) {
    const auto messages = Open("ip-call.trc", 6);
    const CallFlow flow = BuildCallFlow(messages, 203);
    const auto arrows = ReadArrows(Svg(flow));
    ASSERT_GT(arrows.size(), 7u);
    EXPECT_EQ(arrows.front().label, "admissionRequest  (RAS)");
    EXPECT_EQ(arrows[2].label, "SETUP  (H.225.0)");
    EXPECT_EQ(arrows[6].label, "terminalCapabilitySet  (H.245)");
    // One arrow per message: a signal of two H.245 messages has one row and two arrows.
    std::vector<int> drawn, listed;
    for (const SvgArrow &a : arrows)
        if (drawn.empty() || drawn.back() != a.sequence) drawn.push_back(a.sequence);
    for (const test::Row &r : list.rows) listed.push_back(r.sequence);
    EXPECT_EQ(drawn, listed);
    EXPECT_LT(drawn.size(), arrows.size());
    for (const FlowMessage &m : flow.arrows) EXPECT_TRUE(m.from == "H323-01" || m.from == "IPGW-01") << m.from;
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

}  // namespace
}  // namespace vexa
