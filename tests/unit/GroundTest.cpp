#include "world/Ground.h"
#include "render/Material.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {

// The z of every tree drawn for playerZ, in draw order.
std::vector<float> treeZs(float playerZ) {
    std::vector<float> zs;
    forEachTreeTransform(playerZ, [&](const glm::mat4& m) { zs.push_back(m[3][2]); });
    return zs;
}

void expectRows(float playerZ, float firstZ, float lastZ) {
    SCOPED_TRACE(playerZ);
    const std::vector<float> zs = treeZs(playerZ);
    const auto rows = static_cast<std::size_t>((lastZ - firstZ) / 5.0f) + 1;
    ASSERT_EQ(zs.size(), rows * kTreeSpots.size());
    EXPECT_EQ(zs.front(), firstZ);
    EXPECT_EQ(zs.back(), lastZ);
    for (std::size_t i = kTreeSpots.size(); i < zs.size(); ++i) {
        EXPECT_GE(zs[i], zs[i - 1]);
    }
}

} // namespace

TEST(Trees, WindowIsTestedFortyUnitsAheadOfWhereRowsStand) {
    expectRows(0.0f, -40.0f, 40.0f);
    expectRows(10.0f, -40.0f, 50.0f);
    expectRows(12.5f, -40.0f, 50.0f);
    // The window's ends are inclusive: d = 420 and d = 580 both count.
    expectRows(500.0f, 380.0f, 540.0f);
    expectRows(1075.0f, 955.0f, 955.0f);
    expectRows(-80.0f, -40.0f, -40.0f);
}

TEST(Trees, NoneBeyondEitherEndOfTheRows) {
    EXPECT_TRUE(treeZs(1075.5f).empty());
    EXPECT_TRUE(treeZs(5000.0f).empty());
    EXPECT_TRUE(treeZs(-80.5f).empty());
    EXPECT_TRUE(treeZs(-1000.0f).empty());
}

TEST(Trees, NeverMoreThan297DrawsAFrame) {
    std::size_t most = 0;
    for (float playerZ = -100.0f; playerZ <= 1100.0f; playerZ += 0.25f) {
        most = std::max(most, treeZs(playerZ).size());
    }
    EXPECT_EQ(most, 297u);
}

TEST(Trees, EveryRowHoldsTheNineTreesTranslatedThenScaled) {
    std::vector<glm::mat4> row;
    forEachTreeTransform(1075.0f, [&](const glm::mat4& m) { row.push_back(m); });
    ASSERT_EQ(row.size(), 9u);
    const float xs[] = {-17.0f, -13.0f, -9.0f, -6.0f, -2.0f, 4.0f, 8.0f, 12.0f, 16.0f};
    for (std::size_t i = 0; i < row.size(); ++i) {
        // The position is not scaled (translate x scale, not scale x translate).
        EXPECT_EQ(row[i][3][0], xs[i]);
        EXPECT_EQ(row[i][3][1], 0.0f);
    }
    // Tree 3 is stretched upwards, tree 9 flattened in depth.
    EXPECT_EQ(glm::vec3(row[2][0][0], row[2][1][1], row[2][2][2]), glm::vec3(0.2f, 0.3f, 0.2f));
    EXPECT_EQ(glm::vec3(row[8][0][0], row[8][1][1], row[8][2][2]), glm::vec3(0.3f, 0.3f, 0.2f));
}

TEST(Ground, MaterialsKeepTheirColourAndShareTheTexturedProgramAndLighting) {
    // Making a material only stores the program, so a stand-in pointer does.
    const std::shared_ptr<Shader> program(std::shared_ptr<Shader>(),
                                          reinterpret_cast<Shader*>(0x1000));
    const std::pair<glm::vec3, glm::vec3> colors[] = {{kGrassColor, {0.1f, 0.7f, 0.1f}},
                                                      {kPathColor, {0.8f, 0.8f, 0.0f}}};
    for (const auto& [given, expected] : colors) {
        const std::shared_ptr<Material> material = createGroundMaterial(program, given);
        EXPECT_EQ(material->color, expected);
        EXPECT_EQ(material->shader, program);
        EXPECT_EQ(material->ambientFactor, 0.3f);
        EXPECT_EQ(material->diffuseFactor, 0.5f);
        EXPECT_EQ(material->specularFactor, 0.4f);
        EXPECT_EQ(material->shininess, 1.0f);
    }
}
