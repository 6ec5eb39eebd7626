#include "render/Material.h"
#include "render/Camera.h"
#include "render/DirectionalLight.h"
#include "render/PointLight.h"
#include "render/SceneUniforms.h"
#include "render/Shader.h"
#include "support/GlTestEnvironment.h"

#include <glad/gl.h>

#include <gtest/gtest.h>
#include <memory>

namespace {

std::shared_ptr<Shader> plainProgram() {
    return std::make_shared<Shader>("assets\\shader\\materialVertexShader.vert",
                                    "assets\\shader\\materialFragmentShader.frag");
}

glm::vec3 readVec3(GLuint program, const char* name) {
    glm::vec3 value(-1.0f);
    glGetUniformfv(program, glGetUniformLocation(program, name), &value[0]);
    return value;
}

float readFloat(GLuint program, const char* name) {
    float value = -1.0f;
    glGetUniformfv(program, glGetUniformLocation(program, name), &value);
    return value;
}

void expectNear(const glm::vec3& actual, const glm::vec3& expected) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-6f) << "component " << i;
    }
}

TEST(MaterialUniforms, ScalesTheColourForEachTerm) {
    Material grass;
    grass.shader = plainProgram();
    grass.color = glm::vec3(0.1f, 0.7f, 0.1f);
    grass.ambientFactor = 0.3f;
    grass.diffuseFactor = 0.5f;
    grass.specularFactor = 0.4f;
    grass.shininess = 1.0f;
    const GLuint id = grass.shader->id;
    glUseProgram(id);
    grass.setUniforms();
    expectNear(readVec3(id, "mat.ambient"), glm::vec3(0.03f, 0.21f, 0.03f));
    expectNear(readVec3(id, "mat.diffuse"), glm::vec3(0.05f, 0.35f, 0.05f));
    expectNear(readVec3(id, "mat.specular"), glm::vec3(0.04f, 0.28f, 0.04f));
    EXPECT_FLOAT_EQ(readFloat(id, "mat.shininess"), 1.0f);

    Material matte = grass;
    matte.ambientFactor = 0.0f;
    matte.color = glm::vec3(0.9f, 0.8f, 0.7f);
    matte.setUniforms();
    expectNear(readVec3(id, "mat.ambient"), glm::vec3(0.0f));
    glUseProgram(0);
}

TEST(MaterialUniforms, NeverSwitchesProgram) {
    Material material;
    material.shader = plainProgram();
    material.color = glm::vec3(1.0f);
    material.diffuseFactor = 0.5f;
    const std::shared_ptr<Shader> other = plainProgram();
    glUseProgram(other->id);
    material.setUniforms();
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), other->id);
    // Both programs come from the same sources, so the location is shared and the value lands
    // in the program that is current.
    expectNear(readVec3(other->id, "mat.diffuse"), glm::vec3(0.5f));
    expectNear(readVec3(material.shader->id, "mat.diffuse"), glm::vec3(0.0f));
    glUseProgram(0);
}

TEST(SceneUniforms, UploadsLightsBrightnessAndCamera) {
    const std::shared_ptr<Shader> shader = plainProgram();
    glUseProgram(0);
    DirectionalLight sun;
    sun.color = glm::vec3(1.0f, 0.0f, 0.0f);
    const PointLight lamp;
    Camera camera;
    camera.follow(glm::vec3(1.0f, 0.0f, 50.0f), 0.0f);
    uploadSceneUniforms(*shader, sun, lamp, camera, 0.3f);

    const GLuint id = shader->id;
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), id);
    expectNear(readVec3(id, "dirL.color"), glm::vec3(1.0f, 0.0f, 0.0f));
    expectNear(readVec3(id, "dirL.direction"), glm::vec3(0.0f, -0.70710677f, -0.70710677f));
    expectNear(readVec3(id, "pointL.color"), glm::vec3(1.0f));
    expectNear(readVec3(id, "pointL.position"), glm::vec3(0.0f));
    expectNear(readVec3(id, "pointL.attenuation"), glm::vec3(1.0f, 0.2f, 0.1f));
    EXPECT_FLOAT_EQ(readFloat(id, "brightness"), 0.3f);

    const glm::vec3 eye = readVec3(id, "camera_world");
    EXPECT_NEAR(eye.x, 1.0f, 1e-5f);
    EXPECT_NEAR(eye.y, 9.1923885f, 1e-5f);
    EXPECT_NEAR(eye.z, 40.807611f, 1e-5f);

    glm::mat4 viewProj(0.0f);
    glGetUniformfv(id, glGetUniformLocation(id, "viewProjMatrix"), &viewProj[0][0]);
    const glm::vec4 target = viewProj * glm::vec4(1.0f, 0.0f, 50.0f, 1.0f);
    EXPECT_GT(target.w, 0.0f);
    EXPECT_NEAR(target.x / target.w, 0.0f, 1e-5f);
    EXPECT_NEAR(target.y / target.w, 0.0f, 1e-5f);
    // Up in the world is up on the screen: the matrix is projection x view, not the reverse.
    const glm::vec4 above = viewProj * glm::vec4(1.0f, 1.0f, 50.0f, 1.0f);
    EXPECT_GT(above.y / above.w, 0.05f);
    EXPECT_EQ(viewProj, sceneProjection() * camera.getViewMatrix());
    glUseProgram(0);
}

} // namespace
