// Where each completed signal's block lies: the run notes, for every signal it writes a
// block for, the last message index the signal carries, its sequence number, and where
// its lines end in the run lines and in the trace. A list row then leads to the block of
// its own signal, not to the first line that happens to hold its five digits: sequence
// numbers wrap after 32767, so a long trace holds every number many times, and a
// decoded calling party number may hold the same digits.
#pragma once

#include "LineArray.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace vexa {

class CSignalBlocks {
public:
    static constexpr uint32_t kUnknown = UINT32_MAX;

    struct Block {
        int32_t lastMessage;  // the signal's messages follow the previous block's last one, up to this
        uint32_t runEnd;      // one past the block's last run line
        uint32_t traceEnd;    // one past the signal's last trace line read, or kUnknown
        int16_t sequence;
    };

    void Clear() { m_blocks.clear(); }
    // A signal whose block the run writes; traceEnd is kUnknown when the trace was not
    // read from the document's lines.
    void Add(int32_t lastMessage, int16_t sequence, uint32_t traceEnd) {
        m_blocks.push_back({lastMessage, kUnknown, traceEnd, sequence});
    }
    // A further completion of the last signal's number that the run writes no block for:
    // its messages belong to the last block.
    void ExtendLast(int32_t lastMessage) {
        if (!m_blocks.empty() && lastMessage > m_blocks.back().lastMessage) m_blocks.back().lastMessage = lastMessage;
    }
    // The run-line counts the writer noted at the end of each block, in order. A count
    // that does not match the blocks leaves every block unknown.
    void SetRunEnds(std::vector<uint32_t> ends);

    size_t size() const { return m_blocks.size(); }
    // The block of message index (1 up) whose sequence number is sequence; -1 when no
    // block holds that message or the numbers disagree (a component whose indices the
    // run cannot follow): the caller then looks the number up as text.
    // near, where known, is a block at or just before the one sought (the block of the
    // message before, when the messages are walked in order): it is looked at first.
    int64_t BlockOf(int32_t message, int16_t sequence, int64_t near = -1) const;

    // The run line the block of block index starts at: the signal's record line among
    // its own lines (the line a search for its five digits finds where they are unique),
    // else the last record line among them; kUnknown when there is none.
    uint32_t RunStart(size_t block, const LineArray &runLines) const;
    // The trace line of the signal's record line; kUnknown when not known.
    uint32_t TraceLine(size_t block, const LineArray &traceLines) const;

private:
    // The last line of lines in [first, end) that is a record line of sequence number
    // key ("%05d"); failing that, with orAnyRecordLine, the last record line there;
    // kUnknown when there is none.
    static uint32_t LastRecordLine(const LineArray &lines, uint32_t first, uint32_t end, std::string_view key,
                                   bool orAnyRecordLine);

    std::vector<Block> m_blocks;
};

}  // namespace vexa
