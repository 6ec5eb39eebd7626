#include "world/PlacedModel.h"

#include "model/Model.h"
#include "render/Shader.h"

glm::mat3 normalMatrixOf(const glm::mat4& modelMatrix) {
    return glm::mat3(glm::transpose(glm::inverse(modelMatrix)));
}

void drawPlacedModel(Model* model, const glm::mat4& modelMatrix,
                     const std::shared_ptr<Shader>& shader) {
    if (model == nullptr || shader == nullptr) {
        return;
    }
    shader->setMat4("modelMatrix", modelMatrix);
    shader->setMat3("normalMatrix", normalMatrixOf(modelMatrix));
    model->draw(shader, false);
}
