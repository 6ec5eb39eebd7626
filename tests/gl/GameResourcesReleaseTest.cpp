// The game's resources give back every OpenGL name they made: a name left when the context ends
// crashed the Windows build at exit under Wine's debug context.
#include "game/GameContext.h"
#include "scene/GameResources.h"

#include <glad/gl.h>

#include <array>
#include <gtest/gtest.h>

namespace {

// Far above any name this test program makes: names are handed out counting up from 1.
constexpr GLuint kHighestName = 20000;

using NameCheck = GLboolean(GLAPIENTRY*)(GLuint);

struct NameKind {
    const char* name;
    NameCheck isLive;
};

std::array<NameKind, 7> nameKinds() {
    return {{{"buffers", glIsBuffer},
             {"textures", glIsTexture},
             {"vertex arrays", glIsVertexArray},
             {"programs", glIsProgram},
             {"shaders", glIsShader},
             {"framebuffers", glIsFramebuffer},
             {"renderbuffers", glIsRenderbuffer}}};
}

std::array<int, 7> liveNames() {
    std::array<int, 7> counts{};
    const auto kinds = nameKinds();
    for (std::size_t kind = 0; kind < kinds.size(); ++kind) {
        for (GLuint name = 1; name <= kHighestName; ++name) {
            counts[kind] += kinds[kind].isLive(name) == GL_TRUE ? 1 : 0;
        }
    }
    return counts;
}

} // namespace

// Catches a kind of name kept after the resources are gone: a program (or one still in use, which
// outlives its deletion with its shaders), a mesh's buffers or vertex array, a model's or the
// ground's textures, the glyphs or the particles' buffers.
TEST(GameResourcesRelease, EveryOpenGlNameMadeIsGivenBack) {
    // A program an earlier test left in use would be let go with the resources and miscounted.
    glUseProgram(0);
    const std::array<int, 7> before = liveNames();
    {
        GameContext context;
        std::unique_ptr<GameResources> resources = createGameResources(context);
        glUseProgram(resources->animationShader->id);
        const std::array<int, 7> loaded = liveNames();
        // Each kind the game makes is counted, so a kind left behind would be seen.
        for (std::size_t kind : {0, 1, 2, 3}) {
            EXPECT_GT(loaded[kind], before[kind]) << nameKinds()[kind].name;
        }
        context.unlinkResources();
    }
    const std::array<int, 7> after = liveNames();
    for (std::size_t kind = 0; kind < after.size(); ++kind) {
        EXPECT_EQ(after[kind], before[kind]) << nameKinds()[kind].name << " left behind";
    }
}
