#pragma once

#include <glm/glm.hpp>
#include <memory>

class Model;
class Shader;

// Normals follow the inverse transpose of the model matrix, so non-uniform scales (tall
// stones, stretched trees) still light correctly.
glm::mat3 normalMatrixOf(const glm::mat4& modelMatrix);

// Draws a static (not animated) model placed by `modelMatrix` with the plain-material program
// the caller has already made current. Uploads modelMatrix and normalMatrix first. A missing
// model or program draws nothing: a file that failed to load leaves a hole, not a crash.
void drawPlacedModel(Model* model, const glm::mat4& modelMatrix,
                     const std::shared_ptr<Shader>& shader);
