#include "world/Random.h"
#include "RandomTestHelpers.h"
#include "world/TimingParameters.h"

#include <gtest/gtest.h>

TEST(Random, ReplaysTheFixedSequenceFromAFreshStart) {
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    Random random;
    for (int value : expected) {
        EXPECT_EQ(random.next(), value);
    }
}

TEST(Random, StaysWithinRangeAndReachesBothEnds) {
    Random random;
    bool sawZero = false;
    bool sawMax = false;
    for (int i = 0; i < 1'000'000; ++i) {
        const int value = random.next();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, Random::kMax);
        sawZero = sawZero || value == 0;
        sawMax = sawMax || value == Random::kMax;
    }
    EXPECT_TRUE(sawZero);
    EXPECT_TRUE(sawMax);
}

TEST(Random, RangeEndsAreReachedExactly) {
    Random low = randomBefore(0);
    EXPECT_EQ(randomRange(low, 0.5f, 1.5f), 0.5f);
    Random high = randomBefore(Random::kMax);
    Random highAgain = high;
    EXPECT_EQ(randomRange(high, 0.5f, 1.5f), 1.5f);
    EXPECT_EQ(randomUnit(highAgain), 1.0f);
}

TEST(TimingParameters, GameStartTakesThreeDrawsInOrder) {
    Random random;
    TimingParameters timing;
    timing.drawForGameStart(random);
    EXPECT_NEAR(timing.phaseDuration, 11.0f + 9.0f * 41.0f / 32767.0f, 1e-5f);
    EXPECT_NEAR(timing.stoneSpawnInterval, 0.7f * 18467.0f / 32767.0f, 1e-6f);
    EXPECT_NEAR(timing.relicHintInterval, 5.0f + 4.0f * 6334.0f / 32767.0f, 1e-5f);
    EXPECT_TRUE(sameUpcomingDraws(random, advanced(Random{}, 3)));
}

TEST(TimingParameters, ExtremeSecondDrawGivesAnImmediateOrLatestFirstStone) {
    TimingParameters timing;
    Random secondIsZero = randomWhere([](Random& probe) {
        probe.next();
        return probe.next() == 0;
    });
    timing.drawForGameStart(secondIsZero);
    EXPECT_EQ(timing.stoneSpawnInterval, 0.0f);

    Random secondIsMax = randomWhere([](Random& probe) {
        probe.next();
        return probe.next() == Random::kMax;
    });
    timing.drawForGameStart(secondIsMax);
    EXPECT_FLOAT_EQ(timing.stoneSpawnInterval, 0.7f);
}
