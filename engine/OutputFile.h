// The interpretation output file while a run writes it. The run puts its text in memory
// of its own, and a writer thread of the file's own hands it to the system as the run
// goes, in large pieces: the run never waits on a system call per line, and the
// system's copy into the file is made on the other processor. The run may use its memory
// again once the file holds what was there (WaitWritten). Close writes the rest, waits
// for it, and may map the finished file for reading.
#pragma once

#include "MappedFile.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
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
    // Appends text, which must stay where it is until the file holds it.
    void Write(std::string_view text) {
        if (m_fd < 0 || text.empty()) return;
        m_size += text.size();
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
    // Characters written so far, in the order they came.
    uint64_t Size() const { return m_size; }
    // Waits until the file holds the first `size` characters (or writing has failed).
    void WaitWritten(uint64_t size);
    // Writes everything, ends the file and closes it; false when some of the text could
    // not be written (a full disk, say). With mapping, the finished file is mapped for
    // reading there (null when it is empty or cannot be mapped).
    bool Close(std::shared_ptr<MappedFile> *mapping = nullptr);
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
    uint64_t m_size = 0;
    std::string_view m_pending;              // the piece being extended by Write
    std::vector<std::string_view> m_gathered;  // finished pieces not yet handed over
    size_t m_gatheredBytes = 0;

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::vector<std::string_view> m_queue;  // handed over, not yet written
    std::condition_variable m_progress;      // the writer has written a batch
    uint64_t m_written = 0;                   // characters the file holds
    bool m_closing = false;
    bool m_failed = false;
    std::thread m_writer;
};

}  // namespace vexa
