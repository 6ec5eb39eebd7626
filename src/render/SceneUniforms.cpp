#include "render/SceneUniforms.h"

#include <glad/gl.h>

void uploadSceneUniforms(const Shader& shader, const DirectionalLight& directionalLight,
                         const PointLight& pointLight, Camera camera, float brightness) {
    glUseProgram(shader.id);
    shader.setVec3("dirL.color", directionalLight.color);
    shader.setVec3("dirL.direction", directionalLight.direction);
    shader.setVec3("pointL.color", pointLight.color);
    shader.setVec3("pointL.position", pointLight.position);
    shader.setVec3("pointL.attenuation", pointLight.attenuation);
    shader.setFloat("brightness", brightness);
    const glm::mat4 view = camera.getViewMatrix();
    const glm::mat4 projection = sceneProjection();
    shader.setMat4("viewProjMatrix", projection * view);
    shader.setVec3("camera_world", camera.position);
}
