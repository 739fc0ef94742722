// Where a run takes the trace's lines from: the lines the document read at open while the
// file is still the one that was read, otherwise the file itself. Both give the same
// pieces; reading them from memory spares a second pass over a large file.
#pragma once

#include "LineArray.h"
#include "TraceReader.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vexa {

class CTraceSource {
public:
    // Opens the trace at path; kept are the document's lines and the stamp they were read
    // with. False when the trace cannot be opened for reading.
    bool Open(const std::string &path, const LineArray &kept, const TraceStamp &keptStamp);
    void Close();
    bool ReadLine(std::string_view &line) {
        if (!m_kept) return m_reader.ReadLine(line);
        if (m_next >= m_kept->size()) return false;
        line = (*m_kept)[m_next++];
        return true;
    }
    // A position to come back to, and the return to it.
    int64_t Tell() const { return m_kept ? static_cast<int64_t>(m_next) : m_reader.Tell(); }
    bool Seek(int64_t position);
    // How far the run has come, and how far it has to go, in the same units.
    int64_t Size() const { return m_kept ? static_cast<int64_t>(m_kept->size()) : m_reader.Size(); }
    bool FromMemory() const { return m_kept != nullptr; }

private:
    TraceReader m_reader;
    const LineArray *m_kept = nullptr;
    size_t m_next = 0;
};

}  // namespace vexa
