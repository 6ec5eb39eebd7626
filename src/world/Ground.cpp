#include "world/Ground.h"

#include "render/Material.h"
#include "world/PlacedModel.h"

#include <glm/gtc/matrix_transform.hpp>
#include <utility>

std::shared_ptr<Material> createGroundMaterial(std::shared_ptr<Shader> texturedProgram,
                                               const glm::vec3& color) {
    constexpr float kAmbient = 0.3f;
    constexpr float kDiffuse = 0.5f;
    constexpr float kSpecular = 0.4f;
    constexpr float kShininess = 1.0f;
    auto material = std::make_shared<Material>();
    material->shader = std::move(texturedProgram);
    material->color = color;
    material->ambientFactor = kAmbient;
    material->diffuseFactor = kDiffuse;
    material->specularFactor = kSpecular;
    material->shininess = kShininess;
    return material;
}

Geometry createGrassGeometry(std::shared_ptr<Material> material) {
    const glm::mat4 placement =
        glm::translate(glm::mat4(1.0f), glm::vec3(kGrassStartX, 0.0f, kGroundStartZ));
    return Geometry(placement,
                    createGridGeometry(kGrassColumns, kGrassSpacing, kGrassHeight, false),
                    std::move(material));
}

Geometry createPathGeometry(std::shared_ptr<Material> material) {
    const glm::mat4 placement =
        glm::translate(glm::mat4(1.0f), glm::vec3(kPathStartX, 0.0f, kGroundStartZ));
    return Geometry(placement, createGridGeometry(kPathColumns, kPathSpacing, kPathHeight, true),
                    std::move(material));
}

bool treeRowVisible(int row, float playerZ) {
    const float d = static_cast<float>(kTreeRowSpacing * row);
    return playerZ - kTreeWindowHalfWidth <= d && d <= playerZ + kTreeWindowHalfWidth;
}

glm::mat4 treeModelMatrix(const TreeSpot& spot, float rowZ) {
    return glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(spot.x, 0.0f, rowZ)), spot.scale);
}

void drawTrees(Model& tree, const std::shared_ptr<Shader>& shader, float playerZ) {
    forEachTreeTransform(playerZ, [&](const glm::mat4& modelMatrix) {
        drawPlacedModel(&tree, modelMatrix, shader);
    });
}
