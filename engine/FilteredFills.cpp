#include "FilteredFills.h"

#include "CVexaClientDoc.h"
#include "StringTable.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cstdint>
#include <unordered_set>

namespace vexa {

namespace {

// Collects offered entries, each once regardless of letter case.
class EntryList {
public:
    void Add(std::string entry) {
        std::string folded = entry;
        for (char &c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (m_seen.insert(std::move(folded)).second) m_entries.push_back(std::move(entry));
    }
    std::vector<std::string> Take() { return std::move(m_entries); }

private:
    std::vector<std::string> m_entries;
    std::unordered_set<std::string> m_seen;
};

int32_t MessageCount(CParserClient &parser) {
    int32_t count = 0;
    parser.GetMessageCount(count);
    return count;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

std::vector<std::string> SplitOctets(std::string_view entry) {
    std::vector<std::string> octets;
    size_t i = 0;
    while (i < entry.size()) {
        while (i < entry.size() && entry[i] == ' ') ++i;
        size_t j = i;
        while (j < entry.size() && entry[j] != ' ') ++j;
        if (j > i) octets.emplace_back(entry.substr(i, j - i));
        i = j;
    }
    return octets;
}

// The walk shared by the filtered fills: one row per run of messages of one signal among
// the messages found, numbered from 0. With replaceInvalid, a later message of the same
// signal that is not valid replaces the last row.
template <typename First, typename Next>
void FillFound(CVexaClientDoc &doc, CParserClient &parser, First first, Next next, bool replaceInvalid) {
    CVexaClientDoc::RowWalk walk;
    MessageRecord m;
    // -1 ends the walk; so does an index that is not a message or does not move on, so
    // that a faulty component cannot keep the list filling for ever.
    for (int32_t index = first(); index > 0;) {
        m = MessageRecord();
        parser.GetMessage(index, m);
        doc.AddOrReplaceRow(index, m, walk, replaceInvalid);
        const int32_t following = next(index);
        if (following <= index) break;
        index = following;
    }
}

}  // namespace

std::string CallReferenceEntry(std::string_view raw) {
    std::string text;
    text.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '|') {
            text += "  ";
            ++i;  // the character after the bar goes with it
        } else {
            text += raw[i];
        }
    }
    std::string entry;
    for (size_t at = text.find("H'"); at != std::string::npos; at = text.find("H'", at + 2)) {
        if (!entry.empty()) entry += "  ";
        entry += text.substr(at + 2, 2);
    }
    return entry;
}

bool CallReferenceFlagClear(std::string_view entry) {
    const int high = entry.size() > 0 ? HexDigit(entry[0]) : 0;
    const int low = entry.size() > 1 ? HexDigit(entry[1]) : 0;
    return high * 16 + low < 128;
}

bool EquNumberEntry(std::string_view text, std::string &entry) {
    if (text.substr(0, 6) != "EQU NO") return false;
    std::string_view rest = text.size() > 7 ? text.substr(7) : std::string_view();
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
    entry = std::string(rest);
    return true;
}

std::vector<std::string> GatherCallReferences(CIsdnParser &parser) {
    EntryList entries;
    const int32_t count = MessageCount(parser);
    std::string raw;
    for (int32_t i = 1; i <= count; ++i) {
        raw.clear();
        parser.GetCallReference(i, raw);
        std::string entry = CallReferenceEntry(raw);
        if (CallReferenceFlagClear(entry)) entries.Add(std::move(entry));
    }
    return entries.Take();
}

// Asks next(handle, text) once for each message held, each time with the handle the
// call before gave (-1 at first), and hands every answer to take(handle, text).
namespace {
template <class Next, class Take>
void WalkHandles(int32_t count, Next next, Take take) {
    int32_t handle = -1;
    std::string text;
    for (int32_t i = 0; i < count; ++i) {
        text.clear();
        handle = next(handle, text);
        take(handle, text);
    }
}
}  // namespace

std::vector<std::string> GatherCallingPartyNumbers(CIsdnParser &parser) {
    EntryList entries;
    WalkHandles(
        MessageCount(parser), [&](int32_t h, std::string &t) { return parser.GetNextCallingPartyNumber(h, t); },
        [&](int32_t h, const std::string &number) {
            if (h != -1) entries.Add(number);
        });
    return entries.Take();
}

std::vector<std::string> GatherEquNumbers(CIsdnParser &parser) {
    EntryList entries;
    const int32_t count = MessageCount(parser);
    std::string text, entry;
    for (int32_t i = 1; i <= count; ++i) {
        text.clear();
        parser.GetEquNumber(i, text);
        if (EquNumberEntry(text, entry)) entries.Add(entry);
    }
    return entries.Take();
}

std::vector<std::string> GatherScpIds(CDectParser &parser) {
    EntryList entries;
    WalkHandles(
        MessageCount(parser), [&](int32_t h, std::string &t) { return parser.GetNextScpId(h, t); },
        [&](int32_t, const std::string &id) {
            if (!id.empty()) entries.Add(id);
        });
    return entries.Take();
}

std::vector<std::string> GatherTransactionFlags(CDectParser &parser) {
    EntryList entries;
    WalkHandles(
        MessageCount(parser), [&](int32_t h, std::string &t) { return parser.GetNextTransactionFlag(h, t); },
        [&](int32_t, const std::string &flag) {
            if (!flag.empty()) entries.Add(LoadString(flag == "0" ? IDS_ORIGINATOR : IDS_DESTINATION));
        });
    return entries.Take();
}

std::string CallReferenceKey(std::string_view entry) {
    std::string key;
    for (const std::string &octet : SplitOctets(entry)) {
        if (!key.empty()) key += "||";
        key += "H'" + octet;
    }
    return key;
}

std::string EquNumberKey(std::string_view entry) { return "EQU NO      " + std::string(entry); }

std::string TransactionFlagKey(std::string_view entry) { return entry == LoadString(IDS_ORIGINATOR) ? "0" : "1"; }

std::string IpProtocolKey(int choice) {
    switch (choice) {
    case 0: return "RAS";
    case 1: return "H245";
    case 2: return "H2250";
    default: return {};
    }
}

void FillByCallReference(CVexaClientDoc &doc, std::string_view callReference) {
    CIsdnParser &p = doc.m_IsdnParser;
    FillFound(
        doc, p, [&] { return p.FindFirstByCallReference(callReference); },
        [&](int32_t i) { return p.FindNextByCallReference(callReference, i); }, false);
}

void FillByCallingPartyNumber(CVexaClientDoc &doc, std::string_view number) {
    CIsdnParser &p = doc.m_IsdnParser;
    const int32_t index = p.FindByCallingPartyNumber(number);
    MessageRecord message;
    p.GetMessage(index, message);
    std::string callReference;
    p.GetCallReference(index, callReference);
    FillByCallReference(doc, callReference);
}

void FillByEquNumber(CVexaClientDoc &doc, std::string_view equ) {
    CIsdnParser &p = doc.m_IsdnParser;
    FillFound(
        doc, p, [&] { return p.FindFirstByEquNumber(equ); }, [&](int32_t i) { return p.FindNextByEquNumber(equ, i); },
        false);
}

void FillByScpId(CVexaClientDoc &doc, std::string_view scpId) {
    CDectParser &p = doc.m_DectParser;
    FillFound(
        doc, p, [&] { return p.FindFirstByScpId(scpId); }, [&](int32_t i) { return p.FindNextByScpId(scpId, i); },
        false);
}

void FillByTransactionFlag(CVexaClientDoc &doc, std::string_view flag) {
    CDectParser &p = doc.m_DectParser;
    FillFound(
        doc, p, [&] { return p.FindFirstByTransactionFlag(flag); },
        [&](int32_t i) { return p.FindNextByTransactionFlag(flag, i); }, false);
}

void FillByProtocol(CVexaClientDoc &doc, std::string_view protocol) {
    CIpParser &p = doc.m_IpParser;
    FillFound(
        doc, p, [&] { return p.FindFirstByProtocol(protocol); },
        [&](int32_t i) { return p.FindNextByProtocol(protocol, i); }, true);
}

void FillByFilterKind(CVexaClientDoc &doc, int kind, std::string_view value) {
    switch (kind) {
    case kFilterCallReference: FillByCallReference(doc, value); break;
    case kFilterCallingParty: FillByCallingPartyNumber(doc, value); break;
    case kFilterEquNumber: FillByEquNumber(doc, value); break;
    case kFilterScpId: FillByScpId(doc, value); break;
    case kFilterTransactionFlag: FillByTransactionFlag(doc, value); break;
    default: break;
    }
}

}  // namespace vexa
