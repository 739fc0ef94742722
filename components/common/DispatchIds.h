// Dispatch ids of the parser components' members, as the program calls them.
// The three families number their members differently; 0 marks a member that a
// family does not have.
#pragma once

#include <cstdint>

namespace vexa {

struct ParserDispIds {
    int32_t ParseLine;
    int32_t GetLastMessageIndex;
    int32_t GetSequenceNumber;
    int32_t GetSequenceMessageCount;
    int32_t GetSequenceMessage;
    int32_t GetMessage;
    int32_t GetMessageCount;
    int32_t FindFirstMessage;
    int32_t FindNextMessage;
    int32_t Reset;
    // ISDN only
    int32_t GetPendingStatus;
    int32_t GetCallReference;
    int32_t DecodeCallReference;
    int32_t SetProtocolVariant;
    int32_t SetSignalNames;
    int32_t GetEquNumber;
    int32_t GetNextCallingPartyNumber;
    int32_t FindByCallingPartyNumber;
    int32_t FindFirstByCallReference;
    int32_t FindNextByCallReference;
    int32_t FindFirstByEquNumber;
    int32_t FindNextByEquNumber;
    // DECT only
    int32_t GetNextScpId;
    int32_t GetNextTransactionFlag;
    int32_t FindFirstByScpId;
    int32_t FindNextByScpId;
    int32_t FindFirstByTransactionFlag;
    int32_t FindNextByTransactionFlag;
    int32_t GetUserPart;
    // IP only
    int32_t FindFirstByProtocol;
    int32_t FindNextByProtocol;
    // Number of further text out arguments of GetSequenceMessage after the valid flag,
    // and of GetMessage after the valid flag.
    int32_t SequenceMessageExtraTexts;
    int32_t MessageExtraTexts;
};

// clang-format off
inline constexpr ParserDispIds kIsdnDispIds = {
    /*ParseLine*/ 24, /*GetLastMessageIndex*/ 8, /*GetSequenceNumber*/ 10, /*GetSequenceMessageCount*/ 9,
    /*GetSequenceMessage*/ 20, /*GetMessage*/ 19, /*GetMessageCount*/ 1, /*FindFirstMessage*/ 2,
    /*FindNextMessage*/ 3, /*Reset*/ 18,
    /*GetPendingStatus*/ 23, /*GetCallReference*/ 4, /*DecodeCallReference*/ 21, /*SetProtocolVariant*/ 22,
    /*SetSignalNames*/ 25, /*GetEquNumber*/ 11, /*GetNextCallingPartyNumber*/ 12,
    /*FindByCallingPartyNumber*/ 15, /*FindFirstByCallReference*/ 6, /*FindNextByCallReference*/ 7,
    /*FindFirstByEquNumber*/ 13, /*FindNextByEquNumber*/ 14,
    0, 0, 0, 0, 0, 0, 0,
    0, 0,
    /*SequenceMessageExtraTexts*/ 1, /*MessageExtraTexts*/ 1};

inline constexpr ParserDispIds kDectDispIds = {
    /*ParseLine*/ 8, /*GetLastMessageIndex*/ 1, /*GetSequenceNumber*/ 2, /*GetSequenceMessageCount*/ 3,
    /*GetSequenceMessage*/ 12, /*GetMessage*/ 16, /*GetMessageCount*/ 7, /*FindFirstMessage*/ 5,
    /*FindNextMessage*/ 6, /*Reset*/ 4,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    /*GetNextScpId*/ 9, /*GetNextTransactionFlag*/ 13, /*FindFirstByScpId*/ 10, /*FindNextByScpId*/ 11,
    /*FindFirstByTransactionFlag*/ 14, /*FindNextByTransactionFlag*/ 15, /*GetUserPart*/ 17,
    0, 0,
    /*SequenceMessageExtraTexts*/ 5, /*MessageExtraTexts*/ 1};

inline constexpr ParserDispIds kIpDispIds = {
    /*ParseLine*/ 10, /*GetLastMessageIndex*/ 4, /*GetSequenceNumber*/ 6, /*GetSequenceMessageCount*/ 5,
    /*GetSequenceMessage*/ 9, /*GetMessage*/ 8, /*GetMessageCount*/ 1, /*FindFirstMessage*/ 2,
    /*FindNextMessage*/ 3, /*Reset*/ 7,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0,
    /*FindFirstByProtocol*/ 11, /*FindNextByProtocol*/ 12,
    /*SequenceMessageExtraTexts*/ 0, /*MessageExtraTexts*/ 0};
// clang-format on

// ProgIDs of the three components.
inline constexpr const char *kIsdnProgId = "VexaParser";
inline constexpr const char *kDectProgId = "VexaDectParser";
inline constexpr const char *kIpProgId = "VexaIpParser";

}  // namespace vexa
