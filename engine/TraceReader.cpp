#include "TraceReader.h"

#include "TracePieces.h"

#include "LineArray.h"
#include "MappedFile.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <thread>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace vexa {

namespace {
constexpr size_t kReadBlock = 256 * 1024;
}  // namespace

namespace {

TraceStamp StampOf(const struct stat &st) {
    TraceStamp stamp;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return stamp;
}

}  // namespace

TraceStamp TraceStamp::Of(const std::string &path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return TraceStamp{};
    return StampOf(st);
}

namespace {

// The trace opened for reading, or -1 where it cannot be or is no plain file; st gets
// its state. Without waiting: a named pipe with no writer would hold the open for good.
// What is not a plain file is refused; a plain file reads the same either way.
int OpenTraceFile(const std::string &path, struct stat &st) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return -1;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

bool IsReadableTrace(const std::string &path) {
    struct stat st {};
    const int fd = OpenTraceFile(path, st);
    if (fd < 0) return false;
    close(fd);
    return true;
}

namespace {
// From a file of this size on, its second half is read by a thread of its own while the
// first is read here: taking a large file into fresh memory is mostly the system making
// that memory ready, which then happens on both processors at once.
constexpr size_t kReadInTwoFrom = 32u << 20;

// Reads from offset on into to[0..want) until that is full or the file ends there; the
// number of characters read, or -1 when reading fails.
ssize_t ReadRange(int fd, char *to, size_t want, off_t offset) {
    size_t got = 0;
    while (got < want) {
        const ssize_t n = pread(fd, to + got, want - got, offset + static_cast<off_t>(got));
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(got);
}

// The first `expected` characters of the file into block, both halves at once where the
// file is large; the number read (fewer where the file has shrunk), or -1 on a failure.
ssize_t ReadExpected(int fd, char *block, size_t expected) {
    if (expected < kReadInTwoFrom) return ReadRange(fd, block, expected, 0);
    const size_t half = expected / 2;
    ssize_t second = -1;
    std::thread reader;
    try {
        reader = std::thread([&] { second = ReadRange(fd, block + half, expected - half, static_cast<off_t>(half)); });
    } catch (const std::system_error &) {
        return ReadRange(fd, block, expected, 0);  // no thread to be had: one after the other
    }
    const ssize_t first = ReadRange(fd, block, half, 0);
    reader.join();
    if (first < 0 || second < 0) return -1;
    // A file that shrank meanwhile ends where the first gap begins.
    if (static_cast<size_t>(first) < half) return first;
    return static_cast<ssize_t>(half) + second;
}
}  // namespace

namespace {
// From this size on a trace is read where the system keeps the file, not copied: a copy
// of a large trace is mostly the system making fresh memory ready and filling it.
constexpr size_t kReadInPlaceFrom = 8u << 20;

// The lines of text[0..size) into lines. A line that ends in a carriage return and a
// line-feed is kept as ending in a line-feed alone: in place where the text may be
// changed, else as a copy of its own.
void SplitLines(char *text, size_t size, bool writable, LineArray &lines) {
    // Room for the lines at once (a trace line is seldom shorter than 16 characters);
    // what is not used costs only address space.
    lines.Reserve(lines.size() + size / 16 + 16);
    std::string crlf;
    size_t pos = 0;
    while (pos < size) {
        char *p = text + pos;
        const Piece piece = NextPiece(p, size - pos);
        pos += piece.consumed;
        // A NUL ends the line's text, as it ends the program's strings (looked for in the
        // piece while it is at hand, not in a pass of its own over the whole file).
        size_t length = piece.length;
        if (const void *nul = std::memchr(p, '\0', length)) length = static_cast<size_t>(static_cast<const char *>(nul) - p);
        if (piece.crlf && length == piece.length) {  // the carriage return stands for the newline
            if (writable) {
                p[length - 1] = '\n';
            } else {
                crlf.assign(p, length - 1);
                crlf += '\n';
                if (length == 1) continue;
                lines.Add(crlf);
                continue;
            }
        }
        if (length == 1 && p[0] == '\n') continue;
        lines.AddView(std::string_view(p, length));
    }
}
}  // namespace

bool LoadTraceLines(const std::string &path, LineArray &lines, TraceStamp &stamp) {
    struct stat st {};
    const int fd = OpenTraceFile(path, st);
    if (fd < 0) return false;
    stamp = StampOf(st);
    if (static_cast<size_t>(st.st_size) >= kReadInPlaceFrom) {
        // Should another program cut the file short meanwhile, what is gone reads as zeros.
        if (auto mapped = MappedFile::Map(fd, static_cast<size_t>(st.st_size), true)) {
            struct stat after {};
            if (fstat(fd, &after) != 0 || after.st_size != st.st_size || after.st_mtim.tv_nsec != st.st_mtim.tv_nsec ||
                after.st_mtim.tv_sec != st.st_mtim.tv_sec) {
                stamp.size = -1;  // changed while mapped: never reuse
            }
            close(fd);
            lines.Hold(mapped);
            SplitLines(mapped->data(), mapped->size(), false, lines);
            return true;
        }
    }
    // The whole file in one block of large pages, read on past the size it had when it
    // was measured should it have grown since.
    size_t capacity = static_cast<size_t>(st.st_size) + 1;
    LargeBlock block = MakeLargeBlock(capacity);
    const ssize_t expected = ReadExpected(fd, block.get(), static_cast<size_t>(st.st_size));
    if (expected < 0) {
        close(fd);
        return false;
    }
    size_t size = static_cast<size_t>(expected);
    for (;;) {
        if (size == capacity) {
            LargeBlock bigger = MakeLargeBlock(capacity * 2);
            std::memcpy(bigger.get(), block.get(), size);
            block = std::move(bigger);
            capacity *= 2;
        }
        const ssize_t got = ReadRange(fd, block.get() + size, capacity - size, static_cast<off_t>(size));
        if (got < 0) {
            close(fd);
            return false;
        }
        if (got == 0) break;
        size += static_cast<size_t>(got);
    }
    if (static_cast<int64_t>(size) != stamp.size) stamp.size = -1;  // changed while read: never reuse
    char *text = lines.AdoptBlock(std::move(block));
    close(fd);
    SplitLines(text, size, true, lines);
    return true;
}

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
    const Piece piece = NextPiece(p, m_end - m_pos);
    m_pos += piece.consumed;
    const char *text = p;
    if (piece.crlf) {
        // The carriage return goes: the piece is the line's characters and a newline.
        std::memcpy(m_line, p, piece.length - 1);
        m_line[piece.length - 1] = '\n';
        text = m_line;
    }
    size_t length = piece.length;
    if (const void *nul = std::memchr(text, '\0', length)) length = static_cast<size_t>(static_cast<const char *>(nul) - text);
    line = std::string_view(text, length);
    return true;
}

}  // namespace vexa
