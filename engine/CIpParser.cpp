#include "CIpParser.h"

namespace vexa {

int32_t CIpParser::FindFirstByProtocol(std::string_view protocol) {
    return CallFindFirst(Ids().FindFirstByProtocol, protocol);
}

int32_t CIpParser::FindNextByProtocol(std::string_view protocol, int32_t previous) {
    return CallFindNext(Ids().FindNextByProtocol, protocol, previous);
}

}  // namespace vexa
