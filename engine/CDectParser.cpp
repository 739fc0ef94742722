#include "CDectParser.h"

namespace vexa {

int32_t CDectParser::GetNextScpId(int32_t previous, std::string &scpId) {
    return CallNumberToText(Ids().GetNextScpId, DispatchArg::InLong(previous), scpId);
}

int32_t CDectParser::GetNextTransactionFlag(int32_t previous, std::string &flag) {
    return CallNumberToText(Ids().GetNextTransactionFlag, DispatchArg::InLong(previous), flag);
}

int32_t CDectParser::FindFirstByScpId(std::string_view scpId) { return CallFindFirst(Ids().FindFirstByScpId, scpId); }

int32_t CDectParser::FindNextByScpId(std::string_view scpId, int32_t previous) {
    return CallFindNext(Ids().FindNextByScpId, scpId, previous);
}

int32_t CDectParser::FindFirstByTransactionFlag(std::string_view flag) {
    return CallFindFirst(Ids().FindFirstByTransactionFlag, flag);
}

int32_t CDectParser::FindNextByTransactionFlag(std::string_view flag, int32_t previous) {
    return CallFindNext(Ids().FindNextByTransactionFlag, flag, previous);
}

bool CDectParser::GetUserPart(int16_t sequence, std::string &userPart) {
    return CallNumberToText(Ids().GetUserPart, DispatchArg::InShort(sequence), userPart) != 0;
}

}  // namespace vexa
