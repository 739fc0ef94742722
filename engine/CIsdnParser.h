// The client of the ISDN parser component "VexaParser" (protocols 1 to 4).
#pragma once

#include "CParserClient.h"

#include <array>
#include <string>
#include <string_view>

namespace vexa {

class CIsdnParser : public CParserClient {
public:
    CIsdnParser() : CParserClient(kIsdnDispIds) {}

    int16_t GetPendingStatus();
    bool GetCallReference(int32_t index, std::string &callReference);
    // callReference carries the raw call reference in and the readable value out; the
    // result is the call reference flag.
    bool DecodeCallReference(std::string &callReference, std::string &value);
    bool SetProtocolVariant(int16_t protocol);
    bool SetSignalNames(const std::array<std::string, 5> &names);
    bool GetEquNumber(int32_t index, std::string &equ);
    int32_t GetNextCallingPartyNumber(int32_t previous, std::string &number);
    int32_t FindByCallingPartyNumber(std::string_view number);
    int32_t FindFirstByCallReference(std::string_view callReference);
    int32_t FindNextByCallReference(std::string_view callReference, int32_t previous);
    int32_t FindFirstByEquNumber(std::string_view equ);
    int32_t FindNextByEquNumber(std::string_view equ, int32_t previous);
};

}  // namespace vexa
