// The client of the IP parser component "VexaIpParser" (protocol 6).
#pragma once

#include "CParserClient.h"

#include <array>
#include <string>
#include <string_view>

namespace vexa {

class CIpParser : public CParserClient {
public:
    CIpParser() : CParserClient(kIpDispIds) {}

    int32_t FindFirstByProtocol(std::string_view protocol);
    int32_t FindNextByProtocol(std::string_view protocol, int32_t previous);
};

}  // namespace vexa
