#include "model/Model.h"
#include "render/Shader.h"

#include "support/GlTestEnvironment.h"

#include <glad/gl.h>

#include <gtest/gtest.h>
#include <memory>
#include <string>

// An animated draw poses the skeleton and uploads each bone to its own array element.
TEST(ModelBoneUpload, AnimatedDrawUploadsEveryBoneOfThePoseItDrew) {
    Model model("assets\\objects\\character.fbx");
    ASSERT_GT(model.boneCount, 1u);
    auto shader = std::make_shared<Shader>("assets\\shader\\vertexShaderAnimation.vert",
                                           "assets\\shader\\fragmentShaderAnimation.frag");
    glUseProgram(shader->id);
    model.animationIndex = 1;
    model.draw(shader, true);
    model.draw(shader, true);

    ASSERT_EQ(model.boneMatrices.size(), model.boneCount);
    bool posed = false;
    for (unsigned int i = 0; i < model.boneCount; ++i) {
        const std::string name = "finalBoneMatrices[" + std::to_string(i) + "]";
        glm::mat4 uploaded(0.0f);
        glGetUniformfv(shader->id, glGetUniformLocation(shader->id, name.c_str()), &uploaded[0][0]);
        EXPECT_EQ(uploaded, model.boneMatrices[i]) << name;
        posed = posed || model.boneMatrices[i] != glm::mat4(1.0f);
    }
    EXPECT_TRUE(posed);
    EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
}
