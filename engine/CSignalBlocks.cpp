#include "CSignalBlocks.h"

#include "OutputText.h"

#include <algorithm>
#include <cstdio>

namespace vexa {

void CSignalBlocks::SetRunEnds(std::vector<uint32_t> ends) {
    const bool match = ends.size() == m_blocks.size();
    for (size_t i = 0; i < m_blocks.size(); ++i) m_blocks[i].runEnd = match ? ends[i] : kUnknown;
}

int64_t CSignalBlocks::BlockOf(int32_t message, int16_t sequence, int64_t near) const {
    // The blocks are in the order of their messages: the first whose last message is at
    // or after this one holds it. A fill walks the messages in order, so the block is
    // mostly the one near or the next: only otherwise are all the blocks searched.
    auto holds = [&](size_t b) {
        return m_blocks[b].lastMessage >= message && (b == 0 || m_blocks[b - 1].lastMessage < message);
    };
    auto it = m_blocks.end();
    if (near >= 0 && static_cast<size_t>(near) < m_blocks.size() && holds(static_cast<size_t>(near)))
        it = m_blocks.begin() + near;
    else if (near >= 0 && static_cast<size_t>(near) + 1 < m_blocks.size() && holds(static_cast<size_t>(near) + 1))
        it = m_blocks.begin() + near + 1;
    else
        it = std::lower_bound(m_blocks.begin(), m_blocks.end(), message,
                              [](const Block &block, int32_t index) { return block.lastMessage < index; });
    if (it == m_blocks.end() || it->sequence != sequence) return -1;
    return it - m_blocks.begin();
}

uint32_t CSignalBlocks::LastRecordLine(const LineArray &lines, uint32_t first, uint32_t end, std::string_view key,
                                       bool orAnyRecordLine) {
    end = static_cast<uint32_t>(std::min<size_t>(end, lines.size()));
    uint32_t last = kUnknown;  // the last record line of any number
    for (uint32_t i = end; i > first; --i) {
        const std::string_view line = lines[i - 1];
        if (line.size() < 17 || !IsRecordLine(line)) continue;
        if (line.compare(12, 5, key) == 0) return i - 1;
        if (last == kUnknown) last = i - 1;
    }
    return orAnyRecordLine ? last : kUnknown;
}

uint32_t CSignalBlocks::RunStart(size_t block, const LineArray &runLines) const {
    if (block >= m_blocks.size() || m_blocks[block].runEnd == kUnknown) return kUnknown;
    const uint32_t first = block > 0 && m_blocks[block - 1].runEnd != kUnknown ? m_blocks[block - 1].runEnd : 0;
    char key[16];
    std::snprintf(key, sizeof key, "%05d", m_blocks[block].sequence);
    // A message split over several signals carries the number of its first part, and
    // its block follows the signal of its last part: the block then starts at that
    // signal's record line.
    return LastRecordLine(runLines, first, m_blocks[block].runEnd, key, true);
}

uint32_t CSignalBlocks::TraceLine(size_t block, const LineArray &traceLines) const {
    if (block >= m_blocks.size() || m_blocks[block].traceEnd == kUnknown) return kUnknown;
    const uint32_t end = m_blocks[block].traceEnd;
    // A rewind to an earlier mark can leave the previous signal's end after this one's:
    // the search then goes back from this end alone.
    uint32_t first = 0;
    if (block > 0 && m_blocks[block - 1].traceEnd != kUnknown && m_blocks[block - 1].traceEnd <= end)
        first = m_blocks[block - 1].traceEnd;
    char key[16];
    std::snprintf(key, sizeof key, "%05d", m_blocks[block].sequence);
    // A message split over several signals carries the number of its first part: the
    // search goes on before the previous signal, back to that part.
    const uint32_t found = LastRecordLine(traceLines, first, end, key, false);
    return found != kUnknown || first == 0 ? found : LastRecordLine(traceLines, 0, first, key, false);
}

}  // namespace vexa
