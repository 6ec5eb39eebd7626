#include "world/Player.h"

#include "model/Model.h"
#include "render/Shader.h"

#include <glad/gl.h>

void Player::draw(const std::shared_ptr<Shader>& shader, bool relicMode) {
    placeCamera(relicMode);
    if (model == nullptr || shader == nullptr) {
        return;
    }
    model->animationIndex = animationIndex;
    glUseProgram(shader->id);
    shader->setMat4("modelMatrix", modelMatrix());
    model->draw(shader, true);
}
