#include "world/Stone.h"
#include "RandomTestHelpers.h"
#include "world/StoneList.h"

#include <gtest/gtest.h>

namespace {

// Any non-null address will do: creation only stores the pointer.
Model* const kStoneModel = reinterpret_cast<Model*>(0x1000);

Random beforeLaneKind(int kind) {
    return randomWhere([kind](Random& probe) { return probe.next() % 3 == kind; });
}

} // namespace

TEST(Stone, EachDrawKindPicksItsLaneAndShapeTenAhead) {
    struct Expected {
        int kind;
        float x;
        glm::vec3 scale;
    };
    const Expected cases[] = {
        {0, 2.0f, {1.0f, 2.5f, 1.0f}},
        {1, 0.0f, {1.0f, 2.5f, 1.0f}},
        {2, 1.0f, {1.0f, 0.8f, 0.4f}},
    };
    for (const Expected& expected : cases) {
        SCOPED_TRACE(expected.kind);
        Random random = beforeLaneKind(expected.kind);
        const Random start = random;
        const Stone stone = Stone::create(random, 33.5f, 4.0f, kStoneModel);
        EXPECT_EQ(stone.position, glm::vec3(expected.x, 0.0f, 43.5f));
        EXPECT_EQ(stone.scale, expected.scale);
        EXPECT_EQ(stone.model, kStoneModel);
        EXPECT_EQ(stone.getHitBox().position, stone.position);
        EXPECT_EQ(stone.getHitBox().size, stone.scale);
        EXPECT_TRUE(sameUpcomingDraws(random, advanced(start, 1)));
    }
}

TEST(Stone, ModelFillsItsHitBox) {
    Random random = beforeLaneKind(2);
    const Stone stone = Stone::create(random, 5.0f, 4.0f, nullptr);
    // The stone model is a unit block standing on y = 0, centred in x and z.
    const glm::vec4 topCorner = stone.modelMatrix() * glm::vec4(0.5f, 1.0f, 0.5f, 1.0f);
    const HitBox hit = stone.getHitBox();
    EXPECT_FLOAT_EQ(topCorner.x, hit.position.x + hit.size.x / 2.0f);
    EXPECT_FLOAT_EQ(topCorner.y, hit.position.y + hit.size.y);
    EXPECT_FLOAT_EQ(topCorner.z, hit.position.z + hit.size.z / 2.0f);
}

TEST(StoneList, KeepsCreationOrderAndNeverReallocatesInAPhase) {
    StoneList list;
    const Stone* storage = list.stones.data();
    Random random;
    // The longest forward phase: one immediate stone, then one every 0.5 s for 21 s.
    constexpr int kLongestPhaseStones = 1 + 42;
    for (int i = 0; i < kLongestPhaseStones; ++i) {
        list.addStone(Stone::create(random, static_cast<float>(i), 4.0f, nullptr));
    }
    ASSERT_EQ(list.stones.size(), static_cast<std::size_t>(kLongestPhaseStones));
    EXPECT_EQ(list.stones.data(), storage);
    for (int i = 0; i < kLongestPhaseStones; ++i) {
        EXPECT_EQ(list.stones[i].position.z, static_cast<float>(i) + Stone::kSpawnDistance);
    }

    list.clearStones();
    EXPECT_TRUE(list.stones.empty());
    list.addStone(Stone::create(random, 0.0f, 4.0f, nullptr));
    EXPECT_EQ(list.stones.data(), storage);
}
