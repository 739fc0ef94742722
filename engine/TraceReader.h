// Reads a trace the way the program has always read it: as text, a piece of at most 511
// characters at a time (a longer line arrives as several pieces), each piece ending with
// its newline when the line ends within it. A carriage return before a line feed is not
// part of the line. A piece is a C string to the program, so it ends at a NUL byte.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

class LineArray;

// What identifies the contents of a trace file at one moment: a run reads the lines kept
// at open instead of the file as long as the file still has the same stamp.
struct TraceStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = -1;
    int64_t modifiedNs = 0;
    bool operator==(const TraceStamp &) const = default;
    // The stamp of the file at path now; size -1 when it cannot be had.
    static TraceStamp Of(const std::string &path);
};

// Reads the whole trace at path into lines, cut into the same pieces TraceReader gives,
// leaving out pieces that are exactly "\n". False when the file cannot be read; stamp
// gets the file's stamp as it was read.
bool LoadTraceLines(const std::string &path, LineArray &lines, TraceStamp &stamp);
// Whether the trace at path is a plain file that can be opened for reading, found
// without reading it.
bool IsReadableTrace(const std::string &path);

class TraceReader {
public:
    static constexpr size_t kBufferSize = 512;  // the line buffer: 511 characters and a NUL

    TraceReader() = default;
    ~TraceReader();
    TraceReader(const TraceReader &) = delete;
    TraceReader &operator=(const TraceReader &) = delete;

    // Opens a file for reading; false when it cannot be opened or is not a regular file.
    bool Open(const std::string &path);
    void Close();
    bool IsOpen() const { return m_file != nullptr; }

    // The next piece, valid until the next call; false at the end of the file.
    bool ReadLine(std::string_view &line);

    // The position of the next unread character, and a return to such a position.
    int64_t Tell() const { return m_bufferOffset + static_cast<int64_t>(m_pos); }
    bool Seek(int64_t position);

    // The file's size in bytes when it was opened (for progress).
    int64_t Size() const { return m_size; }
    // True when reading stopped because of an error rather than the end of the file.
    bool Failed() const { return m_failed; }

private:
    bool Fill();

    FILE *m_file = nullptr;
    std::vector<char> m_buffer;
    size_t m_pos = 0;
    size_t m_end = 0;
    int64_t m_bufferOffset = 0;
    int64_t m_size = 0;
    bool m_eof = false;
    bool m_failed = false;
    char m_line[kBufferSize];
};

}  // namespace vexa
