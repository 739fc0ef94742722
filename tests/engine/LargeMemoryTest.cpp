// Large blocks (a trace's text, the run's lines, a component's messages) under the address
// sanitizer: an overrun of one is reported like that of any other heap block, where a
// block mapped from the system would hide it in the rest of its page.
#include "LargeMemory.h"

#include <gtest/gtest.h>

#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define VEXA_TEST_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VEXA_TEST_ADDRESS_SANITIZER 1
#endif
#endif

namespace vexa {
namespace {

// Used only where the address sanitizer is built in.
[[maybe_unused]] void WriteJustPastTheEnd(size_t bytes) {
    LargeBlock block = MakeLargeBlock(bytes);
    volatile char *p = block.get();
    p[bytes] = 'x';
}

[[maybe_unused]] void ReadJustPastTheEnd(size_t count) {
    std::vector<uint64_t, LargeAllocator<uint64_t>> words(count, 1);
    volatile const uint64_t *p = words.data();
    (void)p[count];
}

TEST(LargeMemory, AnOverrunOfALargeBlockIsReportedUnderTheAddressSanitizer) {
#ifndef VEXA_TEST_ADDRESS_SANITIZER
    GTEST_SKIP() << "only a build with the address sanitizer sees overruns";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (size_t bytes : {kLargeAllocation, (size_t(3) << 20) + 17})
        EXPECT_DEATH(WriteJustPastTheEnd(bytes), "heap-buffer-overflow") << bytes << " bytes";
    EXPECT_DEATH(ReadJustPastTheEnd(kLargeAllocation / sizeof(uint64_t)), "heap-buffer-overflow");
#endif
}

TEST(LargeMemory, BlocksOfEverySizeKeepWhatIsWrittenToThem) {
    for (size_t bytes : {size_t(1), kLargeAllocation - 1, kLargeAllocation, (size_t(5) << 20) + 3}) {
        LargeBlock block = MakeLargeBlock(bytes);
        for (size_t i = 0; i < bytes; i += 4093) block[i] = static_cast<char>(i % 251);
        block[bytes - 1] = 'z';
        for (size_t i = 0; i + 1 < bytes; i += 4093) ASSERT_EQ(block[i], static_cast<char>(i % 251)) << bytes;
        EXPECT_EQ(block[bytes - 1], 'z');
    }
}

}  // namespace
}  // namespace vexa
