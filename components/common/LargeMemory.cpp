#include "LargeMemory.h"

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>

namespace vexa {

// Under AddressSanitizer every block comes from the ordinary heap, where the sanitizer
// guards both ends of it: past the end of a mapped block lies the rest of its page, and
// a read or write there would go unseen.
#if defined(__SANITIZE_ADDRESS__)
#define VEXA_LARGE_FROM_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VEXA_LARGE_FROM_HEAP 1
#endif
#endif
#ifndef VEXA_LARGE_FROM_HEAP
#define VEXA_LARGE_FROM_HEAP 0
#endif

namespace {
constexpr size_t kLargePage = 2u << 20;
constexpr bool kFromHeapOnly = VEXA_LARGE_FROM_HEAP;

size_t Rounded(size_t bytes) { return (bytes + kLargePage - 1) & ~(kLargePage - 1); }
}  // namespace

void *AllocateLarge(size_t bytes) {
    if (bytes < kLargeAllocation || kFromHeapOnly) {
        void *p = std::malloc(bytes ? bytes : 1);
        if (!p) throw std::bad_alloc();
        return p;
    }
    // Map a little more than needed and keep a range that starts on a large page.
    const size_t size = Rounded(bytes);
    void *raw = mmap(nullptr, size + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t aligned = (start + kLargePage - 1) & ~(uintptr_t(kLargePage) - 1);
    if (aligned > start) munmap(raw, aligned - start);
    const uintptr_t end = start + size + kLargePage;
    if (end > aligned + size) munmap(reinterpret_cast<void *>(aligned + size), end - (aligned + size));
    void *p = reinterpret_cast<void *>(aligned);
    madvise(p, size, MADV_HUGEPAGE);
    return p;
}

void FreeLarge(void *p, size_t bytes) {
    if (!p) return;
    if (bytes < kLargeAllocation || kFromHeapOnly) {
        std::free(p);
        return;
    }
    munmap(p, Rounded(bytes));
}

}  // namespace vexa
