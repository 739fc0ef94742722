// Memory for the large arrays of a trace (its text, its lines, the run's output lines, the
// messages a parser component keeps), taken from the system in large pages where it offers
// them: filling tens of megabytes page by small page costs more than reading the trace.
#pragma once

#include <cstddef>
#include <memory>
#include <new>

namespace vexa {

// Allocations of at least this size come from large pages.
inline constexpr size_t kLargeAllocation = 1u << 20;

void *AllocateLarge(size_t bytes);
void FreeLarge(void *p, size_t bytes);

struct LargeBlockDeleter {
    size_t bytes = 0;
    void operator()(char *p) const { FreeLarge(p, bytes); }
};
using LargeBlock = std::unique_ptr<char[], LargeBlockDeleter>;

// An uninitialised block of characters.
inline LargeBlock MakeLargeBlock(size_t bytes) {
    return LargeBlock(static_cast<char *>(AllocateLarge(bytes)), LargeBlockDeleter{bytes});
}

// A standard allocator that takes large allocations from large pages.
template <class T>
struct LargeAllocator {
    using value_type = T;
    LargeAllocator() = default;
    template <class U>
    LargeAllocator(const LargeAllocator<U> &) {}
    T *allocate(size_t n) { return static_cast<T *>(AllocateLarge(n * sizeof(T))); }
    void deallocate(T *p, size_t n) { FreeLarge(p, n * sizeof(T)); }
    template <class U>
    bool operator==(const LargeAllocator<U> &) const { return true; }
};

}  // namespace vexa
