#include "FrameStats.h"
#include "BenchOptions.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

namespace {

std::vector<double> shuffledOneToN(int n) {
    std::vector<double> values(static_cast<std::size_t>(n));
    std::iota(values.begin(), values.end(), 1.0);
    std::mt19937 generator(7);
    std::shuffle(values.begin(), values.end(), generator);
    return values;
}

} // namespace

TEST(FrameStats, PercentileTakesTheNearestRankAndLeavesTheSamplesAlone) {
    const std::vector<double> samples = shuffledOneToN(100);
    const std::vector<double> before = samples;
    EXPECT_EQ(percentile(samples, 0.99), 99.0);
    EXPECT_EQ(percentile(samples, 0.5), 50.0);
    EXPECT_EQ(percentile(samples, 1.0), 100.0);
    EXPECT_EQ(percentile(samples, 0.0), 1.0);
    EXPECT_EQ(samples, before);

    // 0.99 of 7 samples is rank 7 (6.93 rounded up): the worst one.
    EXPECT_EQ(percentile({3.0, 1.0, 7.0, 5.0, 2.0, 6.0, 4.0}, 0.99), 7.0);
    EXPECT_EQ(percentile({4.0}, 0.99), 4.0);
    EXPECT_EQ(percentile({}, 0.5), 0.0);
}

TEST(FrameStats, TheNinetyNinthPercentileSeesSpikesOnlyWhenMoreThanOnePercentOfFramesSpike) {
    std::vector<double> frames(1000, 10.0);
    std::fill_n(frames.begin() + 500, 10, 100.0);
    FrameStats stats = summarize(frames);
    EXPECT_EQ(stats.p99, 10.0);
    EXPECT_EQ(stats.worst, 100.0);

    frames[900] = 100.0;
    stats = summarize(frames);
    EXPECT_EQ(stats.p99, 100.0);
    EXPECT_EQ(stats.median, 10.0);
    EXPECT_DOUBLE_EQ(stats.onePercentLow, 10.0);
    EXPECT_EQ(stats.frames, 1000);
}

TEST(FrameStats, NoFramesGiveZeroesRatherThanADivisionByZero) {
    const FrameStats stats = summarize({});
    EXPECT_EQ(stats.frames, 0);
    EXPECT_EQ(stats.median, 0.0);
    EXPECT_EQ(stats.onePercentLow, 0.0);
}

TEST(BenchOptions, ReadsFramesCsvAndSoakAndKeepsDefaultsOtherwise) {
    const std::optional<BenchOptions> defaults = parseBenchOptions({});
    ASSERT_TRUE(defaults.has_value());
    EXPECT_EQ(defaults->frames, BenchOptions::kDefaultFrames);
    EXPECT_TRUE(defaults->csvPath.empty());
    EXPECT_TRUE(defaults->recordPath.empty());
    EXPECT_EQ(defaults->soakMinutes, 0.0);
    EXPECT_FALSE(defaults->sound);

    const std::optional<BenchOptions> given = parseBenchOptions(
        {"--csv", "out.csv", "--frames", "2500", "--record", "run.ccr", "--sound", "--soak", "10"});
    ASSERT_TRUE(given.has_value());
    EXPECT_EQ(given->frames, 2500);
    EXPECT_EQ(given->csvPath, "out.csv");
    EXPECT_EQ(given->recordPath, "run.ccr");
    EXPECT_EQ(given->soakMinutes, 10.0);
    EXPECT_TRUE(given->sound);
}

TEST(BenchOptions, RefusesUnknownArgumentsMissingValuesAndBadNumbers) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(parseBenchOptions({"--fast"}).has_value());
    EXPECT_FALSE(parseBenchOptions({"--frames"}).has_value());
    EXPECT_FALSE(parseBenchOptions({"--record"}).has_value());
    EXPECT_FALSE(parseBenchOptions({"--frames", "20x"}).has_value());
    EXPECT_FALSE(parseBenchOptions({"--frames", ""}).has_value());
    EXPECT_FALSE(parseBenchOptions({"--frames", "2000.5"}).has_value());
    EXPECT_FALSE(parseBenchOptions({"--frames", "99"}).has_value());
    EXPECT_FALSE(parseBenchOptions({"--frames", "1e12"}).has_value());
    EXPECT_FALSE(parseBenchOptions({"--soak", "-1"}).has_value());
    EXPECT_FALSE(parseBenchOptions({"--soak", "nan"}).has_value());
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(messages.find("unknown argument: --fast"), std::string::npos);
    EXPECT_NE(messages.find("--frames needs a value"), std::string::npos);
}
