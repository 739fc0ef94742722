#include "TraceReader.h"

#include <cstring>
#include <sys/stat.h>

namespace vexa {

namespace {
constexpr size_t kReadBlock = 256 * 1024;
constexpr size_t kMaxPiece = TraceReader::kBufferSize - 1;
}  // namespace

TraceReader::~TraceReader() { Close(); }

bool TraceReader::Open(const std::string &path) {
    Close();
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    m_file = std::fopen(path.c_str(), "rb");
    if (!m_file) return false;
    m_size = st.st_size;
    m_buffer.resize(kReadBlock + kBufferSize + 1);
    m_pos = m_end = 0;
    m_bufferOffset = 0;
    m_eof = m_failed = false;
    return true;
}

void TraceReader::Close() {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
    m_buffer.clear();
    m_buffer.shrink_to_fit();
    m_pos = m_end = 0;
}

bool TraceReader::Seek(int64_t position) {
    if (!m_file || position < 0 || fseeko(m_file, position, SEEK_SET) != 0) return false;
    m_bufferOffset = position;
    m_pos = m_end = 0;
    m_eof = false;
    return true;
}

// Keeps at least one full piece, its carriage return and its line feed in the buffer
// unless the file ends sooner.
bool TraceReader::Fill() {
    if (m_eof) return m_pos < m_end;
    if (m_pos > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_end - m_pos);
        m_bufferOffset += static_cast<int64_t>(m_pos);
        m_end -= m_pos;
        m_pos = 0;
    }
    while (m_end < kMaxPiece + 2 && !m_eof) {
        size_t got = std::fread(m_buffer.data() + m_end, 1, m_buffer.size() - m_end, m_file);
        m_end += got;
        if (got == 0) {
            m_eof = true;
            m_failed = std::ferror(m_file) != 0;
        }
    }
    return m_pos < m_end;
}

bool TraceReader::ReadLine(std::string_view &line) {
    if (!m_file) return false;
    if (m_end - m_pos < kMaxPiece + 2 && !Fill()) return false;
    const char *p = m_buffer.data() + m_pos;
    const size_t avail = m_end - m_pos;
    const size_t window = avail < kMaxPiece + 2 ? avail : kMaxPiece + 2;
    const char *nl = static_cast<const char *>(std::memchr(p, '\n', window));

    size_t length;    // characters of the piece
    size_t consumed;  // characters of the file it stands for
    bool newline = false;
    if (nl) {
        size_t k = static_cast<size_t>(nl - p);
        size_t content = (k > 0 && p[k - 1] == '\r') ? k - 1 : k;
        if (content < kMaxPiece) {
            length = content;
            consumed = k + 1;
            newline = true;
        } else {
            length = consumed = kMaxPiece;
        }
    } else {
        length = consumed = avail < kMaxPiece ? avail : kMaxPiece;
    }
    std::memcpy(m_line, p, length);
    if (newline) m_line[length++] = '\n';
    m_pos += consumed;
    const void *nul = std::memchr(m_line, '\0', length);
    if (nul) length = static_cast<size_t>(static_cast<const char *>(nul) - m_line);
    line = std::string_view(m_line, length);
    return true;
}

}  // namespace vexa
