// The calling party numbers of a large trace: each found again with the first message that
// carried it, listed in the order they came, through every growth of the table.
#include "CallingNumberIndex.h"

#include <gtest/gtest.h>

#include <string>

using vexa::isdn::CallingNumberIndex;

namespace {

std::string NumberOf(int i) { return "0301" + std::to_string(1000000 + i * 7919 % 1000000); }

TEST(CallingNumbers, AHundredThousandNumbersAreListedInOrderAndFoundWithTheirFirstMessage) {
    CallingNumberIndex index;
    constexpr int kNumbers = 100000;
    for (int i = 0; i < kNumbers; ++i) {
        EXPECT_TRUE(index.Add(NumberOf(i), 2 * i + 1));
        // Every number comes again later in the call: the first message stays.
        if (i % 3 == 0) {
            EXPECT_FALSE(index.Add(NumberOf(i / 2), 2 * i + 2));
        }
    }
    ASSERT_EQ(index.Count(), static_cast<size_t>(kNumbers));
    for (int i = 0; i < kNumbers; ++i) {
        ASSERT_EQ(index.Number(static_cast<size_t>(i)), NumberOf(i));
        ASSERT_EQ(index.FirstWith(NumberOf(i)), 2 * i + 1);
    }
    EXPECT_EQ(index.FirstWith("0301"), -1);
    EXPECT_EQ(index.FirstWith(NumberOf(kNumbers)), -1);
}

TEST(CallingNumbers, NumbersThatDifferInOneDigitOrAreEmptyAreTheirOwn) {
    CallingNumberIndex index;
    EXPECT_EQ(index.FirstWith("555"), -1);  // nothing kept yet
    EXPECT_TRUE(index.Add("0301234567890", 1));
    EXPECT_TRUE(index.Add("0301234567891", 2));
    EXPECT_TRUE(index.Add("0301234067890", 3));
    EXPECT_TRUE(index.Add("", 4));  // a calling party number without digits
    EXPECT_EQ(index.FirstWith("0301234567890"), 1);
    EXPECT_EQ(index.FirstWith("0301234567891"), 2);
    EXPECT_EQ(index.FirstWith("0301234067890"), 3);
    EXPECT_EQ(index.FirstWith(""), 4);
    index.Clear();
    EXPECT_EQ(index.Count(), 0u);
    EXPECT_EQ(index.FirstWith("0301234567890"), -1);
    EXPECT_TRUE(index.Add("0301234567890", 9));
    EXPECT_EQ(index.FirstWith("0301234567890"), 9);
}

}  // namespace
