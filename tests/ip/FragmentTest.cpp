// Values of 16K units and more: their length comes in fragments of 16K to 64K units, each
// after a length determinant of its own, up to one of fewer than 16K (possibly none). The
// decoder puts the fragments together and shows the value whole.
#include "H323Decoder.h"
#include "PerSchema.h"
#include "PerWalker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexa::ip {
namespace {

std::string Hex(const std::vector<uint8_t> &octets) {
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (uint8_t o : octets) {
        s += digits[o >> 4];
        s += digits[o & 15];
    }
    return s;
}

// An H.245 request nonStandard whose data OCTET STRING holds dataSize octets, written in
// fragments: 16K each while at least 16K are left, then the rest (0 when nothing is left).
std::vector<uint8_t> NonStandardRequest(size_t dataSize, std::vector<uint8_t> &data) {
    std::vector<uint8_t> m = {
        0x00,              // MultimediaSystemControlMessage request, RequestMessage nonStandard
        0x40,              // NonStandardMessage without extensions; identifier h221NonStandard
        0xB5, 0x00,        // t35CountryCode 181, t35Extension 0
        0x12, 0x34,        // manufacturerCode 4660
    };
    data.clear();
    for (size_t i = 0; i < dataSize; ++i) data.push_back(static_cast<uint8_t>(i * 7 + i / 256));
    size_t at = 0;
    while (dataSize - at >= 16384) {
        m.push_back(0xC1);  // a fragment of 16K octets
        m.insert(m.end(), data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + 16384));
        at += 16384;
    }
    const size_t rest = dataSize - at;
    if (rest < 128) {
        m.push_back(static_cast<uint8_t>(rest));
    } else {
        m.push_back(static_cast<uint8_t>(0x80 | rest >> 8));
        m.push_back(static_cast<uint8_t>(rest & 0xFF));
    }
    m.insert(m.end(), data.begin() + static_cast<long>(at), data.end());
    return m;
}

TEST(IpFragments, AnOctetStringInFragmentsIsShownWhole) {
    // 16K and 300 more; exactly 16K (a fragment, then a length of 0); a last length of one
    // octet and of two. (Twice the hex of 32K octets would not fit in one message's text.)
    for (size_t size : {16384u + 300u, 16384u, 16384u + 127u, 16384u + 128u}) {
        SCOPED_TRACE(size);
        std::vector<uint8_t> data;
        const std::vector<uint8_t> m = NonStandardRequest(size, data);
        const H323Message d = H323Decoder::Decode(H323Protocol::H245, m.data(), m.size());
        EXPECT_TRUE(d.valid) << d.text.substr(0, 2000);
        EXPECT_EQ(d.name, "nonStandard");
        EXPECT_EQ(d.text.find("!!!"), std::string::npos) << d.text.substr(0, 2000);
        EXPECT_NE(d.text.find("manufacturerCode: 4660"), std::string::npos) << d.text.substr(0, 2000);
        const std::string last = "\n    data: " + Hex(data);
        ASSERT_GE(d.text.size(), last.size());
        EXPECT_EQ(d.text.substr(d.text.size() - last.size()), last) << d.text.substr(0, 2000);
    }
}

TEST(IpFragments, AFragmentCutShortOrWithoutItsLastLengthIsMarked) {
    std::vector<uint8_t> data;
    std::vector<uint8_t> m = NonStandardRequest(16384 + 300, data);
    // The last fragment's length and octets are missing.
    const std::vector<uint8_t> noLast(m.begin(), m.begin() + 6 + 1 + 16384);
    const H323Message a = H323Decoder::Decode(H323Protocol::H245, noLast.data(), noLast.size());
    EXPECT_FALSE(a.valid);
    EXPECT_NE(a.text.find("!!!data: length determinant after a fragment"), std::string::npos) << a.text.substr(0, 500);
    // The first fragment runs past the end.
    const std::vector<uint8_t> cut(m.begin(), m.begin() + 6 + 1 + 1000);
    const H323Message b = H323Decoder::Decode(H323Protocol::H245, cut.data(), cut.size());
    EXPECT_FALSE(b.valid);
    EXPECT_NE(b.text.find("!!!data: fragment of 16384 octets past the end"), std::string::npos) << b.text.substr(0, 500);
    // A length determinant of five fragments (only one to four are allowed).
    std::vector<uint8_t> five = m;
    five[6] = 0xC5;
    const H323Message c = H323Decoder::Decode(H323Protocol::H245, five.data(), five.size());
    EXPECT_FALSE(c.valid);
    EXPECT_NE(c.text.find("!!!data: OCTET STRING length past the end"), std::string::npos) << c.text.substr(0, 500);
}

// The type of the SEQUENCE component named name (the first one the tables hold).
int32_t ComponentType(std::string_view name) {
    for (uint32_t t = 0; t < kPerTypeCount; ++t) {
        const PerType &type = kPerTypes[t];
        if (type.kind != PerKind::Sequence) continue;
        for (uint32_t i = 0; i < type.count; ++i)
            if (kPerComponents[type.first + i].name == name) return kPerComponents[type.first + i].type;
    }
    return -1;
}

TEST(IpFragments, ASequenceOfInFragmentsGivesItsWholeCount) {
    // associatedSessionIds: SEQUENCE OF INTEGER (1..255), eight bits an item, not aligned.
    const int32_t type = ComponentType("associatedSessionIds");
    ASSERT_GE(type, 0);
    ASSERT_EQ(kPerTypes[type].kind, PerKind::SequenceOf);
    std::vector<uint8_t> m = {0xC1};
    for (int i = 0; i < 16384; ++i) m.push_back(static_cast<uint8_t>(i % 200));  // values 1 to 200
    m.push_back(3);
    for (uint8_t v : {0x07, 0x08, 0x09}) m.push_back(v);

    component::DecodedText out;
    PerWalker walker(out);
    EXPECT_TRUE(walker.Decode(type, m.data(), m.size(), "associatedSessionIds"));
    const std::string &text = out.Text();
    EXPECT_EQ(text.rfind("associatedSessionIds (16387 items in fragments)\n  [1]: 1\n  [2]: 2\n", 0), 0u) << text.substr(0, 200);
    // 16K lines do not fit in one message's text: the text says where it stops.
    EXPECT_NE(text.find("!!!Decoded text too long"), std::string::npos);

    // The count after the fragment is missing: said under the heading, before the items.
    component::DecodedText cutOut;
    PerWalker cut(cutOut);
    EXPECT_FALSE(cut.Decode(type, m.data(), 1 + 16384, "associatedSessionIds"));
    EXPECT_EQ(cutOut.Text().rfind("associatedSessionIds (16384 items in fragments)\n"
                                  "!!!associatedSessionIds: SEQUENCE OF count after a fragment cut short",
                                  0),
              0u)
        << cutOut.Text().substr(0, 300);
}

}  // namespace
}  // namespace vexa::ip
