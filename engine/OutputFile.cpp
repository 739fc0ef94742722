#include "OutputFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace vexa {

namespace {
constexpr size_t kFirstMapping = 4u << 20;

bool WriteAll(int fd, const char *data, size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}
}  // namespace

bool OutputFile::Open(const std::string &path) {
    Close();
    m_fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (m_fd < 0) return false;
    m_size = 0;
    if (!Map(kFirstMapping)) m_buffer.reserve(64 * 1024);
    return true;
}

// Reserves the room on disk first, so that a full disk is an error here and never a fault
// when a page of the mapping is written.
bool OutputFile::Map(size_t capacity) {
    if (posix_fallocate(m_fd, 0, static_cast<off_t>(capacity)) != 0) return false;
    void *p = mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
    if (p == MAP_FAILED) {
        ftruncate(m_fd, static_cast<off_t>(m_size));
        return false;
    }
    m_map = static_cast<char *>(p);
    m_capacity = capacity;
    return true;
}

void OutputFile::Unmap() {
    if (m_map) munmap(m_map, m_capacity);
    m_map = nullptr;
    m_capacity = 0;
}

void OutputFile::Write(std::string_view text) {
    if (m_fd < 0 || text.empty()) return;
    if (m_map && m_size + text.size() > m_capacity) {
        size_t capacity = m_capacity;
        while (capacity < m_size + text.size()) capacity *= 2;
        Unmap();
        if (!Map(capacity)) {
            // No room for a larger mapping: go on with plain writes after what is there.
            ftruncate(m_fd, static_cast<off_t>(m_size));
            lseek(m_fd, static_cast<off_t>(m_size), SEEK_SET);
        }
    }
    if (m_map) {
        std::memcpy(m_map + m_size, text.data(), text.size());
        m_size += text.size();
        return;
    }
    m_buffer.insert(m_buffer.end(), text.begin(), text.end());
}

void OutputFile::WriteBuffer() {
    if (m_fd < 0) return;
    if (WriteAll(m_fd, m_buffer.data(), m_buffer.size())) m_size += m_buffer.size();
    m_buffer.clear();
}

void OutputFile::Close() {
    if (m_fd < 0) return;
    if (m_map) {
        Unmap();
        ftruncate(m_fd, static_cast<off_t>(m_size));
    } else {
        Flush();
    }
    close(m_fd);
    m_fd = -1;
    m_size = 0;
    m_buffer.clear();
}

}  // namespace vexa
