#include "BareSceneOutput.h"

#include "game/GameContext.h"
#include "model/Animation.h"
#include "model/Mesh.h"
#include "scene/GameResources.h"
#include "world/Ground.h"
#include "world/PlacedModel.h"

#include <glad/gl.h>

#include <GLFW/glfw3.h>
#include <SDL_timer.h>
#include <glm/gtc/type_ptr.hpp>

namespace {

const glm::vec3 kTrailColor{1.0f, 1.0f, 1.0f};
const glm::vec3 kShimmerColor{0.0f, 1.0f, 0.0f};

void setVec3(int location, const glm::vec3& value) {
    glUniform3fv(location, 1, glm::value_ptr(value));
}

void setMat4(int location, const glm::mat4& value) {
    glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(value));
}

void setMat3(int location, const glm::mat3& value) {
    glUniformMatrix3fv(location, 1, GL_FALSE, glm::value_ptr(value));
}

} // namespace

BareSceneOutput::BareSceneOutput(GLFWwindow* window, GameResources& resources)
    : window_(window), resources_(resources), ground_(lookUpLit(resources.textureShader->id)),
      props_(lookUpLit(resources.materialShader->id)),
      animated_(lookUpLit(resources.animationShader->id)) {
    const GLuint particle = resources.particleShader->id;
    particles_.view = glGetUniformLocation(particle, "M_v");
    particles_.projection = glGetUniformLocation(particle, "M_p");
    particles_.color = glGetUniformLocation(particle, "color");
    particles_.brightness = glGetUniformLocation(particle, "brightness");
}

BareSceneOutput::LitLocations BareSceneOutput::lookUpLit(unsigned int program) {
    LitLocations at;
    at.modelMatrix = glGetUniformLocation(program, "modelMatrix");
    at.normalMatrix = glGetUniformLocation(program, "normalMatrix");
    at.viewProjMatrix = glGetUniformLocation(program, "viewProjMatrix");
    at.cameraWorld = glGetUniformLocation(program, "camera_world");
    at.brightness = glGetUniformLocation(program, "brightness");
    at.dirColor = glGetUniformLocation(program, "dirL.color");
    at.dirDirection = glGetUniformLocation(program, "dirL.direction");
    at.pointColor = glGetUniformLocation(program, "pointL.color");
    at.pointPosition = glGetUniformLocation(program, "pointL.position");
    at.pointAttenuation = glGetUniformLocation(program, "pointL.attenuation");
    at.matAmbient = glGetUniformLocation(program, "mat.ambient");
    at.matDiffuse = glGetUniformLocation(program, "mat.diffuse");
    at.matSpecular = glGetUniformLocation(program, "mat.specular");
    at.matShininess = glGetUniformLocation(program, "mat.shininess");
    at.bones = glGetUniformLocation(program, "finalBoneMatrices[0]");
    return at;
}

void BareSceneOutput::uploadScene(unsigned int program, const LitLocations& at,
                                  const GameContext& context) {
    const DirectionalLight& sun = *context.links.directionalLight;
    const PointLight& point = resources_.pointLight;
    glUseProgram(program);
    setVec3(at.dirColor, sun.color);
    setVec3(at.dirDirection, sun.direction);
    setVec3(at.pointColor, point.color);
    setVec3(at.pointPosition, point.position);
    setVec3(at.pointAttenuation, point.attenuation);
    glUniform1f(at.brightness, context.settings.shaderBrightness);
    setMat4(at.viewProjMatrix, sceneProjection() * context.camera.getViewMatrix());
    setVec3(at.cameraWorld, context.camera.position);
}

void BareSceneOutput::drawModel(const Model& model, const LitLocations& at) {
    for (const Mesh& mesh : model.meshes) {
        setVec3(at.matAmbient, mesh.linearMaterial.ambient);
        setVec3(at.matDiffuse, mesh.linearMaterial.diffuse);
        setVec3(at.matSpecular, mesh.linearMaterial.specular);
        glUniform1f(at.matShininess, mesh.linearMaterial.shininess);
        glBindVertexArray(mesh.vao);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(mesh.indices.size()), GL_UNSIGNED_INT,
                       nullptr);
    }
}

void BareSceneOutput::drawPlaced(const Model* model, const glm::mat4& modelMatrix) {
    if (model == nullptr) {
        return;
    }
    setMat4(props_.modelMatrix, modelMatrix);
    setMat3(props_.normalMatrix, normalMatrixOf(modelMatrix));
    drawModel(*model, props_);
}

void BareSceneOutput::drawGround(const GameContext& context) {
    uploadScene(resources_.textureShader->id, ground_, context);
    glActiveTexture(GL_TEXTURE0);
    for (const Geometry* ground : {&resources_.grass, &resources_.path}) {
        const Material& material = *ground->material;
        glBindTexture(GL_TEXTURE_2D, ground == &resources_.grass ? resources_.grassTexture
                                                                 : resources_.pathTexture);
        setMat4(ground_.modelMatrix, ground->modelMatrix);
        setMat3(ground_.normalMatrix, normalMatrixOf(ground->modelMatrix));
        setVec3(ground_.matAmbient, material.color * material.ambientFactor);
        setVec3(ground_.matDiffuse, material.color * material.diffuseFactor);
        setVec3(ground_.matSpecular, material.color * material.specularFactor);
        glUniform1f(ground_.matShininess, material.shininess);
        glBindVertexArray(ground->vao);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(ground->indexCount), GL_UNSIGNED_INT,
                       nullptr);
    }
}

void BareSceneOutput::drawProps(const GameContext& context) {
    uploadScene(resources_.materialShader->id, props_, context);
    forEachTreeTransform(context.player.z, [this](const glm::mat4& modelMatrix) {
        drawPlaced(resources_.treeModel.get(), modelMatrix);
    });
    for (const Stone& stone : context.stones.stones) {
        drawPlaced(stone.model, stone.modelMatrix());
    }
    if (!context.clockSlot.collected) {
        drawPlaced(context.clockSlot.model, context.clockSlot.modelMatrix());
    }
}

void BareSceneOutput::drawPlayer(GameContext& context) {
    uploadScene(resources_.animationShader->id, animated_, context);
    Player& player = context.player;
    player.placeCamera(context.relic.relicMode);
    Model& model = *resources_.characterModel;
    model.animationIndex = player.animationIndex;
    model.boneTransform(ticksToSeconds(SDL_GetTicks()), bones_);
    if (!bones_.empty()) {
        glUniformMatrix4fv(animated_.bones, static_cast<GLsizei>(bones_.size()), GL_FALSE,
                           glm::value_ptr(bones_.front()));
    }
    setMat4(animated_.modelMatrix, player.modelMatrix());
    drawModel(model, animated_);
}

void BareSceneOutput::drawParticles(const GameContext& context) {
    glUseProgram(resources_.particleShader->id);
    setMat4(particles_.view, context.camera.getViewMatrix());
    setMat4(particles_.projection, sceneProjection());
    setVec3(particles_.color, kTrailColor);
    glUniform1f(particles_.brightness, context.settings.shaderBrightness);
    context.links.playerParticles->draw(resources_.particleShader);
    if (!context.clockSlot.collected) {
        setVec3(particles_.color, kShimmerColor);
        context.links.clockParticles->draw(resources_.particleShader);
    }
}

void BareSceneOutput::drawScene(GameContext& context) {
    drawGround(context);
    drawProps(context);
    drawPlayer(context);
    drawParticles(context);
}

void BareSceneOutput::drawRelicScene(GameContext& context) {
    drawPlayer(context);
    drawGround(context);
    drawProps(context);
    drawParticles(context);
}

void BareSceneOutput::swapBuffers() {
    glfwSwapBuffers(window_);
}

void BareSceneOutput::clearFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void BareSceneOutput::setClearColor(const glm::vec4& colour) {
    glClearColor(colour.r, colour.g, colour.b, colour.a);
}
