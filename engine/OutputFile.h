// The interpretation output file while a run writes it. Every line the run writes must be
// in the system's hands at once, as if the file were flushed after each line; a mapped
// file gives that without a system call per line. Where the file cannot be mapped, each
// flush writes what has been buffered.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile() { Close(); }
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // Creates or truncates the file; false when it cannot be written.
    bool Open(const std::string &path);
    void Write(std::string_view text);
    // Hands what was written to the system: a mapped file holds it there already.
    void Flush() {
        if (!m_map && !m_buffer.empty()) WriteBuffer();
    }
    // Ends the file at what was written and closes it.
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

private:
    bool Map(size_t capacity);
    void WriteBuffer();
    void Unmap();

    int m_fd = -1;
    char *m_map = nullptr;
    size_t m_capacity = 0;
    size_t m_size = 0;
    std::vector<char> m_buffer;  // used only when the file is not mapped
};

}  // namespace vexa
