// The shipped models as the game's own Model imports them: clips, skeleton, skinned poses
// computed on the CPU, prop sizes, and pictures of the character from behind and above.
#include "support/GlTestEnvironment.h"
#include "support/Screenshot.h"

#include "model/Model.h"
#include "render/Camera.h"
#include "render/Shader.h"

#include <glad/gl.h>

#include <assimp/scene.h>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Bounds {
    glm::vec3 low{1e9f};
    glm::vec3 high{-1e9f};
    void add(const glm::vec3& p) {
        low = glm::min(low, p);
        high = glm::max(high, p);
    }
};

// Skins every vertex the way the animation shader does.
Bounds skinnedBounds(Model& model, float seconds) {
    std::vector<glm::mat4> bones;
    model.boneTransform(seconds, bones);
    Bounds bounds;
    for (const Mesh& mesh : model.meshes) {
        for (std::size_t v = 0; v < mesh.vertices.size(); ++v) {
            const VertexBoneData& data = mesh.boneData[v];
            glm::mat4 skin(0.0f);
            float total = 0.0f;
            for (int k = 0; k < VertexBoneData::kMaxInfluences; ++k) {
                if (data.weights[k] > 0.0f) {
                    skin += bones.at(static_cast<std::size_t>(data.ids[k])) * data.weights[k];
                    total += data.weights[k];
                }
            }
            skin = total > 0.0f ? skin / total : glm::mat4(1.0f);
            bounds.add(glm::vec3(skin * glm::vec4(mesh.vertices[v].position, 1.0f)));
        }
    }
    return bounds;
}

Bounds staticBounds(const Model& model) {
    Bounds bounds;
    for (const Mesh& mesh : model.meshes) {
        for (const Vertex& vertex : mesh.vertices) {
            bounds.add(vertex.position);
        }
    }
    return bounds;
}

std::size_t triangleCount(const Model& model) {
    std::size_t count = 0;
    for (const Mesh& mesh : model.meshes) {
        count += mesh.indices.size() / 3;
    }
    return count;
}

class ShippedModels : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        character = std::make_unique<Model>("assets\\objects\\character.fbx");
        stone = std::make_unique<Model>("assets\\objects\\stone.obj");
        tree = std::make_unique<Model>("assets\\objects\\tree.obj");
        clock = std::make_unique<Model>("assets\\objects\\clock.obj");
    }
    static void TearDownTestSuite() {
        character.reset();
        stone.reset();
        tree.reset();
        clock.reset();
    }
    static std::unique_ptr<Model> character;
    static std::unique_ptr<Model> stone;
    static std::unique_ptr<Model> tree;
    static std::unique_ptr<Model> clock;
};
std::unique_ptr<Model> ShippedModels::character;
std::unique_ptr<Model> ShippedModels::stone;
std::unique_ptr<Model> ShippedModels::tree;
std::unique_ptr<Model> ShippedModels::clock;

constexpr int kJumpClip = 0;
constexpr int kRunClip = 1;

TEST_F(ShippedModels, CharacterHasJumpThenRunAndOneSkeleton) {
    ASSERT_NE(character->scene, nullptr);
    ASSERT_EQ(character->scene->mNumAnimations, 2u);
    EXPECT_NE(std::string(character->scene->mAnimations[kJumpClip]->mName.C_Str()).find("Jump"),
              std::string::npos);
    EXPECT_NE(std::string(character->scene->mAnimations[kRunClip]->mName.C_Str()).find("Run"),
              std::string::npos);
    EXPECT_GE(character->boneCount, 15u);
    EXPECT_LE(character->boneCount, 25u);
    EXPECT_EQ(character->boneInfos.size(), character->boneCount);
    EXPECT_LE(triangleCount(*character), 3000u);

    // Every track that needs a bracketing pair must reach the end of its clip.
    for (unsigned int a = 0; a < character->scene->mNumAnimations; ++a) {
        const aiAnimation* clip = character->scene->mAnimations[a];
        for (unsigned int c = 0; c < clip->mNumChannels; ++c) {
            const aiNodeAnim* channel = clip->mChannels[c];
            if (channel->mNumRotationKeys >= 2) {
                EXPECT_GE(channel->mRotationKeys[channel->mNumRotationKeys - 1].mTime,
                          clip->mDuration);
            }
            if (channel->mNumPositionKeys >= 2) {
                EXPECT_GE(channel->mPositionKeys[channel->mNumPositionKeys - 1].mTime,
                          clip->mDuration);
            }
        }
    }
}

TEST_F(ShippedModels, CharacterVerticesHaveAtMostFourInfluencesAndAMaterial) {
    const aiScene* scene = character->scene;
    ASSERT_NE(scene, nullptr);
    for (unsigned int m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        std::map<unsigned int, int> influences;
        for (unsigned int b = 0; b < mesh->mNumBones; ++b) {
            for (unsigned int w = 0; w < mesh->mBones[b]->mNumWeights; ++w) {
                if (mesh->mBones[b]->mWeights[w].mWeight > 0.0f) {
                    ++influences[mesh->mBones[b]->mWeights[w].mVertexId];
                }
            }
        }
        EXPECT_EQ(influences.size(), mesh->mNumVertices) << "every vertex follows a bone";
        for (const auto& [vertex, count] : influences) {
            EXPECT_LE(count, VertexBoneData::kMaxInfluences) << "vertex " << vertex;
        }
    }
    for (const Mesh& mesh : character->meshes) {
        EXPECT_GT(glm::length(mesh.material.ambient), 0.05f) << "ambient must not be black";
        EXPECT_GT(glm::length(mesh.material.diffuse), 0.05f);
        EXPECT_GT(mesh.material.shininess, 1.0f);
    }
}

TEST_F(ShippedModels, CharacterStaysUprightAndAboutFiveHundredUnitsTallInEveryTick) {
    for (int clipIndex : {kJumpClip, kRunClip}) {
        character->animationIndex = clipIndex;
        const aiAnimation* clip = character->scene->mAnimations[clipIndex];
        const int ticks = static_cast<int>(clip->mDuration);
        for (int tick = 0; tick < ticks; ++tick) {
            const float seconds = static_cast<float>(tick / clip->mTicksPerSecond);
            const Bounds pose = skinnedBounds(*character, seconds);
            SCOPED_TRACE("clip " + std::to_string(clipIndex) + " tick " + std::to_string(tick));
            // Head up, roughly centred over the feet, never sunk into or far above the ground.
            EXPECT_GT(pose.high.y, 460.0f);
            EXPECT_LT(pose.high.y, 560.0f);
            EXPECT_GT(pose.low.y, -20.0f);
            EXPECT_LT(std::abs(pose.low.x + pose.high.x) / 2.0f, 40.0f);
            EXPECT_LT(pose.high.x - pose.low.x, 650.0f) << "arms spread at most";
            EXPECT_LT(pose.high.z - pose.low.z, 400.0f);
            if (clipIndex == kRunClip) {
                EXPECT_LT(pose.low.y, 20.0f) << "a running foot touches the ground";
            } else {
                EXPECT_GT(pose.low.y, 60.0f) << "both feet are drawn up in the air";
            }
        }
    }
    character->animationIndex = 0;
}

// Where a bone's joint is once posed, in the model's own space: its skinning matrix applied to
// the joint's rest position, which the inverse of the bone's offset gives.
glm::vec3 jointAt(const Model& model, const std::string& bone) {
    const BoneInfo& info = model.boneInfos.at(model.boneMapping.at(bone));
    return glm::vec3(info.finalTransform * glm::inverse(info.offset) * glm::vec4(0, 0, 0, 1));
}

// Seen from behind and above at a few dozen pixels, a jump with the arms held out sideways
// reads as a model that failed to animate, and one with both legs tucked alike as a hop on the
// spot. These catch a jump clip whose arms are spread sideways (the T-pose it once had), whose
// arms hang or stay side by side instead of swinging one forward and one back, or whose legs
// are posed alike instead of in a stride, at any tick the clip may start from.
TEST_F(ShippedModels, JumpSwingsTheArmsForwardAndBackAndStridesInEveryTick) {
    character->animationIndex = kJumpClip;
    const aiAnimation* clip = character->scene->mAnimations[kJumpClip];
    std::vector<glm::mat4> bones;
    for (const int tick : {0, 3, 6, 9}) {
        character->boneTransform(static_cast<float>(tick / clip->mTicksPerSecond), bones);
        SCOPED_TRACE("tick " + std::to_string(tick));
        for (const char* side : {"L", "R"}) {
            const glm::vec3 arm = jointAt(*character, std::string("hand.") + side) -
                                  jointAt(*character, std::string("upper_arm.") + side);
            EXPECT_LT(std::abs(arm.x), 0.5f * glm::length(arm))
                << side << ": the arm reaches out sideways";
        }
        const float handsApart = jointAt(*character, "hand.R").z - jointAt(*character, "hand.L").z;
        EXPECT_GT(handsApart, 120.0f) << "the right hand swings forward, the left one back";
        const float kneesApart =
            jointAt(*character, "lower_leg.L").z - jointAt(*character, "lower_leg.R").z;
        EXPECT_GT(kneesApart, 60.0f) << "the left knee leads, the right leg trails";
    }
    character->animationIndex = 0;
}

TEST_F(ShippedModels, CharacterWithoutAClipAtItsIndexKeepsItsRestPose) {
    const Bounds rest = staticBounds(*character);
    for (int index : {-1, 2, 1000}) {
        character->animationIndex = index;
        const Bounds pose = skinnedBounds(*character, 0.5f);
        EXPECT_NEAR(pose.low.y, rest.low.y, 1.0f) << index;
        EXPECT_NEAR(pose.high.y, rest.high.y, 1.0f) << index;
        EXPECT_NEAR(pose.high.x, rest.high.x, 1.0f) << index;
    }
    character->animationIndex = 0;
    EXPECT_NEAR(rest.low.y, 0.0f, 1.0f) << "feet on the ground";
    EXPECT_NEAR(rest.high.y, 500.0f, 15.0f);
}

TEST_F(ShippedModels, StoneAndClockFillTheirUnitBoxes) {
    for (const Model* model : {stone.get(), clock.get()}) {
        const Bounds bounds = staticBounds(*model);
        EXPECT_NEAR(bounds.low.x, -0.5f, 1e-3f);
        EXPECT_NEAR(bounds.high.x, 0.5f, 1e-3f);
        EXPECT_NEAR(bounds.low.y, 0.0f, 1e-3f);
        EXPECT_NEAR(bounds.high.y, 1.0f, 1e-3f);
        EXPECT_NEAR(bounds.low.z, -0.5f, 1e-3f);
        EXPECT_NEAR(bounds.high.z, 0.5f, 1e-3f);
        EXPECT_LE(triangleCount(*model), 300u);
        EXPECT_EQ(model->boneCount, 0u);
    }
}

TEST_F(ShippedModels, TreeStaysWithinItsHeightAndCrown) {
    const Bounds bounds = staticBounds(*tree);
    EXPECT_NEAR(bounds.low.y, 0.0f, 1e-3f);
    EXPECT_GE(bounds.high.y, 12.0f);
    EXPECT_LE(bounds.high.y, 16.0f);
    float crown = 0.0f;
    for (const Mesh& mesh : tree->meshes) {
        for (const Vertex& vertex : mesh.vertices) {
            crown = std::max(crown, glm::length(glm::vec2(vertex.position.x, vertex.position.z)));
        }
    }
    // Drawn at x = -2 and x = 4 at scale 0.3, a wider crown would reach over the path.
    EXPECT_LT(crown, 5.0f);
    EXPECT_LE(triangleCount(*tree), 400u);
}

TEST_F(ShippedModels, PropTrianglesWindCounterClockwiseFromOutside) {
    for (const Model* model : {stone.get(), clock.get(), tree.get()}) {
        for (const Mesh& mesh : model->meshes) {
            for (std::size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
                const Vertex& a = mesh.vertices[mesh.indices[i]];
                const Vertex& b = mesh.vertices[mesh.indices[i + 1]];
                const Vertex& c = mesh.vertices[mesh.indices[i + 2]];
                const glm::vec3 winding =
                    glm::cross(b.position - a.position, c.position - a.position);
                ASSERT_GT(glm::dot(winding, a.normal), 0.0f) << "triangle " << i / 3;
            }
        }
    }
}

// Draws the game's view: camera behind and above, character, stones, clock and trees.
class ScenePainter {
  public:
    ScenePainter()
        : shader(std::make_shared<Shader>("assets\\shader\\vertexShaderAnimation.vert",
                                          "assets\\shader\\fragmentShaderAnimation.frag")) {}

    void begin(const Camera& camera) const {
        glClearColor(0.45f, 0.62f, 0.85f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glUseProgram(shader->id);
        shader->setMat4("viewProjMatrix", sceneProjection() * camera.getViewMatrix());
        shader->setVec3("camera_world", camera.position);
        shader->setFloat("brightness", 0.3f);
        shader->setVec3("dirL.color", glm::vec3(0.2f));
        shader->setVec3("dirL.direction", glm::normalize(glm::vec3(0.0f, -1.0f, -1.0f)));
        shader->setVec3("pointL.color", glm::vec3(1.0f));
        shader->setVec3("pointL.position", glm::vec3(0.0f));
        shader->setVec3("pointL.attenuation", glm::vec3(1.0f, 0.2f, 0.1f));
    }

    void character(Model& model, glm::vec3 position, int clip, float seconds,
                   float heading = 0.0f) const {
        model.animationIndex = clip;
        std::vector<glm::mat4> bones;
        model.boneTransform(seconds, bones);
        glUseProgram(shader->id);
        for (std::size_t i = 0; i < bones.size(); ++i) {
            shader->setMat4("finalBoneMatrices[" + std::to_string(i) + "]", bones[i]);
        }
        glm::mat4 matrix = glm::translate(glm::mat4(1.0f), position);
        matrix = glm::scale(matrix, glm::vec3(0.0025f));
        matrix = glm::rotate(matrix, heading * kDegToRad, glm::vec3(0, 1, 0));
        shader->setMat4("modelMatrix", matrix);
        model.draw(shader, false);
    }

    void prop(Model& model, glm::vec3 position, glm::vec3 scale, float turn = 0.0f) const {
        glUseProgram(shader->id);
        glm::mat4 matrix = glm::translate(glm::mat4(1.0f), position);
        matrix = glm::scale(matrix, scale);
        matrix = glm::rotate(matrix, turn, glm::vec3(0, 1, 0));
        shader->setMat4("modelMatrix", matrix);
        model.draw(shader, false);
    }

    std::shared_ptr<Shader> shader;
};

Camera cameraBehind(glm::vec3 target, float distance, float yaw = 0.0f, float pitch = 45.0f) {
    Camera camera;
    camera.distance = distance;
    camera.pitch = pitch;
    camera.follow(target, yaw);
    return camera;
}

bool isBackground(const Rgb& pixel) {
    return pixel.r == 115 && pixel.g == 158 && pixel.b == 217;
}

TEST_F(ShippedModels, GameViewFromBehindAndAbove) {
    const ScenePainter painter;
    const Camera camera = cameraBehind({1.0f, 0.0f, 0.0f}, Camera::kDefaultDistance);
    painter.begin(camera);
    for (int row = -1; row < 8; ++row) {
        const float z = 5.0f * static_cast<float>(row);
        painter.prop(*tree, {-2.0f, 0.0f, z}, glm::vec3(0.3f));
        painter.prop(*tree, {4.0f, 0.0f, z}, glm::vec3(0.3f));
        painter.prop(*tree, {-6.0f, 0.0f, z}, glm::vec3(0.3f));
        painter.prop(*tree, {8.0f, 0.0f, z}, glm::vec3(0.5f));
    }
    painter.prop(*stone, {2.0f, 0.0f, 7.0f}, {1.0f, 2.5f, 1.0f});
    painter.prop(*stone, {1.0f, 0.0f, 4.0f}, {1.0f, 0.8f, 0.4f});
    painter.prop(*stone, {0.0f, 0.0f, 12.0f}, {1.0f, 2.5f, 1.0f});
    painter.prop(*clock, {0.5f, 1.0f, 3.0f}, glm::vec3(0.5f), 1.5707964f);
    painter.character(*character, {0.0f, 0.0f, 0.0f}, kRunClip, 0.25f);
    // Every prop and the character is drawn from outside with back faces culled.
    EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
    EXPECT_FALSE(saveScreenshot("model_game_view").empty());
}

TEST_F(ShippedModels, RunAndJumpPosesFromBehindAndFromTheSide) {
    const ScenePainter painter;
    for (const auto& [name, yaw] : {std::pair{"behind", 0.0f}, std::pair{"side", 90.0f}}) {
        const Camera camera = yaw == 0.0f ? cameraBehind({2.6f, 0.7f, 0.0f}, 6.5f, yaw)
                                          : cameraBehind({1.2f, 1.2f, 0.0f}, 7.0f, yaw, 10.0f);
        painter.begin(camera);
        for (int i = 0; i < 4; ++i) {
            const float offset = static_cast<float>(i) * 1.2f;
            const glm::vec3 runAt =
                yaw == 0.0f ? glm::vec3(offset, 0.0f, 0.0f) : glm::vec3(0.0f, 0.0f, 1.8f - offset);
            const glm::vec3 jumpAt =
                runAt + (yaw == 0.0f ? glm::vec3(0.0f, 1.0f, 2.5f) : glm::vec3(2.5f, 1.6f, 0.0f));
            painter.character(*character, runAt, kRunClip, static_cast<float>(i) * 4 / 24.0f);
            painter.character(*character, jumpAt, kJumpClip, static_cast<float>(i) * 3 / 24.0f);
        }
        EXPECT_FALSE(saveScreenshot(std::string("model_character_poses_") + name).empty());
    }
}

TEST_F(ShippedModels, AnimatedDrawOfTheCharacterCoversPixels) {
    const ScenePainter painter;
    const Camera camera = cameraBehind({0.0f, 0.6f, 0.0f}, 4.0f);
    painter.begin(camera);
    glm::mat4 matrix = glm::scale(glm::mat4(1.0f), glm::vec3(0.0025f));
    painter.shader->setMat4("modelMatrix", matrix);
    character->animationIndex = kRunClip;
    character->draw(painter.shader, true);
    EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
    EXPECT_FALSE(isBackground(readPixel(400, 300))) << "the back of the running character";
    EXPECT_TRUE(isBackground(readPixel(20, 20)));
}

} // namespace
