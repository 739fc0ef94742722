// Reads the trace line by line and assembles the Q.931 messages that the ISDN signals
// carry: the record line of a signal, its EQU NO, PART, DATA and LEN rows, and messages
// split over several DLRDATA/DLIDATA signals (one part each, interleaved with other
// signals) joined per equipment and direction.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vexa::isdn {

// What the record line of a signal said.
struct SignalHeader {
    int sequence = 0;
    std::string time;
    std::string direction;
    std::string signalName;
    std::string originator;
    std::string destination;
    std::string equ;  // the EQU NO row from "EQU NO" on, or empty
};

// A message whose octets are all there (or as many as the trace had).
struct AssembledMessage {
    SignalHeader header;              // of the signal carrying the first octets
    std::vector<uint8_t> octets;
    std::vector<std::string> problems;  // what the line reader found wrong
};

// Line kinds the program reads.
enum LineKind : int { kOther = 0, kRecordLine = 1, kHeaderRow = 2, kControlRow = 3, kDataRow = 4 };

struct LineResult {
    int kind = kOther;
    int completion = 0;  // 0 none, 1 ended with this line, 2 ended before this line
    // The messages the line completed are the first `count` of `completed` (the vector
    // and the buffers of its messages are used again for the next lines).
    size_t count = 0;
    std::vector<AssembledMessage> completed;
    std::span<AssembledMessage> Completed() { return std::span<AssembledMessage>(completed.data(), count); }
};

class SignalAssembler {
public:
    // Largest message kept; octets beyond it are counted but not kept.
    static constexpr size_t kMaxMessageOctets = 65535;
    // Largest number of split messages waiting for their further parts at once.
    static constexpr size_t kMaxWaitingMessages = 4096;
    // Largest number of problem lines kept per message.
    static constexpr size_t kMaxProblems = 16;

    SignalAssembler();

    // The five signal names: DlrData, DlrDataLong, DliData, DliDataLong, DliuiDataLong.
    void SetSignalNames(const std::array<std::string, 5> &names);

    // One piece of a trace line (at most 511 characters, with its "\n" when the line ended).
    // result is filled anew.
    void Feed(std::string_view piece, LineResult &result);
    LineResult Feed(std::string_view piece) {
        LineResult result;
        Feed(piece, result);
        return result;
    }

    // True once after an end line found a message unfinished; forgets it.
    bool TakePending();

    void Reset();

private:
    enum class Carriage { None, Whole, Part };

    struct OpenSignal {
        Carriage carriage = Carriage::None;
        bool closed = true;
        SignalHeader header;
        std::vector<uint8_t> octets;
        size_t droppedOctets = 0;
        std::vector<std::string> problems;
        bool hasPart = false;
        long long partIndex = 0;
        long long partCount = 0;
    };

    struct Waiting {
        SignalHeader header;
        std::vector<uint8_t> octets;
        std::vector<std::string> problems;
        long long nextPart = 2;
        long long partCount = 0;
        bool overflow = false;
    };

    // The open signal made empty for the next one (its buffers are kept).
    void ClearOpen();
    // The next message slot of result, emptied.
    static AssembledMessage &NewMessage(LineResult &result);
    // Gives msg the open signal's header (copied), octets and problems (msg's buffers
    // for them go to the open signal for use again).
    void TakeOpen(AssembledMessage &msg);
    void CloseOpenSignal(bool lenSeen, LineResult &result);
    void FinishPart(bool lenSeen, LineResult &result);
    void Standalone(std::string problem, LineResult &result);
    bool StartsLineOfItsOwn(std::string_view line) const;
    void ReadDataRow(std::string_view text);
    void ReadLenRow(std::string_view text, LineResult &result);
    static void AddProblem(std::vector<std::string> &list, std::string problem);

    std::array<std::string, 5> m_names;
    OpenSignal m_open;
    std::map<std::pair<std::string, std::string>, Waiting> m_waiting;
    bool m_midLine = false;
    bool m_lastWasData = false;
    bool m_abandoned = false;
    bool m_pending = false;
};

}  // namespace vexa::isdn
