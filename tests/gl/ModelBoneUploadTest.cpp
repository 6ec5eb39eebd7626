#include "model/Model.h"
#include "render/Shader.h"

#include "support/GlTestEnvironment.h"

#include <glad/gl.h>

#include <glm/ext/matrix_relational.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<glm::mat4> uploadedBones(const Shader& shader, unsigned int count) {
    std::vector<glm::mat4> bones(count, glm::mat4(0.0f));
    for (unsigned int i = 0; i < count; ++i) {
        const std::string name = "finalBoneMatrices[" + std::to_string(i) + "]";
        glGetUniformfv(shader.id, glGetUniformLocation(shader.id, name.c_str()), &bones[i][0][0]);
    }
    return bones;
}

} // namespace

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
    EXPECT_EQ(uploadedBones(*shader, model.boneCount), model.boneMatrices);
    bool posed = false;
    for (const glm::mat4& bone : model.boneMatrices) {
        posed = posed || bone != glm::mat4(1.0f);
    }
    EXPECT_TRUE(posed);

    // The root node's own transformation is the first factor of every bone matrix. Without a
    // clip the rest pose is drawn, the same at every tick of the clock.
    model.animationIndex = -1;
    model.rootTransform = glm::mat4(1.0f);
    model.draw(shader, true);
    const std::vector<glm::mat4> unrooted = uploadedBones(*shader, model.boneCount);
    const glm::mat4 root =
        glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(1.0f, 2.0f, 3.0f)), glm::vec3(2.0f));
    model.rootTransform = root;
    model.draw(shader, true);
    const std::vector<glm::mat4> rooted = uploadedBones(*shader, model.boneCount);
    for (unsigned int i = 0; i < model.boneCount; ++i) {
        EXPECT_TRUE(glm::all(glm::equal(rooted[i], root * unrooted[i], 1e-3f))) << "bone " << i;
    }
    EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
}
