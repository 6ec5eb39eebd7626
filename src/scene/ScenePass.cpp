#include "scene/ScenePass.h"

#include "game/GameContext.h"
#include "render/SceneUniforms.h"
#include "scene/GameResources.h"
#include "world/Ground.h"

#include <glad/gl.h>

namespace {

const glm::vec3 kTrailColor{1.0f, 1.0f, 1.0f};
const glm::vec3 kShimmerColor{0.0f, 1.0f, 0.0f};

void uploadScene(const Shader& shader, const GameContext& context, const GameResources& resources) {
    uploadSceneUniforms(shader, resources.directionalLight, resources.pointLight, context.camera,
                        context.settings.shaderBrightness);
}

void drawGround(GameContext& context, GameResources& resources) {
    uploadScene(*resources.textureShader, context, resources);
    glUseProgram(resources.textureShader->id);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, resources.grassTexture);
    resources.grass.draw();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, resources.pathTexture);
    resources.path.draw();
}

void drawProps(GameContext& context, GameResources& resources) {
    uploadScene(*resources.materialShader, context, resources);
    glUseProgram(resources.materialShader->id);
    drawTrees(*resources.treeModel, resources.materialShader, context.player.z);
    for (const Stone& stone : context.stones.stones) {
        stone.draw(resources.materialShader);
    }
    if (!context.clockSlot.collected) {
        context.clockSlot.draw(resources.materialShader);
    }
}

void drawPlayer(GameContext& context, GameResources& resources) {
    uploadScene(*resources.animationShader, context, resources);
    context.player.draw(resources.animationShader, context.relic.relicMode);
}

void drawParticles(GameContext& context, GameResources& resources) {
    const Shader& shader = *resources.particleShader;
    glUseProgram(shader.id);
    shader.setMat4("M_v", context.camera.getViewMatrix());
    shader.setMat4("M_p", sceneProjection());
    shader.setVec3("color", kTrailColor);
    shader.setFloat("brightness", context.settings.shaderBrightness);
    resources.playerParticles->draw(resources.particleShader);
    if (!context.clockSlot.collected) {
        shader.setVec3("color", kShimmerColor);
        resources.clockParticles->draw(resources.particleShader);
    }
}

} // namespace

void runScenePass(GameContext& context, GameResources& resources) {
    drawGround(context, resources);
    drawProps(context, resources);
    drawPlayer(context, resources);
    drawParticles(context, resources);
}

void runRelicScenePass(GameContext& context, GameResources& resources) {
    drawPlayer(context, resources);
    drawGround(context, resources);
    drawProps(context, resources);
    drawParticles(context, resources);
}
