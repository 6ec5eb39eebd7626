#pragma once

#include "world/Stone.h"

#include <vector>

// The stones placed since the last clear, in creation order. Stones are only ever appended and
// cleared all at once.
struct StoneList {
    // A forward phase lasts at most about 20 s (a little more while a jump lands) and spawns a
    // stone at most every 0.5 s after the first immediate one: about 43 stones. Reserving a
    // comfortable margin keeps steady play free of allocations.
    static constexpr std::size_t kReservedStones = 64;

    std::vector<Stone> stones;

    StoneList();

    void addStone(const Stone& stone);
    // Keeps the capacity, so the next phase reuses the same storage.
    void clearStones();
};
