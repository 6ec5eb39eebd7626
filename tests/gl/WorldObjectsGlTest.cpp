// Stones, the clock, the player and the ground drawn for real: the matrices each one uploads,
// and that a unit block placed at a stone's position lands where the camera should see it.
#include "model/Model.h"
#include "render/Camera.h"
#include "render/DirectionalLight.h"
#include "render/Geometry.h"
#include "render/Material.h"
#include "render/PointLight.h"
#include "render/SceneUniforms.h"
#include "render/Shader.h"
#include "support/GlTestEnvironment.h"
#include "world/Clock.h"
#include "world/Ground.h"
#include "world/PlacedModel.h"
#include "world/Player.h"
#include "world/Random.h"
#include "world/Stone.h"

#include <glad/gl.h>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <utility>

namespace {

// A grey unit block standing on y = 0, centred in x and z, faces wound outwards.
void writeBlockModel(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    std::ofstream obj(folder / "block.obj");
    obj << "mtllib block.mtl\n"
           "v -0.5 0 -0.5\nv 0.5 0 -0.5\nv 0.5 0 0.5\nv -0.5 0 0.5\n"
           "v -0.5 1 -0.5\nv 0.5 1 -0.5\nv 0.5 1 0.5\nv -0.5 1 0.5\n"
           "usemtl rock\n"
           "f 5 8 7 6\nf 1 2 3 4\nf 4 3 7 8\nf 2 1 5 6\nf 3 2 6 7\nf 1 4 8 5\n";
    std::ofstream mtl(folder / "block.mtl");
    mtl << "newmtl rock\nKa 0.4 0.4 0.4\nKd 0.8 0.8 0.8\nKs 0.1 0.1 0.1\nNs 8\n";
}

glm::mat4 uniformMat4(GLuint program, const char* name) {
    glm::mat4 value(0.0f);
    glGetUniformfv(program, glGetUniformLocation(program, name), &value[0][0]);
    return value;
}

glm::mat3 uniformMat3(GLuint program, const char* name) {
    glm::mat3 value(0.0f);
    glGetUniformfv(program, glGetUniformLocation(program, name), &value[0][0]);
    return value;
}

// Window pixel of a world point seen through `camera` in the 800 x 600 test window.
glm::ivec2 projectToWindow(const Camera& camera, const glm::vec3& point) {
    const glm::vec4 clip = sceneProjection() * camera.getViewMatrix() * glm::vec4(point, 1.0f);
    const glm::vec3 ndc = glm::vec3(clip) / clip.w;
    return {static_cast<int>((ndc.x * 0.5f + 0.5f) * 800.0f),
            static_cast<int>((ndc.y * 0.5f + 0.5f) * 600.0f)};
}

class WorldObjectsGl : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / "chronocell-world-objects";
        writeBlockModel(folder);
        block = std::make_unique<Model>((folder / "block.obj").string());
        plain = std::make_shared<Shader>("assets\\shader\\materialVertexShader.vert",
                                         "assets\\shader\\materialFragmentShader.frag");
    }
    static void TearDownTestSuite() {
        block.reset();
        plain.reset();
    }

    void SetUp() override {
        camera.follow(glm::vec3(1.0f, 0.0f, 0.0f), 0.0f);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        uploadSceneUniforms(*plain, DirectionalLight{}, PointLight{}, camera, 0.3f);
        glUseProgram(plain->id);
    }

    static inline std::unique_ptr<Model> block;
    static inline std::shared_ptr<Shader> plain;
    Camera camera;
};

} // namespace

TEST_F(WorldObjectsGl, StoneUploadsItsPlacementAndAppearsWhereTheCameraLooks) {
    ASSERT_FALSE(block->meshes.empty());
    Random random;
    Stone stone = Stone::create(random, 0.0f, 4.0f, block.get());
    stone.draw(plain);

    EXPECT_EQ(uniformMat4(plain->id, "modelMatrix"), stone.modelMatrix());
    const glm::mat3 normal = uniformMat3(plain->id, "normalMatrix");
    const glm::mat3 expected = normalMatrixOf(stone.modelMatrix());
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            EXPECT_NEAR(normal[c][r], expected[c][r], 1e-6f);
        }
    }
    // The tall stones are stretched upwards only, so normals shrink in y.
    EXPECT_NEAR(normal[1][1], 1.0f / stone.scale.y, 1e-6f);

    const glm::vec3 middle = stone.position + glm::vec3(0.0f, stone.scale.y / 2.0f, 0.0f);
    const glm::ivec2 pixel = projectToWindow(camera, middle);
    const Rgb seen = readPixel(pixel.x, pixel.y);
    EXPECT_GT(seen.r + seen.g + seen.b, 60);
    EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST_F(WorldObjectsGl, MissingModelDrawsNothingAndLeavesTheUniformsAlone) {
    plain->setMat4("modelMatrix", glm::mat4(1.0f));
    Stone stone;
    stone.position = glm::vec3(1.0f, 0.0f, 10.0f);
    stone.draw(plain);
    Clock::emptySlot().draw(plain);
    drawTrees(*block, nullptr, 0.0f);
    EXPECT_EQ(uniformMat4(plain->id, "modelMatrix"), glm::mat4(1.0f));
    const glm::ivec2 pixel = projectToWindow(camera, stone.position + glm::vec3(0.0f, 0.5f, 0.0f));
    const Rgb seen = readPixel(pixel.x, pixel.y);
    EXPECT_EQ(seen.r + seen.g + seen.b, 0);
}

TEST_F(WorldObjectsGl, TreesAreDrawnBesideThePath) {
    drawTrees(*block, plain, 0.0f);
    // The last tree drawn is the ninth of the nearest row ahead of the window's end.
    EXPECT_EQ(uniformMat4(plain->id, "modelMatrix")[3], glm::vec4(16.0f, 0.0f, 40.0f, 1.0f));
    // The nearest trees, at x = -2 and x = 4 in the row at z = 10, are visible from the camera.
    for (float x : {-2.0f, 4.0f}) {
        const glm::ivec2 pixel = projectToWindow(camera, glm::vec3(x, 0.1f, 10.0f));
        const Rgb seen = readPixel(pixel.x, pixel.y);
        EXPECT_GT(seen.r + seen.g + seen.b, 30) << x;
    }
    EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST_F(WorldObjectsGl, PlayerDrawPlacesTheCameraAndUploadsItsPlacement) {
    Player player(block.get(), &camera, -0.0f, 0.0f, 0.0f, 10.0f, 10.0f);
    player.z = 30.0f;
    player.x = 2.0f;
    player.animationIndex = Player::kJumpClip;
    glUseProgram(0);
    player.draw(plain, false);

    EXPECT_EQ(camera.target, glm::vec3(1.0f, 0.0f, 30.0f));
    EXPECT_EQ(block->animationIndex, Player::kJumpClip);
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), plain->id);
    EXPECT_EQ(uniformMat4(plain->id, "modelMatrix"), player.modelMatrix());
    EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(GroundGl, GridsCoverTheMeadowAndThePath) {
    auto material = std::make_shared<Material>();
    const Geometry grass = createGrassGeometry(material);
    const Geometry path = createPathGeometry(material);
    constexpr int kRows = 2000;
    EXPECT_EQ(grass.indexCount, 79u * (kRows - 1) * 6);
    EXPECT_EQ(path.indexCount, 3u * (kRows - 1) * 6);
    EXPECT_EQ(grass.modelMatrix[3], glm::vec4(-40.0f, 0.0f, -1000.0f, 1.0f));
    EXPECT_EQ(path.modelMatrix[3], glm::vec4(-0.5f, 0.0f, -1000.0f, 1.0f));
    EXPECT_EQ(grass.material, material);

    // The path's last vertex sits at its far corner, lifted 0.01 above the grass.
    glm::vec3 last(0.0f);
    glBindBuffer(GL_ARRAY_BUFFER, path.positionBuffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, (4 * kRows - 1) * sizeof(glm::vec3), sizeof(glm::vec3),
                       &last);
    EXPECT_EQ(path.modelMatrix * glm::vec4(last, 1.0f), glm::vec4(2.5f, 0.01f, 999.0f, 1.0f));

    // One cell in, the grass texture has repeated once and the path's is a third across.
    const std::pair<const Geometry*, float> grids[] = {{&grass, 1.0f}, {&path, 1.0f / 3.0f}};
    for (const auto& [grid, u] : grids) {
        glm::vec2 secondUv(-1.0f);
        glBindBuffer(GL_ARRAY_BUFFER, grid->uvBuffer);
        glGetBufferSubData(GL_ARRAY_BUFFER, sizeof(glm::vec2), sizeof(glm::vec2), &secondUv);
        EXPECT_EQ(secondUv, glm::vec2(u, 0.0f));
    }
    EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));
}
