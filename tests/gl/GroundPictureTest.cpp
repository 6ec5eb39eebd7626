// Draws the meadow and the path the way a frame of play does and saves the picture, so the
// lighting and textures can be judged by eye; the checks catch the gross failures (black
// ground, wrong hues, brightness setting without effect).
#include "render/Camera.h"
#include "render/DirectionalLight.h"
#include "render/Geometry.h"
#include "render/Material.h"
#include "render/PointLight.h"
#include "render/SceneUniforms.h"
#include "render/Shader.h"
#include "render/Texture.h"
#include "support/GlTestEnvironment.h"
#include "support/Screenshot.h"
#include "world/Ground.h"

#include <glad/gl.h>

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct MeanColor {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float level() const { return (r + g + b) / 3.0f; }
};

// Averages a square of pixels so texture detail does not decide a check.
MeanColor meanColor(int centerX, int centerY, int half) {
    MeanColor mean;
    int count = 0;
    for (int y = centerY - half; y <= centerY + half; ++y) {
        for (int x = centerX - half; x <= centerX + half; ++x) {
            const Rgb pixel = readPixel(x, y);
            mean.r += static_cast<float>(pixel.r);
            mean.g += static_cast<float>(pixel.g);
            mean.b += static_cast<float>(pixel.b);
            ++count;
        }
    }
    mean.r /= static_cast<float>(count);
    mean.g /= static_cast<float>(count);
    mean.b /= static_cast<float>(count);
    return mean;
}

class GroundPicture : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        shader = std::make_shared<Shader>("assets\\shader\\textureMaterialVertexShader.vert",
                                          "assets\\shader\\textureMaterialFragmentShader.frag");
        grass = std::make_unique<Geometry>(
            glm::translate(glm::mat4(1.0f), glm::vec3(-40.0f, 0.0f, -1000.0f)),
            createGridGeometry(80, 1.0f, 0.0f, false), createGroundMaterial(shader, kGrassColor));
        path = std::make_unique<Geometry>(
            glm::translate(glm::mat4(1.0f), glm::vec3(-0.5f, 0.0f, -1000.0f)),
            createGridGeometry(4, 1.0f, 0.01f, true), createGroundMaterial(shader, kPathColor));
        grassTexture = loadTexture("assets\\textures\\grasTexture.jpg");
        pathTexture = loadTexture("assets\\textures\\pathTex.jpg");
    }

    static void TearDownTestSuite() {
        grass.reset();
        path.reset();
        glDeleteTextures(1, &grassTexture);
        glDeleteTextures(1, &pathTexture);
        shader.reset();
    }

    // One frame of the ground with the camera behind a player at (1, 0, playerZ).
    static void drawGround(float brightness, float playerZ, const DirectionalLight& sun = {},
                           const PointLight& lamp = {}) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        Camera camera;
        camera.follow(glm::vec3(1.0f, 0.0f, playerZ), 0.0f);
        uploadSceneUniforms(*shader, sun, lamp, camera, brightness);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, grassTexture);
        grass->draw();
        glBindTexture(GL_TEXTURE_2D, pathTexture);
        path->draw();
        glFinish();
    }

    static inline std::shared_ptr<Shader> shader;
    static inline std::unique_ptr<Geometry> grass;
    static inline std::unique_ptr<Geometry> path;
    static inline unsigned int grassTexture = 0;
    static inline unsigned int pathTexture = 0;
};

// Screen points: the camera looks at the path's middle lane, so the centre shows path and the
// left and right thirds show grass.
constexpr int kPathX = 400;
constexpr int kGrassX = 120;
constexpr int kRowY = 300;
constexpr int kHalf = 12;

TEST_F(GroundPicture, DefaultBrightnessShowsGreenGrassAndEarthPath) {
    drawGround(0.3f, 20.0f);
    saveScreenshot("ground");
    EXPECT_EQ(takeGlError(), 0u);

    const MeanColor meadow = meanColor(kGrassX, kRowY, kHalf);
    EXPECT_GT(meadow.g, meadow.r * 1.2f);
    EXPECT_GT(meadow.g, meadow.b * 1.5f);
    EXPECT_GT(meadow.level(), 40.0f);
    EXPECT_LT(meadow.level(), 200.0f);

    const MeanColor earth = meanColor(kPathX, kRowY, kHalf);
    EXPECT_GT(earth.r, earth.b * 1.2f);
    EXPECT_GE(earth.r, earth.g);
    EXPECT_GT(earth.level(), 50.0f);
}

TEST_F(GroundPicture, BrightnessRaisesTheLevelWithoutClipping) {
    drawGround(0.0f, 20.0f);
    saveScreenshot("ground_brightness0");
    const MeanColor dark = meanColor(kGrassX, kRowY, kHalf);
    drawGround(0.3f, 20.0f);
    const MeanColor normal = meanColor(kGrassX, kRowY, kHalf);
    drawGround(1.0f, 20.0f);
    saveScreenshot("ground_brightness1");
    const MeanColor bright = meanColor(kGrassX, kRowY, kHalf);
    const MeanColor brightPath = meanColor(kPathX, kRowY, kHalf);

    EXPECT_GT(dark.level(), 15.0f) << "brightness 0 must stay readable";
    EXPECT_LT(dark.level() * 1.2f, normal.level());
    EXPECT_LT(normal.level() * 1.2f, bright.level());
    EXPECT_LT(brightPath.level(), 235.0f) << "brightness 1 must not wash the path out";
    EXPECT_GT(bright.g, bright.r * 1.1f) << "brightness 1 must keep the grass green";
}

TEST_F(GroundPicture, PointLightBrightensTheGroundNearTheOrigin) {
    PointLight off;
    off.color = glm::vec3(0.0f);
    drawGround(0.3f, 0.0f, DirectionalLight{}, off);
    const MeanColor unlit = meanColor(kPathX, kRowY, kHalf);
    drawGround(0.3f, 0.0f);
    saveScreenshot("ground_origin");
    const MeanColor lit = meanColor(kPathX, kRowY, kHalf);
    EXPECT_GT(lit.level(), unlit.level() * 1.1f);
}

TEST_F(GroundPicture, RedSunTurnsTheSceneRed) {
    DirectionalLight redSun;
    redSun.color = glm::vec3(1.0f, 0.0f, 0.0f);
    drawGround(0.3f, 20.0f, redSun);
    saveScreenshot("ground_red");
    const MeanColor earth = meanColor(kPathX, kRowY, kHalf);
    EXPECT_GT(earth.r, earth.g * 2.0f);
    EXPECT_GT(earth.r, earth.b * 2.0f);
}

} // namespace
