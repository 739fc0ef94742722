#include "H323Decoder.h"

#include "DecodedText.h"
#include "HexText.h"
#include "PerSchema.h"
#include "PerWalker.h"
#include "Q931Decoder.h"

namespace vexa::ip {

namespace {

using component::DecodedText;

constexpr uint8_t kUserUser = 0x7E;
// User-user protocol discriminator of X.208/X.209 coded user information (H.225.0 7.2.2.26).
constexpr uint8_t kUserUserAsn1 = 0x05;

struct TopTypes {
    int32_t ras = FindPerType("RasMessage");
    int32_t userInformation = FindPerType("H323-UserInformation");
    int32_t h245 = FindPerType("MultimediaSystemControlMessage");
};

const TopTypes &Tops() {
    static const TopTypes tops;
    return tops;
}

void ShowProblems(const std::vector<std::string> &problems, DecodedText &out) {
    if (problems.empty()) return;
    out.BeginPart("Trace data");
    for (const std::string &p : problems) out.Error(p);
}

H323Message DecodePer(H323Protocol protocol, const uint8_t *data, size_t size, const std::vector<std::string> &problems,
                      std::string_view title) {
    H323Message m;
    DecodedText out;
    // Some twenty characters of text per octet: one growth of the text at most.
    out.Reserve(256 + size * 24);
    const bool ras = protocol == H323Protocol::Ras;
    // The title says where the message came from and how long it is; without one, a line
    // of its own says what follows. What the line reader found wrong comes first.
    ShowProblems(problems, out);
    if (!title.empty())
        out.BeginPart(title);
    else
        out.BeginPart(std::string(ras ? "H.225.0 RAS message" : "H.245 message") + " (aligned PER, " +
                      std::to_string(size) + (size == 1 ? " octet)" : " octets)"));
    PerWalker walker(out);
    bool ok = false;
    if (size == 0) {
        out.Error("No octets: the message is empty");
    } else {
        ok = walker.Decode(ras ? Tops().ras : Tops().h245, data, size, ras ? "RasMessage" : "MultimediaSystemControlMessage");
    }
    m.name = ras ? walker.FirstChoice() : (walker.SecondChoice().empty() ? walker.FirstChoice() : walker.SecondChoice());
    if (m.name.empty()) m.name = ras ? "RAS message" : "H.245 message";
    m.valid = ok && !out.HasErrors();
    m.text = out.Take();
    return m;
}

// Where the user-user element of a Q.931 message stands: after the header, elements with a
// one-octet length, except user-user, whose length has two octets in H.225.0.
struct UserUserPlace {
    size_t start = 0;  // first octet of the element (its identifier)
    size_t end = 0;    // one past its last octet (at most the message's size)
    size_t length = 0; // the length it gives
    bool found = false;
};

UserUserPlace FindUserUser(const uint8_t *data, size_t size) {
    UserUserPlace place;
    if (size < 3) return place;
    size_t pos = 2 + (data[1] & 0x0F) + 1;
    while (pos < size) {
        uint8_t id = data[pos];
        if (id & 0x80) {
            ++pos;
            continue;
        }
        if (id == kUserUser) {
            place.found = true;
            place.start = pos;
            if (pos + 3 > size) {
                place.end = size;
                return place;
            }
            place.length = static_cast<size_t>(data[pos + 1]) << 8 | data[pos + 2];
            place.end = std::min(size, pos + 3 + place.length);
            return place;
        }
        if (pos + 1 >= size) return place;
        pos += 2 + data[pos + 1];
    }
    return place;
}

H323Message DecodeCallSignalling(const uint8_t *data, size_t size, const std::vector<std::string> &problems,
                                 std::string_view title) {
    H323Message m;
    const UserUserPlace uu = FindUserUser(data, size);
    // The Q.931 part is decoded by the ISDN component's decoder, without the user-user element.
    std::vector<uint8_t> q931(data, data + size);
    if (uu.found) q931.erase(q931.begin() + static_cast<long>(uu.start), q931.begin() + static_cast<long>(uu.end));
    isdn::DecodedMessage q = isdn::Q931Decoder().Decode(q931.data(), q931.size(), problems);
    m.name = q.messageName;
    m.valid = q.valid;
    DecodedText out;
    out.Reserve(256 + size * 24);
    if (q.status < 0 && q.text.size() > 6) {
        // A header the Q.931 decoder could not read: its one line says why.
        if (!title.empty()) out.BeginPart(title);
        out.BeginPart("Q.931");
        out.Line(q.text);
        m.valid = false;
        m.text = out.Take();
        return m;
    }
    if (!uu.found) {
        out.BeginPart("User-user (H'7E)");
        out.Error("User-user element missing: the message carries no H.323-UU-PDU");
    } else {
        out.BeginPart("User-user (H'7E)");
        if (uu.start + 3 > size) {
            out.Error("User-user element cut short: its two length octets are missing");
        } else {
            out.Field("Length", std::to_string(uu.length));
            const size_t have = uu.end - uu.start - 3;
            if (have < uu.length)
                out.Error("Length " + std::to_string(uu.length) + " runs past the end of the message (" +
                          std::to_string(have) + " octets follow)");
            const uint8_t *p = data + uu.start + 3;
            if (have == 0) {
                out.Error("Protocol discriminator missing");
            } else {
                out.Field("Protocol discriminator", p[0] == kUserUserAsn1 ? "H'05 X.208 and X.209 coded user information"
                                                                        : component::HexByte(p[0]));
                if (p[0] != kUserUserAsn1) out.Error("Not X.208 and X.209 coded user information: no H.323-UU-PDU");
                else {
                    PerWalker walker(out, 0);
                    walker.Watch("h323-message-body");
                    if (!walker.Decode(Tops().userInformation, p + 1, have - 1, "H323-UserInformation")) m.valid = false;
                    m.body = walker.Watched();
                }
            }
        }
    }
    if (out.HasErrors()) m.valid = false;
    std::string text;
    text.reserve(title.size() + q.text.size() + out.Text().size() + 4);
    text += title;
    if (!text.empty() && !q.text.empty()) text += "||";
    text += q.text;
    if (!text.empty()) text += "||";
    text += out.Text();
    m.text = std::move(text);
    return m;
}

}  // namespace

const char *ProtocolText(H323Protocol protocol) {
    switch (protocol) {
    case H323Protocol::Ras: return "RAS";
    case H323Protocol::CallSignalling: return "H2250";
    case H323Protocol::H245: return "H245";
    }
    return "";
}

H323Message H323Decoder::Decode(H323Protocol protocol, const uint8_t *data, size_t size,
                                const std::vector<std::string> &problems, std::string_view title) {
    if (protocol == H323Protocol::CallSignalling) return DecodeCallSignalling(data, size, problems, title);
    return DecodePer(protocol, data, size, problems, title);
}

}  // namespace vexa::ip
