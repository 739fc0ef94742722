// The message list's filters without windows: gathering the values a filter can choose
// from, turning a chosen value into the key the parser component looks for, and the
// filtered fills that list the messages the component finds for a key. The list control
// and vexa-interpret share them; rows reach the list through the document's list view.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vexa {

class CVexaClientDoc;
class CIsdnParser;
class CDectParser;

// The filter kinds the Filter dialog hands back.
enum FilterKind : int {
    kFilterNone = 0,
    kFilterCallReference = 1,     // ISDN
    kFilterCallingParty = 2,      // ISDN
    kFilterEquNumber = 3,         // ISDN
    kFilterScpId = 4,             // DECT
    kFilterTransactionFlag = 5,   // DECT
};

// Values offered by the Filter dialog, in the order the component gives them. Equal
// entries (regardless of letter case) are offered once.
std::vector<std::string> GatherCallReferences(CIsdnParser &parser);
std::vector<std::string> GatherCallingPartyNumbers(CIsdnParser &parser);
std::vector<std::string> GatherEquNumbers(CIsdnParser &parser);
std::vector<std::string> GatherScpIds(CDectParser &parser);
std::vector<std::string> GatherTransactionFlags(CDectParser &parser);  // "Originator", "Destination"

// The offered entry of a raw call reference: its octets joined by two spaces ("01  82").
std::string CallReferenceEntry(std::string_view raw);
// Whether an entry's first octet has the call reference flag clear (below 0x80).
bool CallReferenceFlagClear(std::string_view entry);
// The EQU entry of a GetEquNumber text; false when the text holds no EQU number.
bool EquNumberEntry(std::string_view text, std::string &entry);

// The key the component looks for, made from a chosen entry.
std::string CallReferenceKey(std::string_view entry);  // "01  82" -> "H'01||H'82"
std::string EquNumberKey(std::string_view entry);      // "EQU NO      " + entry
std::string TransactionFlagKey(std::string_view entry);  // "Originator" -> "0", else "1"
// The IP protocol name of the IP filter's choice 0, 1, 2; empty for any other.
std::string IpProtocolKey(int choice);

// The filtered fills. Each lists, from row 0 on, one row per run of equal sequence
// numbers among the messages the component finds for the key; the list must be empty.
void FillByCallReference(CVexaClientDoc &doc, std::string_view callReference);
void FillByCallingPartyNumber(CVexaClientDoc &doc, std::string_view number);
void FillByEquNumber(CVexaClientDoc &doc, std::string_view equ);
void FillByScpId(CVexaClientDoc &doc, std::string_view scpId);
void FillByTransactionFlag(CVexaClientDoc &doc, std::string_view flag);
// IP: a later part of a listed signal that is not valid replaces its row, in red.
void FillByProtocol(CVexaClientDoc &doc, std::string_view protocol);
// The fill of a filter kind 1 to 5; any other kind fills nothing.
void FillByFilterKind(CVexaClientDoc &doc, int kind, std::string_view value);

}  // namespace vexa
