#include "OutputFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <pthread.h>
#include <sys/uio.h>
#include <unistd.h>

namespace vexa {

namespace {

// Writes the pieces in order, as few system calls as the system allows; false on an error.
bool WritePieces(int fd, std::vector<std::string_view> &pieces) {
    constexpr size_t kMaxVectors = 512;
    iovec vectors[kMaxVectors];
    size_t next = 0;
    size_t skip = 0;  // characters of pieces[next] already written
    while (next < pieces.size()) {
        size_t count = 0;
        for (size_t i = next; i < pieces.size() && count < kMaxVectors && count < IOV_MAX; ++i, ++count) {
            const size_t from = i == next ? skip : 0;
            vectors[count].iov_base = const_cast<char *>(pieces[i].data() + from);
            vectors[count].iov_len = pieces[i].size() - from;
        }
        ssize_t n = writev(fd, vectors, static_cast<int>(count));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        size_t written = static_cast<size_t>(n);
        while (next < pieces.size() && written >= pieces[next].size() - skip) {
            written -= pieces[next].size() - skip;
            skip = 0;
            ++next;
        }
        skip += written;
    }
    return true;
}

}  // namespace

bool OutputFile::Open(const std::string &path) {
    Close();
    // The run's output holds calling party numbers: where it has to be made here, it is
    // the user's alone, as the file made for it beforehand is.
    m_fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (m_fd < 0) return false;
    m_size = 0;
    m_written = 0;
    m_closing = false;
    m_failed = false;
    m_writer = std::thread(&OutputFile::WriterLoop, this);
    return true;
}

void OutputFile::HandOver() {
    if (!m_pending.empty()) Gather(m_pending);
    m_pending = {};
    if (m_gathered.empty()) return;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_queue.empty()) {
            m_queue.swap(m_gathered);
        } else {
            m_queue.insert(m_queue.end(), m_gathered.begin(), m_gathered.end());
        }
    }
    m_gathered.clear();
    m_gatheredBytes = 0;
    m_wake.notify_one();
}

void OutputFile::WriterLoop() {
    pthread_setname_np(pthread_self(), "vexa-write");
    std::vector<std::string_view> batch;
    std::unique_lock<std::mutex> guard(m_lock);
    for (;;) {
        m_wake.wait(guard, [this] { return m_closing || !m_queue.empty(); });
        if (m_queue.empty() && m_closing) return;
        batch.swap(m_queue);
        guard.unlock();
        // After a failure the rest is dropped: the file ends at what could be written.
        uint64_t bytes = 0;
        for (std::string_view piece : batch) bytes += piece.size();
        const bool ok = !m_failed && WritePieces(m_fd, batch);
        batch.clear();
        guard.lock();
        if (ok) m_written += bytes;
        else m_failed = true;
        m_progress.notify_all();
    }
}

void OutputFile::WaitWritten(uint64_t size) {
    if (m_fd < 0) return;
    HandOver();
    std::unique_lock<std::mutex> guard(m_lock);
    m_progress.wait(guard, [&] { return m_written >= size || m_failed; });
}

bool OutputFile::Close(std::shared_ptr<MappedFile> *mapping) {
    if (mapping) mapping->reset();
    if (m_fd < 0) return true;
    HandOver();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_closing = true;
    }
    m_wake.notify_one();
    if (m_writer.joinable()) m_writer.join();
    const bool ok = !m_failed;
    if (mapping && m_written > 0) *mapping = MappedFile::Map(m_fd, m_written);
    const bool closed = close(m_fd) == 0;
    m_fd = -1;
    m_queue.clear();
    return ok && closed;
}

}  // namespace vexa
