// The interpretation output file while a run writes it. The run puts its text in memory
// that stays where it is until the file is closed (the storage of the run lines), and a
// writer thread of the file's own hands it to the system as the run goes, in large
// pieces: the run never waits on a system call per line, and the system's copy into the
// file is made on the other processor. Close writes the rest and waits for it.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
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
    // Appends text, which must stay where it is until Close.
    void Write(std::string_view text) {
        if (m_fd < 0 || text.empty()) return;
        if (text.data() == m_pending.data() + m_pending.size()) {
            m_pending = std::string_view(m_pending.data(), m_pending.size() + text.size());
            return;
        }
        if (!m_pending.empty()) Gather(m_pending);
        m_pending = text;
    }
    // The end of a line: hands what has been written to the writer once enough has
    // gathered to be worth a system call.
    void Flush() {
        if (m_gatheredBytes + m_pending.size() >= kHandOver) HandOver();
    }
    // Writes everything, ends the file and closes it; false when some of the text could
    // not be written (a full disk, say).
    bool Close();
    bool IsOpen() const { return m_fd >= 0; }

private:
    static constexpr size_t kHandOver = 256 * 1024;

    void Gather(std::string_view text) {
        m_gathered.push_back(text);
        m_gatheredBytes += text.size();
    }
    void HandOver();
    void WriterLoop();

    int m_fd = -1;
    std::string_view m_pending;              // the piece being extended by Write
    std::vector<std::string_view> m_gathered;  // finished pieces not yet handed over
    size_t m_gatheredBytes = 0;

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::vector<std::string_view> m_queue;  // handed over, not yet written
    bool m_closing = false;
    bool m_failed = false;
    std::thread m_writer;
};

}  // namespace vexa
