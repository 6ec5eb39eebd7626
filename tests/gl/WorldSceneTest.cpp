// The game's own scene passes with the shipped resources. Every draw they make is recorded by
// swapping glad's draw entry points for ones that note the program, vertex array, texture and
// camera in use and then forward to the driver. The ordinary pass is also saved as
// world_scene.png to be looked at.
#include "app/GameResources.h"
#include "app/ScenePass.h"
#include "game/GameContext.h"
#include "support/GlTestEnvironment.h"
#include "support/Screenshot.h"

#include <glad/gl.h>

#include <cmath>
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
    glm::mat4 viewProjection{0.0f};
    glm::mat4 particleView{0.0f};
    glm::mat4 placement{0.0f};
};

std::vector<Draw>* gDraws = nullptr;
PFNGLDRAWELEMENTSPROC gRealDrawElements = nullptr;
PFNGLDRAWARRAYSINSTANCEDPROC gRealDrawArraysInstanced = nullptr;

glm::mat4 uniformMatrix(GLint program, const char* name) {
    glm::mat4 matrix{0.0f};
    const GLint location = glGetUniformLocation(program, name);
    if (location >= 0) {
        glGetUniformfv(program, location, &matrix[0][0]);
    }
    return matrix;
}

void noteDraw() {
    Draw draw;
    glGetIntegerv(GL_CURRENT_PROGRAM, &draw.program);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &draw.vertexArray);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &draw.texture);
    draw.viewProjection = uniformMatrix(draw.program, "viewProjMatrix");
    draw.particleView = uniformMatrix(draw.program, "M_v");
    draw.placement = uniformMatrix(draw.program, "modelMatrix");
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

bool sameMatrix(const glm::mat4& a, const glm::mat4& b) {
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            if (std::abs(a[column][row] - b[column][row]) > 1e-4f) {
                return false;
            }
        }
    }
    return true;
}

// Names each draw as "program piece [texture] [z of a stone] camera", the camera being the one
// before or after the player placed it this frame.
class DrawNames {
  public:
    DrawNames(const GameResources& resources, const Camera& before, const Camera& after)
        : before_(before), after_(after) {
        programs_ = {{resources.textureShader->id, "textured"},
                     {resources.materialShader->id, "plain"},
                     {resources.animationShader->id, "animation"},
                     {resources.particleShader->id, "particles"}};
        textures_ = {{resources.grassTexture, "grassTexture"},
                     {resources.pathTexture, "pathTexture"}};
        pieces_ = {{resources.grass.vao, "grass"},
                   {resources.path.vao, "path"},
                   {resources.playerParticles->vao, "trail"},
                   {resources.clockParticles->vao, "shimmer"}};
        nameMeshes(*resources.treeModel, "tree");
        nameMeshes(*resources.stoneModel, "stone");
        nameMeshes(*resources.clockModel, "clock");
        nameMeshes(*resources.characterModel, "player");
    }

    std::string operator()(const Draw& draw) const {
        const std::string program = programs_.at(static_cast<unsigned>(draw.program));
        const std::string piece = pieces_.at(static_cast<unsigned>(draw.vertexArray));
        std::string name = program + " " + piece;
        if (program == "textured") {
            name += " " + textures_.at(static_cast<unsigned>(draw.texture));
        }
        if (piece == "stone") {
            name += " z" + std::to_string(static_cast<int>(draw.placement[3].z));
        }
        if (program == "particles") {
            return name +
                   cameraName(draw.particleView, before_.getViewMatrix(), after_.getViewMatrix());
        }
        const glm::mat4 projection = sceneProjection();
        return name + cameraName(draw.viewProjection, projection * before_.getViewMatrix(),
                                 projection * after_.getViewMatrix());
    }

  private:
    void nameMeshes(const Model& model, const std::string& piece) {
        for (const Mesh& mesh : model.meshes) {
            pieces_[mesh.vao] = piece;
        }
    }
    static std::string cameraName(const glm::mat4& used, const glm::mat4& before,
                                  const glm::mat4& after) {
        return sameMatrix(used, before) ? " before" : sameMatrix(used, after) ? " after" : " ?";
    }

    Camera before_;
    Camera after_;
    std::map<unsigned, std::string> programs_;
    std::map<unsigned, std::string> textures_;
    std::map<unsigned, std::string> pieces_;
};

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
        std::vector<std::string> draws;
    } cases[] = {
        {false,
         true,
         {"textured grass grassTexture before", "textured path pathTexture before",
          "plain tree before", "plain stone z9 before", "plain stone z6 before",
          "animation player before", "particles trail after"}},
        {true,
         false,
         {"animation player before", "textured grass grassTexture after",
          "textured path pathTexture after", "plain tree after", "plain stone z9 after",
          "plain stone z6 after", "plain clock after", "particles trail after",
          "particles shimmer after"}},
        {false,
         false,
         {"textured grass grassTexture before", "textured path pathTexture before",
          "plain tree before", "plain stone z9 before", "plain stone z6 before",
          "plain clock before", "animation player before", "particles trail after",
          "particles shimmer after"}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.relicMode ? "relic pass" : "scene pass");
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
        EXPECT_EQ(namePass(recorder.draws, DrawNames(*resources, before, context.camera)),
                  test.draws);
        EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));
    }
    // The last case is the ordinary pass with the clock out.
    saveScreenshot("world_scene");
}
