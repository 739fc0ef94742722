// SEGMENT messages (Q.931 Annex H): a segment carries its segmented message element and octets
// of the message being segmented, cut anywhere; the last segment of a message whose segments
// are all in the trace shows the message reassembled.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace vexa::isdn::test;

namespace {

const std::string kEqu = "001-0-02-01";

// A SEGMENT message carrying octets of a SETUP; the call reference is given with its length
// octet (H'05, one octet, by default).
std::string Segment(const std::string &indicator, const std::string &octets, const std::string &callReference = "01 05",
                    const std::string &segmentedType = "05") {
    return "08 " + callReference + " 60 00 02 " + indicator + " " + segmentedType + " " + octets;
}

std::string Sig(int seq, const std::string &hex, const std::string &equ = kEqu) {
    char time[16];
    std::snprintf(time, sizeof time, "10.00.%02d.00", seq % 60);
    return Signal(time, seq, "SWHW", "DLRDATALONG", equ, hex);
}

std::vector<MessageView> RunTrace(ParserClient &c, const std::string &signals) {
    std::vector<MessageView> messages;
    for (const Completion &d : c.Run(signals + "END OF TRACE\n"))
        for (const MessageView &m : d.messages) messages.push_back(m);
    return messages;
}

// A SETUP cut into two segments: the channel identification is cut after its length octet.
const std::string kFirstOfTwo = Segment("81", "04 03 80 90 A3 18 01");
const std::string kLastOfTwo = Segment("00", "89 6C 03 21 83 31");

TEST(Segments, EachSegmentShowsItsIndicatorAndOctets) {
    ParserClient c;
    auto m = RunTrace(c, Sig(1, kFirstOfTwo) + Sig(2, kLastOfTwo));
    ASSERT_EQ(m.size(), 2u);
    for (const MessageView &s : m) {
        EXPECT_EQ(s.messageName, "SEGMENT");
        EXPECT_TRUE(s.valid) << s.text;
        EXPECT_EQ(ErrorLines(s.text), 0) << s.text;
    }
    EXPECT_TRUE(HasLines(Part(m[0].text, "Segmented message (H'00)"), {
        "First segment indicator: First segment of segmented message",
        "Number of segments remaining: 1",
        "Segmented message type: SETUP (H'05)",
    }));
    EXPECT_TRUE(HasLines(Part(m[0].text, "Message segment"), {
        "Octets: 04 03 80 90 A3 18 01",
        "Segment 1 of 2: the whole SETUP is shown under its last segment",
    }));
    // The octets a segment carries are not read as elements of the segment.
    EXPECT_TRUE(Part(m[0].text, "Bearer capability (H'04)").empty()) << m[0].text;
    EXPECT_TRUE(HasLines(Part(m[1].text, "Segmented message (H'00)"), {
        "First segment indicator: Subsequent segment to first segment",
        "Number of segments remaining: 0",
    }));
    EXPECT_TRUE(HasLine(Part(m[1].text, "Message segment"), "Octets: 89 6C 03 21 83 31"));
}

// The elements of the message, one of them cut between segments, are decoded under the last
// segment; its calling party number is found there, also when the text is made again later.
TEST(Segments, LastSegmentShowsTheReassembledMessage) {
    ParserClient c;
    std::string trace = Sig(1, Segment("82", "A1 04 03 80 90 A3 6C 0B 21 83 30 33")) +
                        Sig(2, Segment("01", "30 31 32 33 34 35 36 70 04 C1 34")) + Sig(3, Segment("00", "35 36"));
    for (int i = 0; i < 10; ++i) trace += Sig(10 + i, "08 01 85 7B 2C 01 31");
    auto m = RunTrace(c, trace);
    ASSERT_EQ(m.size(), 13u);
    EXPECT_TRUE(HasLine(Part(m[1].text, "Message segment"), "Segment 2 of 3: the whole SETUP is shown under its last segment"));
    EXPECT_TRUE(Part(m[1].text, "Reassembled SETUP").empty());

    const std::string &last = m[2].text;
    EXPECT_TRUE(m[2].valid) << last;
    EXPECT_TRUE(HasLine(Part(last, "Message segment"), "Segment 3 of 3: the SETUP reassembled from its segments follows"));
    EXPECT_TRUE(HasLines(Part(last, "Reassembled SETUP"), {"Segments: 3", "Length: 25 octets"}));
    EXPECT_FALSE(Part(last, "Sending complete (H'A1)").empty()) << last;
    EXPECT_TRUE(HasLine(Part(last, "Bearer capability (H'04)"), "Information transfer capability: Speech"));
    EXPECT_TRUE(HasLines(Part(last, "Calling party number (H'6C)"), {"Length: 11", "Number digits: \"030123456\""}));
    EXPECT_TRUE(HasLine(Part(last, "Called party number (H'70)"), "Number digits: \"456\""));

    std::string number;
    EXPECT_EQ(c.GetNextCallingPartyNumber(-1, number), 0);
    EXPECT_EQ(number, "030123456");
    EXPECT_EQ(c.FindByCallingPartyNumber("030123456"), 3);
    MessageView again;
    ASSERT_TRUE(c.GetMessage(3, again));
    EXPECT_EQ(again.text, last);
    EXPECT_TRUE(again.valid);
}

// Segments are joined per call reference and equipment; others between them do not disturb.
TEST(Segments, JoinedPerCallReferenceAndEquipment) {
    ParserClient c;
    const std::string other = "001-0-02-02";
    auto m = RunTrace(c, Sig(1, Segment("81", "04 03 80 90")) +                       // A: CR 05, equipment 1
                             Sig(2, Segment("81", "04 03 88 90"), other) +             // B: CR 05, equipment 2
                             Sig(3, Segment("81", "04 03 90 90", "01 85")) +              // C: CR 85, equipment 1
                             Sig(4, "08 01 85 7B 2C 01 31") +                          // another message
                             Sig(5, Segment("00", "A3"), other) +                      // B ends
                             Sig(6, Segment("00", "A3", "01 85")) +                       // C ends
                             Sig(7, Segment("00", "A3")));                             // A ends
    ASSERT_EQ(m.size(), 7u);
    auto capability = [](const MessageView &v) {
        std::string bc = Part(v.text, "Bearer capability (H'04)");
        size_t at = bc.find("Information transfer capability: ");
        return at == std::string::npos ? std::string("none") : bc.substr(at + 33, bc.find('\n', at) - at - 33);
    };
    EXPECT_EQ(capability(m[4]), "Unrestricted digital information") << m[4].text;
    EXPECT_EQ(capability(m[5]), "3.1 kHz audio") << m[5].text;
    EXPECT_EQ(capability(m[6]), "Speech") << m[6].text;
    for (const MessageView &s : m) EXPECT_TRUE(s.valid) << s.text;
}

// Only the whole run of segments, in order, makes a message; a segment whose predecessors
// are not in the trace says so without being a fault of the message.
TEST(Segments, NotJoinedWithoutAllSegmentsInOrder) {
    const std::string notJoined = "The segments before this one are not in the trace: the SETUP is not reassembled";
    {
        // The trace starts after the first segment.
        ParserClient c;
        auto m = RunTrace(c, Sig(1, kLastOfTwo));
        ASSERT_EQ(m.size(), 1u);
        EXPECT_TRUE(m[0].valid) << m[0].text;
        EXPECT_TRUE(HasLine(Part(m[0].text, "Message segment"), notJoined));
        EXPECT_TRUE(Part(m[0].text, "Reassembled SETUP").empty());
    }
    {
        // A segment is missing: 2 remaining, then 0.
        ParserClient c;
        auto m = RunTrace(c, Sig(1, Segment("82", "04 03 80")) + Sig(2, Segment("00", "90 A3")));
        ASSERT_EQ(m.size(), 2u);
        EXPECT_TRUE(HasLine(Part(m[1].text, "Message segment"), notJoined));
        EXPECT_TRUE(Part(m[1].text, "Reassembled SETUP").empty());
    }
    {
        // A segment of another message type does not continue the SETUP.
        ParserClient c;
        auto m = RunTrace(c, Sig(1, kFirstOfTwo) + Sig(2, Segment("00", "1C 00", "01 05", "62")));
        EXPECT_TRUE(Part(m[1].text, "Reassembled FACILITY").empty()) << m[1].text;
        EXPECT_TRUE(HasLine(m[1].text, "The segments before this one are not in the trace: the FACILITY is not reassembled"));
    }
    {
        // A new first segment begins the message again; the unfinished one is given up.
        ParserClient c;
        auto m = RunTrace(c, Sig(1, Segment("81", "04 03 88")) + Sig(2, Segment("81", "04 03 80")) +
                                 Sig(3, Segment("00", "90 A3")));
        ASSERT_EQ(m.size(), 3u);
        EXPECT_TRUE(HasLines(Part(m[2].text, "Bearer capability (H'04)"),
                             {"Information transfer capability: Speech", "Information transfer rate: 64 kbit/s"}));
    }
    {
        // A message in one segment only is reassembled under it.
        ParserClient c;
        auto m = RunTrace(c, Sig(1, Segment("80", "04 03 80 90 A3")));
        EXPECT_TRUE(HasLine(Part(m[0].text, "Message segment"), "Segment 1 of 1: the SETUP reassembled from its segments follows"));
        EXPECT_TRUE(HasLine(Part(m[0].text, "Bearer capability (H'04)"), "Information transfer rate: 64 kbit/s"));
    }
    {
        // A new run starts with nothing waiting.
        ParserClient c;
        RunTrace(c, Sig(1, kFirstOfTwo));
        ASSERT_TRUE(c.Reset());
        auto m = RunTrace(c, Sig(2, kLastOfTwo));
        EXPECT_TRUE(HasLine(Part(m[0].text, "Message segment"), notJoined)) << m[0].text;
    }
}

// What is wrong with a segment, or with the message its segments make, marks the row red and
// says why.
TEST(Segments, FaultsAreShown) {
    // The segmented message element must come first.
    Decoded noElement = DecodeHex("08 01 05 60 04 03 80 90 A3");
    EXPECT_FALSE(noElement.message.valid);
    EXPECT_TRUE(HasLine(noElement.message.text,
                        "!!!Mandatory information element Segmented message (H'00) missing!!!"));
    EXPECT_TRUE(HasLine(Part(noElement.message.text, "Message segment"), "Octets: 04 03 80 90 A3"));

    // A segment carries one or more octets of the message.
    Decoded empty = DecodeHex(Segment("81", ""));
    EXPECT_FALSE(empty.message.valid);
    EXPECT_TRUE(HasLine(Part(empty.message.text, "Message segment"),
                        "!!!No octets of the segmented message: a segment carries one or more!!!"));

    // The segmented message type is a message type, bit 8 spare.
    Decoded unknown = DecodeHex(Segment("81", "04 03", "01 05", "13"));
    EXPECT_FALSE(unknown.message.valid);
    EXPECT_TRUE(HasLine(Part(unknown.message.text, "Segmented message (H'00)"),
                        "!!!Segmented message type: unknown message type H'13!!!"));
    Decoded spare = DecodeHex(Segment("81", "04 03", "01 05", "85"));
    EXPECT_TRUE(HasLines(Part(spare.message.text, "Segmented message (H'00)"),
                         {"!!!Spare bit 8 of octet 4 is set!!!", "Segmented message type: SETUP (H'05)"}));

    // The reassembled SETUP lacks its bearer capability: the last segment says so.
    ParserClient c;
    auto m = RunTrace(c, Sig(1, Segment("81", "70 04 C1")) + Sig(2, Segment("00", "34 35 36")));
    ASSERT_EQ(m.size(), 2u);
    EXPECT_TRUE(m[0].valid);
    EXPECT_FALSE(m[1].valid);
    EXPECT_TRUE(HasLine(Part(m[1].text, "Called party number (H'70)"), "Number digits: \"456\""));
    EXPECT_TRUE(HasLine(m[1].text, "!!!Mandatory information element Bearer capability (H'04) missing!!!"));
}

// What waits for further segments stays bounded: the oldest of too many unfinished messages
// is given up, and segments passing the largest message are followed but not joined.
TEST(Segments, WaitingSegmentsStayBounded) {
    ParserClient c;
    auto callReference = [](int i) {
        char cr[8];
        std::snprintf(cr, sizeof cr, "%02X %02X", (i >> 8) & 0x7F, i & 0xFF);
        return std::string("02 ") + cr;
    };
    std::string trace;
    const int open = 1100;  // more than the reassembler keeps waiting at once
    for (int i = 0; i < open; ++i) trace += Sig(i % 30000, Segment("81", "04 03 80", callReference(i)));
    trace += Sig(1, Segment("00", "90 A3", callReference(0)));
    trace += Sig(2, Segment("00", "90 A3", callReference(open - 1)));
    auto m = RunTrace(c, trace);
    ASSERT_EQ(m.size(), static_cast<size_t>(open + 2));
    EXPECT_TRUE(HasLine(m[open].text, "The segments before this one are not in the trace: the SETUP is not reassembled"));
    EXPECT_FALSE(Part(m[open + 1].text, "Reassembled SETUP").empty()) << m[open + 1].text;

    std::string big;
    for (int i = 0; i < 40000; ++i) big += "00 ";
    ParserClient c2;
    auto m2 = RunTrace(c2, Sig(1, Segment("82", big)) + Sig(2, Segment("01", big)) + Sig(3, Segment("00", "00")));
    ASSERT_EQ(m2.size(), 3u);
    EXPECT_TRUE(HasLine(m2[1].text, "The segments pass 65535 octets together: the SETUP is not reassembled"));
    EXPECT_TRUE(HasLine(m2[2].text, "The segments pass 65535 octets together: the SETUP is not reassembled"));
    EXPECT_TRUE(Part(m2[2].text, "Reassembled SETUP").empty());
}

}  // namespace
