#include "game/BitCast.h"

#include <cstdint>
#include <gtest/gtest.h>

// Catches a bitCast that converts the value rather than copying its bits (1.0f read as 1), one
// that loses the sign of zero or quiets a NaN's payload, and one that assembles the bytes in the
// wrong order: recordings store floats by these bits, and the relic walk's cosine reads them.
TEST(BitCast, ReadsFloatsAndDoublesAsTheirBitPatternsBothWays) {
    const struct {
        float value;
        std::uint32_t bits;
    } floats[] = {{1.0f, 0x3f800000u},  {-0.0f, 0x80000000u},    {0.1f, 0x3dcccccdu},
                  {-2.5f, 0xc0200000u}, {1.0e-45f, 0x00000001u}, {1.0e9f, 0x4e6e6b28u}};
    for (const auto& row : floats) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(bitCast<std::uint32_t>(row.value), row.bits);
        EXPECT_EQ(bitCast<std::uint32_t>(bitCast<float>(row.bits)), row.bits);
    }
    // A signalling NaN's payload, which a float conversion would quiet, survives both ways.
    EXPECT_EQ(bitCast<std::uint32_t>(bitCast<float>(0x7fa00001u)), 0x7fa00001u);
    const struct {
        double value;
        std::uint64_t bits;
    } doubles[] = {{1.0, 0x3ff0000000000000u},
                   {-0.0, 0x8000000000000000u},
                   {0.1, 0x3fb999999999999au},
                   {90.0, 0x4056800000000000u}};
    for (const auto& row : doubles) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(bitCast<std::uint64_t>(row.value), row.bits);
        EXPECT_EQ(bitCast<std::uint64_t>(bitCast<double>(row.bits)), row.bits);
    }
    EXPECT_EQ(bitCast<std::int32_t>(-1.0f), static_cast<std::int32_t>(0xbf800000u));
}
