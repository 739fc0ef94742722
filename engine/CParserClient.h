// The dispatch client of one parser component family, with the program's names for the
// members every family has. The family-specific members are in CIsdnParser,
// CDectParser and CIpParser. A call on a client that holds no component does nothing
// and answers 0, false or an empty text.
#pragma once

#include "DispatchDriver.h"
#include "DispatchIds.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vexa {

// What GetSequenceMessage answers for one decoded message of a signal.
struct SequenceMessage {
    int16_t status = 0;
    bool valid = false;
    // Strings 1 to 12: direction, signal type, message name, time, originator,
    // destination, decoded text, then the family's further strings.
    std::array<std::string, 12> texts;
    const std::string &Text(int n) const { return texts[n - 1]; }
};

// What GetMessage answers for one message: the row data of the message list (the decoded
// text, string 7, is left empty: the list never shows it).
struct MessageRecord {
    int16_t sequence = 0;
    bool valid = false;
    std::array<std::string, 8> texts;  // strings 1 to 8
    const std::string &Text(int n) const { return texts[n - 1]; }
};

class CParserClient : public CDispatchDriver {
public:
    explicit CParserClient(const ParserDispIds &ids);

    const ParserDispIds &Ids() const { return m_ids; }

    int16_t ParseLine(std::string_view line, int16_t &lineKind, int16_t &completion);
    int32_t GetLastMessageIndex();
    int16_t GetSequenceNumber(int32_t index);
    int32_t GetSequenceMessageCount(int16_t sequence);
    // wanted: the strings to fetch, bit n - 1 for string n (the others are left empty).
    static constexpr uint32_t kAllTexts = 0xFFF;
    int16_t GetSequenceMessage(int16_t i, int16_t sequence, SequenceMessage &message, uint32_t wanted = kAllTexts);
    bool GetMessage(int32_t index, MessageRecord &message);
    bool GetMessageCount(int32_t &count);
    int32_t FindFirstMessage(std::string_view text);
    int32_t FindNextMessage(std::string_view text, int32_t previous);
    bool Reset();

protected:
    int32_t CallFindFirst(int32_t dispid, std::string_view text);
    int32_t CallFindNext(int32_t dispid, std::string_view text, int32_t previous);
    // Members taking a number and giving a text: (long or short in, string out) -> result.
    int32_t CallNumberToText(int32_t dispid, DispatchArg number, std::string &text);

private:
    const ParserDispIds &m_ids;
    VexaArg m_parseArgs[3]{};  // the arguments of ParseLine, set up once
};

}  // namespace vexa
