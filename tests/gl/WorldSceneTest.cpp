// The game's own scene passes with the shipped resources. Every draw they make is recorded by
// swapping glad's draw entry points for ones that note the program, vertex array, texture and
// camera in use and then forward to the driver. The ordinary pass is also saved as
// world_scene.png to be looked at.
#include "game/GameContext.h"
#include "scene/GameResources.h"
#include "scene/ScenePass.h"
#include "support/GlTestEnvironment.h"
#include "support/Screenshot.h"

#include <glad/gl.h>

#include <glm/ext/matrix_relational.hpp>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr float kFrame = 1.0f / 60.0f;

struct Draw {
    GLint program = 0;
    GLint vertexArray = 0;
    GLint texture = 0;
    glm::mat4 camera{0.0f};
    glm::mat4 placement{0.0f};
    float brightness = -1.0f;
    glm::vec3 color{-1.0f};
};

std::vector<Draw>* gDraws = nullptr;
PFNGLDRAWELEMENTSPROC gRealDrawElements = nullptr;
PFNGLDRAWARRAYSINSTANCEDPROC gRealDrawArraysInstanced = nullptr;

// A float, vector or matrix uniform of the program; `absent` where the program has none.
template <typename Value> Value uniformValue(GLint program, const char* name, Value absent) {
    const GLint location = glGetUniformLocation(program, name);
    if (location >= 0) {
        glGetUniformfv(program, location, reinterpret_cast<float*>(&absent));
    }
    return absent;
}

glm::mat4 uniformMatrix(GLint program, const char* name) {
    return uniformValue(program, name, glm::mat4{0.0f});
}

// The camera a draw sees as projection times view: the particle program takes the view alone.
glm::mat4 cameraOf(GLint program) {
    if (glGetUniformLocation(program, "M_v") >= 0) {
        return sceneProjection() * uniformMatrix(program, "M_v");
    }
    return uniformMatrix(program, "viewProjMatrix");
}

void noteDraw() {
    Draw draw;
    glGetIntegerv(GL_CURRENT_PROGRAM, &draw.program);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &draw.vertexArray);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &draw.texture);
    draw.camera = cameraOf(draw.program);
    draw.placement = uniformMatrix(draw.program, "modelMatrix");
    draw.brightness = uniformValue(draw.program, "brightness", -1.0f);
    draw.color = uniformValue(draw.program, "color", glm::vec3(-1.0f));
    gDraws->push_back(draw);
}

void GLAPIENTRY recordDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
    noteDraw();
    gRealDrawElements(mode, count, type, indices);
}

void GLAPIENTRY recordDrawArraysInstanced(GLenum mode, GLint first, GLsizei count,
                                          GLsizei instances) {
    noteDraw();
    gRealDrawArraysInstanced(mode, first, count, instances);
}

// Records the draws made while it lives.
struct DrawRecorder {
    std::vector<Draw> draws;

    DrawRecorder() {
        gDraws = &draws;
        gRealDrawElements = std::exchange(glad_glDrawElements, recordDrawElements);
        gRealDrawArraysInstanced =
            std::exchange(glad_glDrawArraysInstanced, recordDrawArraysInstanced);
    }
    ~DrawRecorder() {
        glad_glDrawElements = gRealDrawElements;
        glad_glDrawArraysInstanced = gRealDrawArraysInstanced;
        gDraws = nullptr;
    }
};

// Names a draw "program piece [texture] [z of a stone] [particle colour] camera", the camera
// being the one before or after the player placed it this frame.
struct DrawNames {
    std::map<GLint, std::string> programs;
    std::map<GLint, std::string> textures;
    std::map<GLint, std::string> pieces;
    glm::mat4 before;
    glm::mat4 after;

    std::string operator()(const Draw& draw) const {
        const std::string& program = programs.at(draw.program);
        const std::string& piece = pieces.at(draw.vertexArray);
        std::string name = program + " " + piece;
        if (program == "textured") {
            name += " " + textures.at(draw.texture);
        }
        if (piece == "stone") {
            name += " z" + std::to_string(static_cast<int>(draw.placement[3].z));
        }
        if (program == "particles") {
            name += draw.color == glm::vec3(1.0f)               ? " white"
                    : draw.color == glm::vec3(0.0f, 1.0f, 0.0f) ? " green"
                                                                : " tinted";
        }
        const auto seen = [&](const glm::mat4& camera) {
            return glm::all(glm::equal(draw.camera, camera, 1e-4f));
        };
        return name + (seen(before) ? " before" : seen(after) ? " after" : " ?");
    }
};

DrawNames namesOf(const GameResources& r, const Camera& before, const Camera& after) {
    DrawNames names{{{r.textureShader->id, "textured"},
                     {r.materialShader->id, "plain"},
                     {r.animationShader->id, "animation"},
                     {r.particleShader->id, "particles"}},
                    {{r.grassTexture, "grassTexture"}, {r.pathTexture, "pathTexture"}},
                    {{r.grass.vao, "grass"},
                     {r.path.vao, "path"},
                     {r.playerParticles->vao, "trail"},
                     {r.clockParticles->vao, "shimmer"}},
                    sceneProjection() * before.getViewMatrix(),
                    sceneProjection() * after.getViewMatrix()};
    const std::pair<const Model*, const char*> models[] = {{r.treeModel.get(), "tree"},
                                                           {r.stoneModel.get(), "stone"},
                                                           {r.clockModel.get(), "clock"},
                                                           {r.characterModel.get(), "player"}};
    for (const auto& [model, piece] : models) {
        for (const Mesh& mesh : model->meshes) {
            names.pieces[mesh.vao] = piece;
        }
    }
    return names;
}

// The draws of one pass, named, with repeats of the same name (trees, meshes of one model) folded.
std::vector<std::string> namePass(const std::vector<Draw>& draws, const DrawNames& names) {
    std::vector<std::string> named;
    for (const Draw& draw : draws) {
        const std::string name = names(draw);
        if (named.empty() || named.back() != name) {
            named.push_back(name);
        }
    }
    return named;
}

Stone stoneAt(float x, float z, Model* model) {
    Stone stone;
    stone.position = glm::vec3(x, 0.0f, z);
    stone.model = model;
    return stone;
}

} // namespace

TEST(ScenePass, DrawsThePiecesInTheGamesOrderWithTheRightCamera) {
    GameContext context;
    const std::unique_ptr<GameResources> resources = createGameResources(context);
    // Two stones ahead of the runner and the clock over the middle lane; the trail and the
    // shimmer have had time to rise.
    context.stones.addStone(stoneAt(0.0f, 9.0f, resources->stoneModel.get()));
    context.stones.addStone(stoneAt(2.0f, 6.0f, resources->stoneModel.get()));
    context.player.z = 2.0f;
    for (int frame = 0; frame < 60; ++frame) {
        resources->playerParticles->update(glm::vec3(1.0f, 0.0f, 2.0f), true, kFrame,
                                           context.random);
        resources->clockParticles->update(glm::vec3(1.0f, 1.0f, 5.0f), true, kFrame,
                                          context.random);
    }

    const struct {
        bool relicMode;
        bool clockCollected;
        float brightness; // a new one each pass, so every program must be given the current one
        std::vector<std::string> draws;
    } cases[] = {
        {false,
         true,
         0.9f,
         {"textured grass grassTexture before", "textured path pathTexture before",
          "plain tree before", "plain stone z9 before", "plain stone z6 before",
          "animation player before", "particles trail white after"}},
        {true,
         false,
         0.6f,
         {"animation player before", "textured grass grassTexture after",
          "textured path pathTexture after", "plain tree after", "plain stone z9 after",
          "plain stone z6 after", "plain clock after", "particles trail white after",
          "particles shimmer green after"}},
        {false,
         false,
         0.3f,
         {"textured grass grassTexture before", "textured path pathTexture before",
          "plain tree before", "plain stone z9 before", "plain stone z6 before",
          "plain clock before", "animation player before", "particles trail white after",
          "particles shimmer green after"}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.relicMode ? "relic pass" : "scene pass");
        context.settings.shaderBrightness = test.brightness;
        context.relic.relicMode = test.relicMode;
        context.clockSlot =
            Clock::create(context.random, glm::vec3(0.0f), context.links.clockModel);
        context.clockSlot.position = glm::vec3(1.0f, 1.0f, 5.0f);
        context.clockSlot.collected = test.clockCollected;
        // The camera where the previous frame left it, one step behind the runner.
        context.player.z -= 1.0f;
        context.player.placeCamera(test.relicMode);
        context.player.z += 1.0f;
        const Camera before = context.camera;

        glClearColor(0.5f, 0.7f, 0.9f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawRecorder recorder;
        (test.relicMode ? runRelicScenePass : runScenePass)(context, *resources);
        const DrawNames names = namesOf(*resources, before, context.camera);
        EXPECT_EQ(namePass(recorder.draws, names), test.draws);
        for (const Draw& draw : recorder.draws) {
            EXPECT_EQ(draw.brightness, context.settings.shaderBrightness) << names(draw);
        }
        EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));
    }
    // The last case is the ordinary pass with the clock out.
    saveScreenshot("world_scene");
}
