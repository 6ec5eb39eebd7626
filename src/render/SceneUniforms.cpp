#include "render/SceneUniforms.h"

#include <glad/gl.h>

#include <string>

namespace {
// Spelled out once: the longer names would otherwise be built on the heap at every upload, three
// times a frame. The locations are still looked up by name at every call.
const std::string kDirectionalColor = "dirL.color";
const std::string kDirectionalDirection = "dirL.direction";
const std::string kPointColor = "pointL.color";
const std::string kPointPosition = "pointL.position";
const std::string kPointAttenuation = "pointL.attenuation";
const std::string kBrightness = "brightness";
const std::string kViewProjection = "viewProjMatrix";
const std::string kCameraWorld = "camera_world";
} // namespace

void uploadSceneUniforms(const Shader& shader, const DirectionalLight& directionalLight,
                         const PointLight& pointLight, Camera camera, float brightness) {
    glUseProgram(shader.id);
    shader.setVec3(kDirectionalColor, directionalLight.color);
    shader.setVec3(kDirectionalDirection, directionalLight.direction);
    shader.setVec3(kPointColor, pointLight.color);
    shader.setVec3(kPointPosition, pointLight.position);
    shader.setVec3(kPointAttenuation, pointLight.attenuation);
    shader.setFloat(kBrightness, brightness);
    const glm::mat4 view = camera.getViewMatrix();
    const glm::mat4 projection = sceneProjection();
    shader.setMat4(kViewProjection, projection * view);
    shader.setVec3(kCameraWorld, camera.position);
}
