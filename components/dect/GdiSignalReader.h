// Reads the trace line by line and collects the GDI signals of the DECT central: the record
// line of a GDIREQ or GDIIND signal, its SCP, USER PART, DATA and LEN rows. One signal
// carries at most one network layer message; a signal without DATA rows carries only its
// station control message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::dect {

// One GDI signal as the trace showed it. Its record-line fields point into recordLine: a
// signal is filled in place and handed out by reference, never copied.
struct GdiSignal {
    int sequence = 0;
    std::string recordLine;  // the record line, which the next five views point into
    std::string_view time;
    std::string_view direction;
    std::string_view signalName;
    std::string_view originator;
    std::string_view destination;
    std::string scpMessage;  // the station control message named by the SCP row ("DATA_IND")
    std::string scpId;       // the connection it concerns (the word after "ID")
    std::string userPart;    // the USER PART row's text
    bool hasData = false;    // at least one DATA row
    bool lenSeen = false;
    std::vector<uint8_t> octets;
    std::vector<std::string> problems;  // what the line reader found wrong
};

// Line kinds the program reads.
enum LineKind : int { kOther = 0, kRecordLine = 1, kHeaderRow = 2, kControlRow = 3, kDataRow = 4 };

struct LineResult {
    int kind = kOther;
    int completion = 0;  // 0 none, 1 ended with this line, 2 ended before this line
    bool completed = false;
    const GdiSignal *signal = nullptr;  // the completed signal when completed is true; valid until the
                                        // signal after it completes
};

class GdiSignalReader {
public:
    // Largest network layer message kept; octets beyond it are counted but not kept.
    static constexpr size_t kMaxMessageOctets = 4096;
    // Largest number of problem lines kept per signal.
    static constexpr size_t kMaxProblems = 16;
    // Longest SCP and USER PART text kept.
    static constexpr size_t kMaxRowText = 256;

    GdiSignalReader() = default;
    GdiSignalReader(const GdiSignalReader &) = delete;  // the open signal is one of its own two
    GdiSignalReader &operator=(const GdiSignalReader &) = delete;

    // One piece of a trace line (at most 511 characters, with its "\n" when the line ended).
    // result is filled anew.
    void Feed(std::string_view piece, LineResult &result);

    void Reset();

private:
    void Close(bool lenSeen, LineResult &result);
    void ReadScpRow(std::string_view rest);
    void ReadDataRow(std::string_view rest);
    void ReadLenRow(std::string_view rest, LineResult &result);
    void AddProblem(std::string problem);
    bool StartsLineOfItsOwn(std::string_view line) const;

    // The open signal and the one completed before it take turns, so that a completed
    // signal is handed out without being copied and the buffers are used again.
    GdiSignal m_signals[2];
    GdiSignal *m_open = &m_signals[0];
    bool m_isOpen = false;
    size_t m_droppedOctets = 0;
    bool m_midLine = false;
    bool m_lastWasData = false;
};

}  // namespace vexa::dect
