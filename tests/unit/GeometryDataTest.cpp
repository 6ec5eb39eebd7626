#include "render/Geometry.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {

bool isAxisDirection(const glm::vec3& n) {
    const std::vector<glm::vec3> axes{{1, 0, 0},  {-1, 0, 0}, {0, 1, 0},
                                      {0, -1, 0}, {0, 0, 1},  {0, 0, -1}};
    return std::find(axes.begin(), axes.end(), n) != axes.end();
}

void expectSameSizes(const GeometryData& data) {
    EXPECT_EQ(data.normals.size(), data.positions.size());
    EXPECT_EQ(data.uvs.size(), data.positions.size());
}

} // namespace

TEST(BoxGeometry, CornersNormalsAndIndexPattern) {
    const GeometryData box = createBoxGeometry(1.0f, 2.0f, 3.0f);
    ASSERT_EQ(box.positions.size(), 24u);
    ASSERT_EQ(box.indices.size(), 36u);
    expectSameSizes(box);

    std::set<float> xs, ys, zs;
    for (const glm::vec3& p : box.positions) {
        xs.insert(p.x);
        ys.insert(p.y);
        zs.insert(p.z);
    }
    EXPECT_EQ(xs, (std::set<float>{-0.5f, 0.5f}));
    EXPECT_EQ(ys, (std::set<float>{-1.0f, 1.0f}));
    EXPECT_EQ(zs, (std::set<float>{-1.5f, 1.5f}));

    for (unsigned f = 0; f < 6; ++f) {
        const unsigned k = 4 * f;
        const std::vector<unsigned> face(box.indices.begin() + 6 * f,
                                         box.indices.begin() + 6 * f + 6);
        EXPECT_EQ(face, (std::vector<unsigned>{k, k + 1, k + 2, k + 2, k + 3, k})) << "face " << f;
    }
}

TEST(BoxGeometry, EveryFaceIsFlatFacesOutwardAndWindsCounterClockwise) {
    const GeometryData box = createBoxGeometry(1.0f, 2.0f, 3.0f);
    std::set<std::vector<float>> faceNormals;
    for (std::size_t t = 0; t < box.indices.size(); t += 3) {
        const glm::vec3 a = box.positions[box.indices[t]];
        const glm::vec3 b = box.positions[box.indices[t + 1]];
        const glm::vec3 c = box.positions[box.indices[t + 2]];
        const glm::vec3 n = box.normals[box.indices[t]];
        ASSERT_TRUE(isAxisDirection(n));
        EXPECT_EQ(box.normals[box.indices[t + 1]], n);
        EXPECT_EQ(box.normals[box.indices[t + 2]], n);
        // Counter-clockwise seen from outside: the winding normal agrees with the stored
        // one, and the face lies on the side of the box its normal points to.
        const glm::vec3 winding = glm::cross(b - a, c - a);
        EXPECT_GT(glm::dot(winding, n), 0.0f) << "triangle " << t / 3;
        EXPECT_GT(glm::dot(a, n), 0.0f) << "triangle " << t / 3;
        faceNormals.insert({n.x, n.y, n.z});
    }
    EXPECT_EQ(faceNormals.size(), 6u);
}

TEST(GridGeometry, NormalizedUSpansTheWidthOnceAndVFollowsRows) {
    const GeometryData grid = createGridGeometry(4, 1.0f, 0.01f, true);
    ASSERT_EQ(grid.positions.size(), 8000u);
    ASSERT_EQ(grid.indices.size(), 35982u);
    expectSameSizes(grid);

    for (unsigned row : {0u, 1u, 1234u, 1999u}) {
        for (unsigned j = 0; j < 4; ++j) {
            const std::size_t v = row * 4 + j;
            EXPECT_NEAR(grid.uvs[v].x, static_cast<float>(j) / 3.0f, 1e-6f);
            EXPECT_FLOAT_EQ(grid.uvs[v].y, static_cast<float>(row));
            EXPECT_EQ(grid.positions[v],
                      glm::vec3(static_cast<float>(j), 0.01f, static_cast<float>(row)));
            EXPECT_EQ(grid.normals[v], glm::vec3(0.0f, 1.0f, 0.0f));
        }
    }
    const std::vector<unsigned> first(grid.indices.begin(), grid.indices.begin() + 6);
    const std::vector<unsigned> last(grid.indices.end() - 6, grid.indices.end());
    EXPECT_EQ(first, (std::vector<unsigned>{0, 4, 1, 1, 4, 5}));
    EXPECT_EQ(last, (std::vector<unsigned>{7994, 7998, 7995, 7995, 7998, 7999}));
}

TEST(GridGeometry, WideGridRepeatsTextureEveryCellAndFacesUp) {
    const GeometryData grid = createGridGeometry(80, 1.0f, 0.0f, false);
    ASSERT_EQ(grid.positions.size(), 160000u);
    ASSERT_EQ(grid.indices.size(), 947526u);
    expectSameSizes(grid);
    EXPECT_FLOAT_EQ(grid.uvs[79].x, 79.0f);
    EXPECT_FLOAT_EQ(grid.uvs[1999 * 80 + 37].x, 37.0f);
    EXPECT_FLOAT_EQ(grid.uvs[1999 * 80 + 37].y, 1999.0f);
    EXPECT_LT(*std::max_element(grid.indices.begin(), grid.indices.end()), 160000u);

    // Both triangles of every cell are counter-clockwise seen from above.
    for (std::size_t t = 0; t < grid.indices.size(); t += 3 * 997) {
        const glm::vec3 a = grid.positions[grid.indices[t]];
        const glm::vec3 b = grid.positions[grid.indices[t + 1]];
        const glm::vec3 c = grid.positions[grid.indices[t + 2]];
        EXPECT_GT(glm::cross(b - a, c - a).y, 0.0f) << "triangle " << t / 3;
    }
}

TEST(GridGeometry, SpacingScalesPositionsAndCoordinates) {
    const GeometryData grid = createGridGeometry(3, 0.5f, 2.0f, true);
    EXPECT_EQ(grid.positions[5], glm::vec3(1.0f, 2.0f, 0.5f));
    EXPECT_FLOAT_EQ(grid.uvs[5].x, 0.5f);
    EXPECT_FLOAT_EQ(grid.uvs[5].y, 0.5f);
}

TEST(GridGeometry, FewerThanTwoColumnsGiveNothing) {
    for (unsigned columns : {0u, 1u}) {
        for (bool normalizedU : {false, true}) {
            const GeometryData grid = createGridGeometry(columns, 1.0f, 0.0f, normalizedU);
            EXPECT_TRUE(grid.positions.empty());
            EXPECT_TRUE(grid.indices.empty());
            EXPECT_TRUE(grid.normals.empty());
            EXPECT_TRUE(grid.uvs.empty());
        }
    }
    EXPECT_EQ(createGridGeometry(2, 1.0f, 0.0f, true).indices.size(), 1999u * 6u);
}
