// The particle program draws each instance as a round, camera-facing dot; this draws one the
// way the particle pass does (a unit square strip, one instance) from an oblique camera.
#include "render/Camera.h"
#include "render/Shader.h"
#include "support/GlTestEnvironment.h"

#include <glad/gl.h>

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {

constexpr float kCorners[] = {-0.5f, -0.5f, 0.0f, 0.5f, -0.5f, 0.0f,
                              -0.5f, 0.5f,  0.0f, 0.5f, 0.5f,  0.0f};

glm::ivec2 toScreen(const glm::mat4& viewProj, const glm::vec3& world) {
    const glm::vec4 clip = viewProj * glm::vec4(world, 1.0f);
    const glm::vec2 ndc = glm::vec2(clip) / clip.w;
    return {static_cast<int>((ndc.x * 0.5f + 0.5f) * 800.0f),
            static_cast<int>((ndc.y * 0.5f + 0.5f) * 600.0f)};
}

TEST(ParticleShader, DrawsARoundCameraFacingDotTintedByColour) {
    const Shader shader("assets\\shader\\particelShaderVertex.vert",
                        "assets\\shader\\particelShaderFragment.frag");
    const glm::vec3 centre(0.0f, 0.0f, 0.0f);
    const float size = 1.0f;
    const float instance[4] = {centre.x, centre.y, centre.z, size};

    GLuint vao = 0;
    GLuint buffers[2] = {0, 0};
    glGenVertexArrays(1, &vao);
    glGenBuffers(2, buffers);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
    glBufferData(GL_ARRAY_BUFFER, sizeof kCorners, kCorners, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, buffers[1]);
    glBufferData(GL_ARRAY_BUFFER, sizeof instance, instance, GL_STREAM_DRAW);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, 0, nullptr);
    glVertexAttribDivisor(1, 1);

    // An oblique eye: a square lying in a world plane would show as a slanted shape.
    Camera camera;
    camera.distance = 4.0f;
    camera.follow(centre, 35.0f);
    const glm::mat4 view = camera.getViewMatrix();
    glUseProgram(shader.id);
    shader.setMat4("M_v", view);
    shader.setMat4("M_p", sceneProjection());
    shader.setVec3("color", glm::vec3(0.0f, 1.0f, 0.0f));
    shader.setFloat("brightness", 0.3f);

    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDrawArraysInstanced(GL_TRIANGLE_STRIP, 0, 4, 1);
    glDisable(GL_BLEND);
    glFinish();
    EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));

    const glm::mat4 viewProj = sceneProjection() * view;
    const glm::vec3 right(view[0][0], view[1][0], view[2][0]);
    const glm::vec3 up(view[0][1], view[1][1], view[2][1]);
    const glm::ivec2 middle = toScreen(viewProj, centre);
    const Rgb core = readPixel(middle.x, middle.y);
    EXPECT_GT(core.g, 120) << "the dot's core is lit";
    EXPECT_GT(core.g, core.r) << "tinted by the colour";

    // Facing the camera: points halfway to the rim are equally faint left, right and up.
    const float rim = 0.25f * size;
    const Rgb left = readPixel(toScreen(viewProj, centre - right * rim).x, middle.y);
    const Rgb rightRim = readPixel(toScreen(viewProj, centre + right * rim).x, middle.y);
    const Rgb top = readPixel(middle.x, toScreen(viewProj, centre + up * rim).y);
    EXPECT_LT(left.g, core.g - 20) << "the alpha falls off towards the rim";
    EXPECT_GT(left.g, 20) << "softly, not cut";
    EXPECT_NEAR(left.g, rightRim.g, 12);
    EXPECT_NEAR(left.g, top.g, 12);

    // Round, not square: the square's corner stays background.
    const glm::ivec2 corner = toScreen(viewProj, centre + (right + up) * (0.47f * size));
    const Rgb outside = readPixel(corner.x, corner.y);
    EXPECT_EQ(outside.r + outside.g + outside.b, 0);

    // The faintest rim writes no depth: a big red dot drawn behind it afterwards is not cut.
    const glm::ivec2 faintRim = toScreen(viewProj, centre + right * (0.49f * size));
    const glm::vec3 away = glm::normalize(centre - camera.position);
    const glm::vec3 behind = centre + away * 2.0f;
    const float bigDot[4] = {behind.x, behind.y, behind.z, 8.0f};
    const auto draw = [&](const float* dot, const glm::vec3& colour) {
        glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof instance, dot);
        shader.setVec3("color", colour);
        glDrawArraysInstanced(GL_TRIANGLE_STRIP, 0, 4, 1);
    };
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_BLEND);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw(bigDot, glm::vec3(1.0f, 0.0f, 0.0f));
    const Rgb bigDotAlone = readPixel(faintRim.x, faintRim.y);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw(instance, glm::vec3(0.0f, 1.0f, 0.0f));
    draw(bigDot, glm::vec3(1.0f, 0.0f, 0.0f));
    const Rgb behindTheRim = readPixel(faintRim.x, faintRim.y);
    glDisable(GL_BLEND);
    EXPECT_GT(bigDotAlone.r, 100);
    EXPECT_NEAR(behindTheRim.r, bigDotAlone.r, 2);
    EXPECT_NEAR(behindTheRim.g, bigDotAlone.g, 2);

    glBindVertexArray(0);
    glDeleteBuffers(2, buffers);
    glDeleteVertexArrays(1, &vao);
    glUseProgram(0);
}

} // namespace
