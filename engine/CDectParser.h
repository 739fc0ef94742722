// The client of the DECT/GDI parser component "VexaDectParser" (protocol 5).
#pragma once

#include "CParserClient.h"

#include <array>
#include <string>
#include <string_view>

namespace vexa {

class CDectParser : public CParserClient {
public:
    CDectParser() : CParserClient(kDectDispIds) {}

    int32_t GetNextScpId(int32_t previous, std::string &scpId);
    int32_t GetNextTransactionFlag(int32_t previous, std::string &flag);
    int32_t FindFirstByScpId(std::string_view scpId);
    int32_t FindNextByScpId(std::string_view scpId, int32_t previous);
    int32_t FindFirstByTransactionFlag(std::string_view flag);
    int32_t FindNextByTransactionFlag(std::string_view flag, int32_t previous);
    bool GetUserPart(int16_t sequence, std::string &userPart);
};

}  // namespace vexa
