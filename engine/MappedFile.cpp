#include "MappedFile.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace vexa {

namespace {

// The mapped ranges, as the bus error handler reads them: a fixed table of atomics, since
// a signal handler may neither lock nor allocate.
constexpr int kSlots = 256;
std::atomic<uintptr_t> g_start[kSlots];
std::atomic<uintptr_t> g_end[kSlots];
std::mutex g_slotLock;  // taken by Map and the destructor only
struct sigaction g_previous;

size_t PageSize() {
    static const size_t size = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    return size;
}

// A read past the end of a file that shrank while mapped: the page becomes one of zeros
// and the read is made again. Any other bus error goes where it went before.
void OnBusError(int signal, siginfo_t *info, void *context) {
    const uintptr_t at = reinterpret_cast<uintptr_t>(info->si_addr);
    for (int i = 0; i < kSlots; ++i) {
        const uintptr_t start = g_start[i].load(std::memory_order_acquire);
        if (start != 0 && at >= start && at < g_end[i].load(std::memory_order_acquire)) {
            const uintptr_t page = at & ~(uintptr_t(PageSize()) - 1);
            void *p = mmap(reinterpret_cast<void *>(page), PageSize(), PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
            if (p != MAP_FAILED) return;
            break;
        }
    }
    if (g_previous.sa_flags & SA_SIGINFO) {
        if (g_previous.sa_sigaction) return g_previous.sa_sigaction(signal, info, context);
    } else if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
        return g_previous.sa_handler(signal);
    }
    // The default: the same fault again, now ending the program as it would have.
    std::signal(SIGBUS, SIG_DFL);
}

void InstallHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        PageSize();
        struct sigaction action {};
        action.sa_sigaction = &OnBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        sigaction(SIGBUS, &action, &g_previous);
    });
}

int TakeSlot(uintptr_t start, uintptr_t end) {
    std::lock_guard<std::mutex> guard(g_slotLock);
    for (int i = 0; i < kSlots; ++i) {
        if (g_start[i].load(std::memory_order_relaxed) == 0) {
            g_end[i].store(end, std::memory_order_release);
            g_start[i].store(start, std::memory_order_release);
            return i;
        }
    }
    return -1;
}

}  // namespace

std::shared_ptr<MappedFile> MappedFile::Map(int fd, size_t size, bool readAtOnce) {
    if (fd < 0 || size == 0) return nullptr;
    InstallHandler();
    const size_t length = (size + PageSize() - 1) & ~(PageSize() - 1);
    void *p = mmap(nullptr, length, PROT_READ, MAP_SHARED | (readAtOnce ? MAP_POPULATE : 0), fd, 0);
    if (p == MAP_FAILED) return nullptr;
    const uintptr_t start = reinterpret_cast<uintptr_t>(p);
    const int slot = TakeSlot(start, start + length);
    if (slot < 0) {
        // Unguarded mappings are not made: the caller reads the file instead.
        munmap(p, length);
        return nullptr;
    }
    return std::shared_ptr<MappedFile>(new MappedFile(static_cast<char *>(p), size, length, slot));
}

MappedFile::~MappedFile() {
    if (m_slot >= 0) {
        std::lock_guard<std::mutex> guard(g_slotLock);
        g_start[m_slot].store(0, std::memory_order_release);
        g_end[m_slot].store(0, std::memory_order_release);
    }
    munmap(m_data, m_length);
}

}  // namespace vexa
