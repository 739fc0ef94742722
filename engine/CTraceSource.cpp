#include "CTraceSource.h"

namespace vexa {

bool CTraceSource::Open(const std::string &path, const LineArray &kept, const TraceStamp &keptStamp) {
    Close();
    if (!m_reader.Open(path)) return false;
    const TraceStamp now = TraceStamp::Of(path);
    if (keptStamp.size >= 0 && now == keptStamp) {
        m_reader.Close();
        m_kept = &kept;
        m_next = 0;
    }
    return true;
}

void CTraceSource::Close() {
    m_reader.Close();
    m_kept = nullptr;
    m_next = 0;
}

bool CTraceSource::Seek(int64_t position) {
    if (!m_kept) return m_reader.Seek(position);
    if (position < 0 || static_cast<size_t>(position) > m_kept->size()) return false;
    m_next = static_cast<size_t>(position);
    return true;
}

}  // namespace vexa
