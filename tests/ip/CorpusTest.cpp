// The decoder over real H.225.0 and H.245 messages from public captures: each decodes to the
// message name a reference analyser gives it, the malformed ones are marked invalid, and the
// fields a user reads first have the values the captures carry.
#include "H323Decoder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vexa::ip {
namespace {

struct CorpusRow {
    std::string frame;
    std::vector<uint8_t> octets;
    std::string reference;  // the reference analyser's name
};

std::vector<uint8_t> FromHex(const std::string &hex) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

std::vector<CorpusRow> Load(const std::string &name) {
    std::ifstream in(std::string(VEXA_IP_CORPUS_DIR) + "/" + name);
    std::vector<CorpusRow> rows;
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        std::vector<std::string> cols;
        std::stringstream ss(line);
        for (std::string c; std::getline(ss, c, '\t');) cols.push_back(c);
        if (cols.size() < 4) continue;
        rows.push_back({cols[1], FromHex(cols[2]), cols[3]});
    }
    return rows;
}

bool Malformed(const CorpusRow &r) { return r.reference.find("Malformed") != std::string::npos; }

H323Message Decode(H323Protocol p, const CorpusRow &r) { return H323Decoder::Decode(p, r.octets.data(), r.octets.size()); }

bool HasLine(const std::string &text, const std::string &line) {
    return ("\n" + text + "\n").find(line) != std::string::npos;
}

TEST(IpCorpus, EveryRasMessageHasTheReferenceNameAndOnlyTheMalformedOneIsInvalid) {
    const auto rows = Load("ras.tsv");
    ASSERT_EQ(rows.size(), 13u);
    for (const CorpusRow &r : rows) {
        SCOPED_TRACE("frame " + r.frame);
        const H323Message m = Decode(H323Protocol::Ras, r);
        if (Malformed(r)) {
            EXPECT_FALSE(m.valid);
            EXPECT_NE(m.text.find("!!!"), std::string::npos);
            continue;
        }
        EXPECT_TRUE(m.valid) << m.text;
        EXPECT_EQ("RAS: " + m.name, r.reference);
    }
}

TEST(IpCorpus, EveryH245MessageHasTheReferenceName) {
    const auto rows = Load("h245.tsv");
    ASSERT_EQ(rows.size(), 13u);
    for (const CorpusRow &r : rows) {
        SCOPED_TRACE("frame " + r.frame);
        const H323Message m = Decode(H323Protocol::H245, r);
        EXPECT_TRUE(m.valid) << m.text;
        // The reference adds the codec of a logical channel: "openLogicalChannel (g711A)".
        EXPECT_EQ(m.name, r.reference.substr(0, r.reference.find(' ')));
    }
}

TEST(IpCorpus, EveryCallSignallingMessageHasTheReferenceBodyAndItsQ931Name) {
    const auto rows = Load("h225cs.tsv");
    ASSERT_EQ(rows.size(), 9u);
    const std::map<std::string, std::string> q931 = {{"setup", "SETUP"}, {"callProceeding", "CALL PROCEEDING"},
                                                     {"alerting", "ALERTING"}, {"connect", "CONNECT"},
                                                     {"releaseComplete", "RELEASE COMPLETE"}};
    for (const CorpusRow &r : rows) {
        SCOPED_TRACE("frame " + r.frame);
        const H323Message m = Decode(H323Protocol::CallSignalling, r);
        if (Malformed(r)) {
            EXPECT_FALSE(m.valid);
            continue;
        }
        EXPECT_TRUE(m.valid) << m.text;
        const std::string body = r.reference.substr(4, r.reference.find(' ', 4) - 4);
        EXPECT_EQ(m.body, body);
        EXPECT_EQ(m.name, q931.at(body));
    }
}

TEST(IpCorpus, RasFieldsShowAddressesTextsAndIdentifiers) {
    const auto rows = Load("ras.tsv");
    const H323Message gcf = Decode(H323Protocol::Ras, rows[1]);
    EXPECT_TRUE(HasLine(gcf.text, "\n  requestSeqNum: 1\n")) << gcf.text;
    EXPECT_TRUE(HasLine(gcf.text, "\n  protocolIdentifier: 0.0.8.2250.0.4\n"));
    EXPECT_TRUE(HasLine(gcf.text, "\n  gatekeeperIdentifier: \"OpenH323 Gatekeeper on mfottekin\"\n"));
    EXPECT_TRUE(HasLine(gcf.text, "\n  rasAddress: ipAddress: 17.2.0.161:1719"));
    const H323Message drq = Decode(H323Protocol::Ras, rows[7]);
    EXPECT_EQ(drq.name, "disengageRequest");
    EXPECT_TRUE(HasLine(drq.text, "\n  requestSeqNum: 4181\n")) << drq.text;
    EXPECT_TRUE(HasLine(drq.text, "\n  endpointIdentifier: \"474a74c8:274\"\n"));
    // The malformed request is shown up to where it goes wrong.
    const H323Message grq = Decode(H323Protocol::Ras, rows[0]);
    EXPECT_EQ(grq.name, "gatekeeperRequest");
    EXPECT_TRUE(HasLine(grq.text, "[1]: dialledDigits: \"5295672\"")) << grq.text;
}

TEST(IpCorpus, ShortDigitStringsAreReadFromTheirOwnOctetAndPaddingIsCounted) {
    const auto rows = Load("ras.tsv");
    // A system id of up to four digits: its characters start on an octet of their own.
    const H323Message rrq = Decode(H323Protocol::Ras, rows[2]);
    EXPECT_TRUE(HasLine(rrq.text, "      imsi: \"1111111111111111\"\n")) << rrq.text;
    EXPECT_TRUE(HasLine(rrq.text, "      system-id: sid: \"777#\"\n"));
    // An identifier padded with NUL characters shows its text and how many follow.
    const H323Message arq = Decode(H323Protocol::Ras, rows[4]);
    EXPECT_TRUE(HasLine(arq.text, "\n  endpointIdentifier: \"474a74c8:274\" and 88 NUL characters\n")) << arq.text;
}

TEST(IpCorpus, SetupShowsTheQ931ElementsAndTheUserInformation) {
    const auto rows = Load("h225cs.tsv");
    const H323Message setup = Decode(H323Protocol::CallSignalling, rows[0]);
    EXPECT_NE(setup.text.find("Bearer capability (H'04)"), std::string::npos) << setup.text;
    EXPECT_NE(setup.text.find("Display information: \"m.jemec"), std::string::npos);
    EXPECT_TRUE(HasLine(setup.text, "    h323-message-body: setup\n"));
    EXPECT_TRUE(HasLine(setup.text, "      destCallSignalAddress: ipAddress: 10.1.6.18:1720\n"));
    EXPECT_TRUE(HasLine(setup.text, "      conferenceID: f8fdf93ecd9ed6119ab2000476222017\n"));
    EXPECT_TRUE(HasLine(setup.text, "        [1]: h323-ID: \"m.jemec\"\n"));
    // Product and version names are octet strings: shown as text beside their hex.
    EXPECT_NE(setup.text.find("productId: 43616c6c67656e33323320706f67616373616d0000 (\"Callgen323 pogacsam\" and 2 NUL characters)"),
              std::string::npos);
}

TEST(IpCorpus, FastStartAndTunnelledH245AreDecodedAsH245) {
    const auto rows = Load("h225cs.tsv");
    const H323Message setup = Decode(H323Protocol::CallSignalling, rows.back());
    ASSERT_TRUE(setup.valid) << setup.text;
    EXPECT_NE(setup.text.find("fastStart ("), std::string::npos) << setup.text;
    EXPECT_NE(setup.text.find("octets, OpenLogicalChannel)"), std::string::npos);
    EXPECT_NE(setup.text.find("octets, MultimediaSystemControlMessage)"), std::string::npos);
    EXPECT_NE(setup.text.find("MultimediaSystemControlMessage): request: terminalCapabilitySet"), std::string::npos);
    EXPECT_NE(setup.text.find("MultimediaSystemControlMessage): request: masterSlaveDetermination"), std::string::npos);
    EXPECT_NE(setup.text.find("forwardLogicalChannelNumber: "), std::string::npos);
}

TEST(IpCorpus, H245FieldsHaveTheirValues) {
    const auto rows = Load("h245.tsv");
    const H323Message msd = Decode(H323Protocol::H245, rows[1]);
    EXPECT_TRUE(HasLine(msd.text, "MultimediaSystemControlMessage: request: masterSlaveDetermination\n")) << msd.text;
    EXPECT_NE(msd.text.find("terminalType: "), std::string::npos);
    EXPECT_NE(msd.text.find("statusDeterminationNumber: "), std::string::npos);
    const H323Message olc = Decode(H323Protocol::H245, rows[7]);
    EXPECT_NE(olc.text.find("g711Alaw64k"), std::string::npos) << olc.text;
}

}  // namespace
}  // namespace vexa::ip
