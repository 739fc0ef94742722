// The script a scripted component answers from. One entry a line, fields separated by
// tabs, C escapes (\n \t \\) inside fields, '#' starting a comment line:
//
//   parse <kind> <completion> <status> [<index>]   next ParseLine answer; index: what
//                                                  GetLastMessageIndex answers from then on
//   message <index> <seq> <status2> <valid> <s1> .. <s7> [<s8> .. <s12>]
//   count <seq> <n>            GetSequenceMessageCount (default: messages of that seq)
//   messagecount <n>           GetMessageCount (default: number of messages)
//   callref <index> <raw>      GetCallReference
//   decode <raw> <flag> <value> DecodeCallReference
//   userpart <seq> <text>      GetUserPart
//   pending <n>                next GetPendingStatus answer (then 0)
//   find <member> <text> <i1> <i2> ...   indexes the find member pair answers for text;
//                              member: message, callref, equ, scpid, tran, protocol
//   findcpn <number> <index>   FindByCallingPartyNumber
//   values <member> <text>...  texts GetNextCallingPartyNumber (cpn), GetNextScpId (scpid),
//                              GetNextTransactionFlag (tran) hand out
//   equ <index> <text>         GetEquNumber
//
// Without a script every line is answered with kind 0, completion 0, status 0.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace vexa::scripted {

struct ParseAnswer {
    int16_t kind = 0;
    int16_t completion = 0;
    int16_t status = 0;
    int32_t index = -1;  // -1: leave the last message index as it is
};

struct ScriptMessage {
    int32_t index = 0;
    int16_t sequence = 0;
    int16_t status2 = 1;
    bool valid = true;
    std::vector<std::string> texts;  // strings 1 to 12
};

struct Script {
    std::deque<ParseAnswer> parses;
    std::vector<ScriptMessage> messages;
    std::map<int16_t, int32_t> counts;
    int32_t messageCount = -1;  // -1: the number of messages
    std::map<int32_t, std::string> callRefs;
    std::map<std::string, std::pair<bool, std::string>> decodes;
    std::map<int16_t, std::string> userParts;
    std::map<int32_t, std::string> equs;
    std::deque<int16_t> pendings;
    std::map<std::string, std::map<std::string, std::vector<int32_t>>> finds;  // member -> text -> indexes
    std::map<std::string, int32_t> callingPartyIndex;
    std::map<std::string, std::vector<std::string>> values;  // member -> texts

    // Reads a script; false with a reason when a line cannot be read.
    bool Load(const std::string &path, std::string &error);
};

}  // namespace vexa::scripted
