#include "world/PortableTrig.h"

#include <bit>
#include <cmath>
#include <gtest/gtest.h>

// Catches a negative argument given its positive one's sine unmirrored, a lookup that takes the
// neighbours of an exception (or anything else) for the exception itself, and an own sine or
// cosine that parts from this machine's GNU libc on either side of a range reduction's bounds
// (pi/4 and 120) or with the sign in the large reduction's quadrant. tools/libm_probe.cpp
// compares every float the relic walk can reach.
TEST(PortableTrig, MirrorsNegativeArgumentsAndAgreesWithTheLibraryOfTheGamesFirstRecordings) {
    // Two of the arguments where the C library's two codes disagree, and ordinary ones.
    const float exceptions[] = {std::bit_cast<float>(0x418a3adbu),
                                std::bit_cast<float>(0x42e87a55u)};
    for (const float x : exceptions) {
        SCOPED_TRACE(x);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(portableCos(-x)),
                  std::bit_cast<std::uint32_t>(portableCos(x)));
        EXPECT_EQ(std::bit_cast<std::uint32_t>(portableSin(-x)),
                  std::bit_cast<std::uint32_t>(portableSin(x)) ^ 0x80000000u);
        for (const float neighbour : {std::nextafter(x, 0.0f), std::nextafter(x, 1000.0f)}) {
            EXPECT_EQ(portableCos(neighbour), std::cos(neighbour));
            EXPECT_EQ(portableSin(neighbour), std::sin(neighbour));
        }
    }
    for (const float x : {0.0f, -0.0f, 1e-5f, 0.5f, 0.7853982f, -3.1415927f, 17.0f, 119.99999f,
                          120.0f, 157.0f, -157.0f, -300.5f, 1e9f, -1e9f,
                          // Past 120 one multiply-subtract would lose a bit here.
                          std::bit_cast<float>(0x42f1e713u)}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(portableCos(x)),
                  std::bit_cast<std::uint32_t>(std::cos(x)));
        EXPECT_EQ(std::bit_cast<std::uint32_t>(portableSin(x)),
                  std::bit_cast<std::uint32_t>(std::sin(x)));
    }
}
