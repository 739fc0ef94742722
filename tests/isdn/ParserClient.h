// Drives a VexaParser.so the way the program does, through the program's own client of
// the component (vexa::CIsdnParser): the tests' view of its answers, and whole-trace runs.
#pragma once

#include "CIsdnParser.h"
#include "VexaComponentAbi.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::isdn::test {

// Path of the built component (set by the test build).
std::string ComponentPath();

struct LineAnswer {
    int status = 0;
    int kind = 0;
    int completion = 0;
};

struct MessageView {
    int status = 0;  // GetSequenceMessage's result, or 1 when GetMessage found it
    int sequence = 0;
    std::string direction, signalName, messageName, time, originator, destination, text, discriminator;
    bool valid = false;
};

// One completed signal as the program sees it.
struct Completion {
    int lineStatus = 0;
    int completion = 0;
    int32_t index = 0;
    int sequence = 0;
    int32_t count = 0;
    std::vector<MessageView> messages;
    std::string callReference;  // GetCallReference of the first message
};

class ParserClient {
public:
    explicit ParserClient(const std::string &path = ComponentPath());
    ~ParserClient();
    ParserClient(const ParserClient &) = delete;
    ParserClient &operator=(const ParserClient &) = delete;

    bool Loaded() const { return m_parser.HasDispatch(); }

    // Raw call: returns the VexaInvokeResult. Text out arguments need a std::string sink.
    int32_t Invoke(int32_t dispid, std::vector<VexaArg> &args, VexaArg &result);

    LineAnswer ParseLine(std::string_view line);
    int32_t GetLastMessageIndex();
    int GetSequenceNumber(int32_t index);
    int32_t GetSequenceMessageCount(int sequence);
    MessageView GetSequenceMessage(int i, int sequence);
    bool GetMessage(int32_t index, MessageView &m);
    int32_t GetMessageCount();
    int32_t FindFirstMessage(std::string_view text);
    int32_t FindNextMessage(std::string_view text, int32_t after);
    bool Reset();
    int GetPendingStatus();
    bool GetCallReference(int32_t index, std::string &text);
    bool DecodeCallReference(std::string_view raw, std::string &value);
    bool SetProtocolVariant(int variant);
    bool SetSignalNames(const std::array<std::string, 5> &names);
    bool GetEquNumber(int32_t index, std::string &text);
    int32_t GetNextCallingPartyNumber(int32_t handle, std::string &number);
    int32_t FindByCallingPartyNumber(std::string_view number);
    int32_t FindFirstByCallReference(std::string_view text);
    int32_t FindNextByCallReference(std::string_view text, int32_t after);
    int32_t FindFirstByEquNumber(std::string_view text);
    int32_t FindNextByEquNumber(std::string_view text, int32_t after);

    // Feeds a whole trace as the program does (preamble skipped, empty lines skipped, lines
    // cut into pieces of 511 characters, "END" fed when the trace has no end line) and
    // collects each completion. pending is set when GetPendingStatus said -10.
    std::vector<Completion> Run(std::string_view trace, bool *pending = nullptr);

private:
    vexa::CIsdnParser m_parser;
};

// Builds a trace from record lines and rows.
std::string Signal(const std::string &time, int seq, const std::string &dir, const std::string &name,
                   const std::string &equ, const std::string &hex, int len = -1, const std::string &part = "");

}  // namespace vexa::isdn::test
