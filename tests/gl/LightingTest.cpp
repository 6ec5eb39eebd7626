// Lights one small face through each lit program and reads the pixel at its centre. The display
// transform (exposure, filmic curve, gamma) stays the shaders' own: the checks compare faces whose
// light must be equal, or ordered, under the lighting the three programs share.
#include "render/Camera.h"
#include "render/DirectionalLight.h"
#include "render/PointLight.h"
#include "render/SceneUniforms.h"
#include "render/Shader.h"
#include "support/GlTestEnvironment.h"

#include <glad/gl.h>

#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

namespace {

struct LitProgram {
    const char* name;
    const char* vertex;
    const char* fragment;
};

void PrintTo(const LitProgram& program, std::ostream* out) {
    *out << program.name;
}

// One face and what lights it; no ambient light, and everything grey, so one channel tells all.
struct Face {
    glm::vec3 position{0.0f, 0.0f, 2.0f};
    glm::vec3 normal{0.0f, 0.0f, -1.0f};
    glm::vec3 eye{1.0f, 0.5f, 0.0f};
    DirectionalLight sun{glm::vec3(0.0f), glm::vec3(0.0f, -0.70710677f, -0.70710677f)};
    PointLight lamp{glm::vec3(0.0f), glm::vec3(0.0f), glm::vec3(1.0f, 0.0f, 0.0f)};
    glm::vec3 diffuse{0.0f};
    glm::vec3 specular{0.0f};
};

class LitFaces : public testing::TestWithParam<LitProgram> {
  protected:
    static void SetUpTestSuite() {
        glGenVertexArrays(1, &vao);
        glGenBuffers(1, &vbo);
        glBindVertexArray(vao);
        glBindBuffer(GL_ARRAY_BUFFER, vbo);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
        glBindVertexArray(0);
        // The textured program gets a white texture, so its texture keeps the material's colour.
        const unsigned char white[4] = {255, 255, 255, 255};
        glGenTextures(1, &whiteTexture);
        glBindTexture(GL_TEXTURE_2D, whiteTexture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    }
    static void TearDownTestSuite() {
        glDeleteTextures(1, &whiteTexture);
        glDeleteBuffers(1, &vbo);
        glDeleteVertexArrays(1, &vao);
    }
    void SetUp() override {
        shader = std::make_unique<Shader>(GetParam().vertex, GetParam().fragment);
    }

    // The grey level the program gives the centre of the face.
    int shade(const Face& face) const {
        Camera camera;
        camera.position = face.eye;
        camera.target = face.position;
        uploadSceneUniforms(*shader, face.sun, face.lamp, camera, 0.3f);
        shader->setMat4("modelMatrix", glm::mat4(1.0f));
        shader->setMat3("normalMatrix", glm::mat3(1.0f));
        shader->setVec3("mat.ambient", glm::vec3(0.0f));
        shader->setVec3("mat.diffuse", face.diffuse);
        shader->setVec3("mat.specular", face.specular);
        shader->setFloat("mat.shininess", 1.0f);

        // A small square turned to the eye; the light sees only the normal it is given.
        const glm::vec3 toEye = glm::normalize(face.eye - face.position);
        const glm::vec3 right = 0.05f * glm::normalize(glm::cross(glm::vec3(0, 1, 0), toEye));
        const glm::vec3 up = 0.05f * glm::normalize(glm::cross(toEye, right));
        const glm::vec3 corners[4] = {face.position - right - up, face.position + right - up,
                                      face.position - right + up, face.position + right + up};
        glBindVertexArray(vao);
        glBindBuffer(GL_ARRAY_BUFFER, vbo);
        glBufferData(GL_ARRAY_BUFFER, sizeof corners, corners, GL_STREAM_DRAW);
        glVertexAttrib3fv(1, &face.normal[0]);
        glVertexAttribI4i(3, 0, 0, 0, 0);
        glVertexAttrib4f(4, 0.0f, 0.0f, 0.0f, 0.0f);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, whiteTexture);

        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
        return readPixel(400, 300).g;
    }

    std::unique_ptr<Shader> shader;
    static inline GLuint vao = 0;
    static inline GLuint vbo = 0;
    static inline GLuint whiteTexture = 0;
};

constexpr float kCos45 = 0.70710677f;

TEST_P(LitFaces, SunLightsTheFacesTurnedToItAndLeavesTheUndersideDark) {
    Face top;
    top.normal = glm::vec3(0.0f, 1.0f, 0.0f);
    top.sun.color = glm::vec3(0.2f);
    top.diffuse = glm::vec3(0.8f);
    Face underside = top;
    underside.normal = glm::vec3(0.0f, -1.0f, 0.0f);
    Face facingADimmerSun = top;
    facingADimmerSun.normal = glm::vec3(0.0f, kCos45, kCos45);
    facingADimmerSun.sun.color *= kCos45;

    const int lit = shade(top);
    EXPECT_GT(lit, 40);
    EXPECT_EQ(shade(underside), 0);
    // The sun reaches the top at 45 degrees: as much light as a sun dimmed by cos 45 head-on.
    EXPECT_NEAR(shade(facingADimmerSun), lit, 2);
}

TEST_P(LitFaces, PointLightFallsOffWithDistanceAsItsAttenuationSays) {
    for (const float distance : {1.5f, 4.0f}) {
        SCOPED_TRACE(distance);
        Face attenuated;
        attenuated.position = glm::vec3(0.0f, 0.0f, distance);
        attenuated.eye = attenuated.position + glm::vec3(1.0f, 0.5f, -2.0f);
        attenuated.diffuse = glm::vec3(0.8f);
        attenuated.lamp.color = glm::vec3(1.0f);
        attenuated.lamp.attenuation = glm::vec3(1.0f, 0.2f, 0.1f);
        Face unattenuated = attenuated;
        unattenuated.lamp.attenuation = glm::vec3(1.0f, 0.0f, 0.0f);
        Face dimmed = unattenuated;
        dimmed.lamp.color /= 1.0f + 0.2f * distance + 0.1f * distance * distance;

        const int level = shade(attenuated);
        EXPECT_LT(level, shade(unattenuated) - 10);
        EXPECT_NEAR(level, shade(dimmed), 2);
    }
}

TEST_P(LitFaces, PointLightHighlightsOnlyFacesTurnedToIt) {
    // Seen from the side, with the lamp at the origin behind the face's plane: turned away by
    // a little, the face is still within the lamp's wrapped diffuse light but gets no highlight.
    Face turnedAway;
    turnedAway.eye = glm::vec3(2.0f, 0.3f, 2.0f);
    turnedAway.normal = glm::normalize(glm::vec3(0.98f, 0.0f, 0.2f));
    turnedAway.lamp.color = glm::vec3(1.0f);
    turnedAway.specular = glm::vec3(0.8f);
    Face turnedToward = turnedAway;
    turnedToward.normal = glm::normalize(glm::vec3(0.98f, 0.0f, -0.2f));

    EXPECT_GT(shade(turnedToward), 40);
    EXPECT_EQ(shade(turnedAway), 0);
}

TEST_P(LitFaces, MaterialColoursAreLinear) {
    // Every program reads a colour as the share of light it reflects: grey 0.5 reflects what
    // white does under a lamp of half the strength.
    Face grey;
    grey.lamp.color = glm::vec3(1.0f);
    grey.diffuse = glm::vec3(0.5f);
    grey.specular = glm::vec3(0.5f);
    Face white = grey;
    white.diffuse = glm::vec3(1.0f);
    white.specular = glm::vec3(1.0f);
    white.lamp.color = glm::vec3(0.5f);

    const int level = shade(grey);
    EXPECT_GT(level, 40);
    EXPECT_NEAR(level, shade(white), 2);
}

INSTANTIATE_TEST_SUITE_P(
    EveryLitProgram, LitFaces,
    testing::Values(LitProgram{"Plain", "assets\\shader\\materialVertexShader.vert",
                               "assets\\shader\\materialFragmentShader.frag"},
                    LitProgram{"Animation", "assets\\shader\\vertexShaderAnimation.vert",
                               "assets\\shader\\fragmentShaderAnimation.frag"},
                    LitProgram{"Textured", "assets\\shader\\textureMaterialVertexShader.vert",
                               "assets\\shader\\textureMaterialFragmentShader.frag"}),
    [](const testing::TestParamInfo<LitProgram>& info) { return std::string(info.param.name); });

} // namespace
