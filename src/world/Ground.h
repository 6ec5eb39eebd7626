#pragma once

#include "render/Geometry.h"

#include <array>
#include <glm/glm.hpp>
#include <memory>

class Material;
class Model;
class Shader;

// The ground is two grids of 2000 rows laid along z from -1000: a wide grass field whose
// texture repeats once per cell, and the narrow path strip just above it whose texture spans
// its width once.
inline constexpr float kGroundStartZ = -1000.0f;
inline constexpr unsigned kGrassColumns = 80;
inline constexpr float kGrassSpacing = 1.0f;
inline constexpr float kGrassHeight = 0.0f;
inline constexpr float kGrassStartX = -40.0f;
inline constexpr unsigned kPathColumns = 4;
inline constexpr float kPathSpacing = 1.0f;
// Lifted a little so the path never fights the grass in the depth buffer.
inline constexpr float kPathHeight = 0.01f;
inline constexpr float kPathStartX = -0.5f;

// The grass field's and the path's base colours; both share the ground's lighting factors.
inline constexpr glm::vec3 kGrassColor{0.1f, 0.7f, 0.1f};
inline constexpr glm::vec3 kPathColor{0.8f, 0.8f, 0.0f};

// A ground material of the given colour drawn with the textured program.
std::shared_ptr<Material> createGroundMaterial(std::shared_ptr<Shader> texturedProgram,
                                               const glm::vec3& color);

Geometry createGrassGeometry(std::shared_ptr<Material> material);
Geometry createPathGeometry(std::shared_ptr<Material> material);

// Trees stand in rows every 5 units along z, the same nine in every row.
struct TreeSpot {
    float x;
    glm::vec3 scale;
};

inline constexpr int kTreeRowCount = 200;
inline constexpr int kTreeRowSpacing = 5;
// Rows stand 40 units behind the z their visibility is tested at, so the drawn band reaches
// 120 units behind the player and 40 ahead of it.
inline constexpr int kTreeRowBackShift = 40;
inline constexpr float kTreeWindowHalfWidth = 80.0f;
inline constexpr std::array<TreeSpot, 9> kTreeSpots{{
    {-17.0f, {0.4f, 0.4f, 0.4f}},
    {-13.0f, {0.2f, 0.2f, 0.2f}},
    {-9.0f, {0.2f, 0.3f, 0.2f}},
    {-6.0f, {0.3f, 0.3f, 0.3f}},
    {-2.0f, {0.3f, 0.3f, 0.3f}},
    {4.0f, {0.3f, 0.3f, 0.3f}},
    {8.0f, {0.5f, 0.5f, 0.5f}},
    {12.0f, {0.2f, 0.2f, 0.2f}},
    {16.0f, {0.3f, 0.3f, 0.2f}},
}};

bool treeRowVisible(int row, float playerZ);
glm::mat4 treeModelMatrix(const TreeSpot& spot, float rowZ);

// Calls `visit` with the model matrix of every tree near playerZ, rows in increasing order and
// trees in their fixed order within a row. Keeps the placement free of GL.
template <typename Visit> void forEachTreeTransform(float playerZ, Visit&& visit) {
    for (int row = 0; row < kTreeRowCount; ++row) {
        if (!treeRowVisible(row, playerZ)) {
            continue;
        }
        const float rowZ = static_cast<float>(kTreeRowSpacing * row - kTreeRowBackShift);
        for (const TreeSpot& spot : kTreeSpots) {
            visit(treeModelMatrix(spot, rowZ));
        }
    }
}

// Draws the trees around the player with the plain-material program, already current and
// holding this frame's scene uniforms.
void drawTrees(Model& tree, const std::shared_ptr<Shader>& shader, float playerZ);
