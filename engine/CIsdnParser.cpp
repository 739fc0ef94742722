#include "CIsdnParser.h"

namespace vexa {

int16_t CIsdnParser::GetPendingStatus() { return static_cast<int16_t>(Invoke(Ids().GetPendingStatus, nullptr, 0)); }

bool CIsdnParser::GetCallReference(int32_t index, std::string &callReference) {
    return CallNumberToText(Ids().GetCallReference, DispatchArg::InLong(index), callReference) != 0;
}

// Called for every message of a run. The raw reference goes in and may come back
// changed: the component reads it from a copy, and what it sets goes straight back.
bool CIsdnParser::DecodeCallReference(std::string &callReference, std::string &value) {
    const std::string in = callReference;
    value.clear();
    VexaArg args[2] = {RawOutText(&callReference), RawOutText(&value)};
    args[0].str = in.data();
    args[0].len = in.size();
    return InvokeRaw(Ids().DecodeCallReference, args, 2) != 0;
}

bool CIsdnParser::SetProtocolVariant(int16_t protocol) {
    DispatchArg a = DispatchArg::InShort(protocol);
    return Invoke(Ids().SetProtocolVariant, &a, 1) != 0;
}

bool CIsdnParser::SetSignalNames(const std::array<std::string, 5> &names) {
    DispatchArg args[5];
    for (int i = 0; i < 5; ++i) args[i] = DispatchArg::InText(names[i]);
    return Invoke(Ids().SetSignalNames, args, 5) != 0;
}

bool CIsdnParser::GetEquNumber(int32_t index, std::string &equ) {
    return CallNumberToText(Ids().GetEquNumber, DispatchArg::InLong(index), equ) != 0;
}

int32_t CIsdnParser::GetNextCallingPartyNumber(int32_t previous, std::string &number) {
    return CallNumberToText(Ids().GetNextCallingPartyNumber, DispatchArg::InLong(previous), number);
}

int32_t CIsdnParser::FindByCallingPartyNumber(std::string_view number) {
    return CallFindFirst(Ids().FindByCallingPartyNumber, number);
}

int32_t CIsdnParser::FindFirstByCallReference(std::string_view callReference) {
    return CallFindFirst(Ids().FindFirstByCallReference, callReference);
}

int32_t CIsdnParser::FindNextByCallReference(std::string_view callReference, int32_t previous) {
    return CallFindNext(Ids().FindNextByCallReference, callReference, previous);
}

int32_t CIsdnParser::FindFirstByEquNumber(std::string_view equ) { return CallFindFirst(Ids().FindFirstByEquNumber, equ); }

int32_t CIsdnParser::FindNextByEquNumber(std::string_view equ, int32_t previous) {
    return CallFindNext(Ids().FindNextByEquNumber, equ, previous);
}

}  // namespace vexa
