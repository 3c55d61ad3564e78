#include <gtest/gtest.h>

#include "imageops/Random.h"

using nt::UniformRandom;

TEST(UniformRandom, EveryRunStartsFromTheSameState) {
    UniformRandom a, b;
    for (int i = 0; i < 100; ++i) ASSERT_EQ(a.next(), b.next());
}

TEST(UniformRandom, DrawsAreMultiplesOfTwoToTheMinus24BelowOne) {
    UniformRandom random;
    double sum = 0;
    const int n = 200000;
    for (int i = 0; i < n; ++i) {
        UniformRandom copy = random;
        const float r = random.next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        ASSERT_EQ(r, static_cast<float>(copy.nextBits()) / UniformRandom::kOne);
        sum += r;
    }
    EXPECT_NEAR(sum / n, 0.5, 0.005);
}

TEST(UniformRandom, JumpsEqualSteps) {
    for (std::uint64_t n : {0ull, 1ull, 2ull, 3ull, 1000ull, 65537ull}) {
        UniformRandom stepped, jumped;
        for (std::uint64_t i = 0; i < n; ++i) stepped.nextBits();
        jumped.discard(n);
        ASSERT_EQ(jumped.state(), stepped.state()) << n;
        ASSERT_EQ(jumped.next(), stepped.next());
    }
}
