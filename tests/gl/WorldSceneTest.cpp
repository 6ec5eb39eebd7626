// The whole world of one frame of play, drawn in the game's order with the shipped assets and
// saved as world_scene.png: the picture is meant to be looked at; the checks catch a missing or
// misplaced piece.
#include "model/Model.h"
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
#include "world/Clock.h"
#include "world/Ground.h"
#include "world/ParticleSystem.h"
#include "world/Player.h"
#include "world/Random.h"
#include "world/StoneList.h"

#include <glad/gl.h>

#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr float kBrightness = 0.3f;
constexpr float kFrame = 1.0f / 60.0f;

glm::ivec2 projectToWindow(const Camera& camera, const glm::vec3& point) {
    const glm::vec4 clip = sceneProjection() * camera.getViewMatrix() * glm::vec4(point, 1.0f);
    const glm::vec3 ndc = glm::vec3(clip) / clip.w;
    return {static_cast<int>((ndc.x * 0.5f + 0.5f) * 800.0f),
            static_cast<int>((ndc.y * 0.5f + 0.5f) * 600.0f)};
}

struct Programs {
    std::shared_ptr<Shader> plain = std::make_shared<Shader>(
        "assets\\shader\\materialVertexShader.vert", "assets\\shader\\materialFragmentShader.frag");
    std::shared_ptr<Shader> animation =
        std::make_shared<Shader>("assets\\shader\\vertexShaderAnimation.vert",
                                 "assets\\shader\\fragmentShaderAnimation.frag");
    std::shared_ptr<Shader> textured =
        std::make_shared<Shader>("assets\\shader\\textureMaterialVertexShader.vert",
                                 "assets\\shader\\textureMaterialFragmentShader.frag");
    std::shared_ptr<Shader> particles = std::make_shared<Shader>(
        "assets\\shader\\particelShaderVertex.vert", "assets\\shader\\particelShaderFragment.frag");
};

// What a frame of play draws, loaded the way start-up loads it.
struct World {
    Programs programs;
    Geometry grass = createGrassGeometry(createGroundMaterial(programs.textured, kGrassColor));
    Geometry path = createPathGeometry(createGroundMaterial(programs.textured, kPathColor));
    DirectionalLight directionalLight;
    PointLight pointLight;
    Model clockModel{"assets\\objects\\clock.obj"};
    Model characterModel{"assets\\objects\\character.fbx"};
    Model stoneModel{"assets\\objects\\stone.obj"};
    Model treeModel{"assets\\objects\\tree.obj"};
    unsigned int grassTexture = loadTexture("assets\\textures\\grasTexture.jpg");
    unsigned int pathTexture = loadTexture("assets\\textures\\pathTex.jpg");
    ParticleSystem trail;
    ParticleSystem shimmer;
    Camera camera;
    Player player{&characterModel, &camera, -0.0f, 0.0f, 0.0f, 10.0f, 10.0f};
    StoneList stones;
    Clock clock = Clock::emptySlot();
    Random random;

    ~World() {
        glDeleteTextures(1, &grassTexture);
        glDeleteTextures(1, &pathTexture);
    }

    void drawScene() {
        uploadSceneUniforms(*programs.textured, directionalLight, pointLight, camera, kBrightness);
        glUseProgram(programs.textured->id);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, grassTexture);
        grass.draw();
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, pathTexture);
        path.draw();

        uploadSceneUniforms(*programs.plain, directionalLight, pointLight, camera, kBrightness);
        glUseProgram(programs.plain->id);
        drawTrees(treeModel, programs.plain, player.z);
        for (const Stone& stone : stones.stones) {
            stone.draw(programs.plain);
        }
        if (!clock.collected) {
            clock.draw(programs.plain);
        }

        uploadSceneUniforms(*programs.animation, directionalLight, pointLight, camera, kBrightness);
        player.draw(programs.animation, false);

        const Shader& particles = *programs.particles;
        glUseProgram(particles.id);
        particles.setMat4("M_v", camera.getViewMatrix());
        particles.setMat4("M_p", sceneProjection());
        particles.setVec3("color", glm::vec3(1.0f, 1.0f, 1.0f));
        particles.setFloat("brightness", kBrightness);
        trail.draw(programs.particles);
        if (!clock.collected) {
            particles.setVec3("color", glm::vec3(0.0f, 1.0f, 0.0f));
            shimmer.draw(programs.particles);
        }
    }
};

Rgb pixelAt(const glm::ivec2& window) {
    return readPixel(window.x, window.y);
}

bool samePixel(const Rgb& a, const Rgb& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

void redraw(World& world) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    world.drawScene();
}

} // namespace

TEST(WorldScene, AFrameOfPlayLooksLikeTheGame) {
    World world;
    ASSERT_FALSE(world.stoneModel.meshes.empty());
    ASSERT_FALSE(world.treeModel.meshes.empty());
    ASSERT_FALSE(world.clockModel.meshes.empty());
    ASSERT_FALSE(world.characterModel.meshes.empty());

    // A second of running with stones spawned along the way, then the clock floating over the
    // middle lane just ahead of the runner.
    Player& player = world.player;
    float spawnTimer = 0.0f;
    for (int frame = 0; frame < 60; ++frame) {
        player.update(kFrame);
        spawnTimer += kFrame;
        if (spawnTimer >= 0.3f) {
            world.stones.addStone(Stone::create(world.random, player.z, 4.0f, &world.stoneModel));
            spawnTimer = 0.0f;
        }
        world.trail.update(glm::vec3(player.x, player.y, player.z), true, kFrame, world.random);
    }
    world.clock =
        Clock::create(world.random, glm::vec3(player.x, 0.0f, player.z), &world.clockModel);
    world.clock.position = glm::vec3(1.0f, 1.0f, player.z + 1.5f);
    for (int frame = 0; frame < 90; ++frame) {
        world.shimmer.update(world.clock.position, true, kFrame, world.random);
    }
    // The previous frame's camera placement, as the ground and props of a frame see it.
    player.placeCamera(false);

    glClearColor(0.5f, 0.7f, 0.9f, 1.0f);
    redraw(world);
    EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));
    saveScreenshot("world_scene");

    const Camera& camera = world.camera;
    // Grass beside the path is green; the path below the runner is earth-coloured.
    const Rgb grass = readPixel(200, 300);
    EXPECT_GT(grass.g, grass.r);
    EXPECT_GT(grass.g, grass.b);
    const Rgb path = pixelAt(projectToWindow(camera, glm::vec3(1.0f, 0.0f, player.z - 2.0f)));
    EXPECT_GT(path.r, path.b);
    EXPECT_FALSE(path.g > path.r);

    const glm::ivec2 body = projectToWindow(camera, glm::vec3(player.x, 0.6f, player.z));
    const glm::ivec2 clockFace =
        projectToWindow(camera, world.clock.position + glm::vec3(0.0f, 0.25f, 0.0f));
    const Rgb onRunner = pixelAt(body);
    const Rgb onClock = pixelAt(clockFace);

    world.player.model = nullptr;
    world.clock.collected = true;
    redraw(world);
    EXPECT_FALSE(samePixel(onRunner, pixelAt(body)));
    EXPECT_FALSE(samePixel(onClock, pixelAt(clockFace)));

    // Just the shimmer back on: green dots rise above the clock.
    world.clock.collected = false;
    world.clock.model = nullptr;
    redraw(world);
    int greenDots = 0;
    for (int dy = -20; dy <= 160; ++dy) {
        for (int dx = -30; dx <= 30; ++dx) {
            const Rgb p = readPixel(clockFace.x + dx, clockFace.y + dy);
            greenDots += p.g > p.r + 60 && p.g > p.b + 60 ? 1 : 0;
        }
    }
    EXPECT_GT(greenDots, 10);
}
