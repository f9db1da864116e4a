#include "common/random.h"

#include <gtest/gtest.h>

#include <array>

namespace pictavo {
namespace {

TEST(Random, StaysInTheHalfOpenUnitInterval) {
    Random random;
    for (int i = 0; i < 200000; ++i) {
        float r = random.next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
    }
}

TEST(Random, UnseededGeneratorsMakeTheSameChoices) {
    Random a, b;
    for (int i = 0; i < 100; ++i) EXPECT_EQ(a.next(), b.next());
}

TEST(Random, SeedsGiveDifferentSequences) {
    Random a, b;
    a.seed(1000);
    b.seed(1001);
    int same = 0;
    for (int i = 0; i < 100; ++i) same += a.next() == b.next();
    EXPECT_LT(same, 5);
}

TEST(Random, PicksAreRoughlyUniform) {
    Random random;
    std::array<int, 43> counts{};
    const int draws = 43 * 2000;
    for (int i = 0; i < draws; ++i) ++counts[static_cast<size_t>(random.pick(43))];
    for (int count : counts) {
        EXPECT_GT(count, 1700);
        EXPECT_LT(count, 2300);
    }
}

}  // namespace
}  // namespace pictavo
