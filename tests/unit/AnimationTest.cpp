// Key search, interpolation, clip time and the bone table: everything of the animator that
// needs no GL context.
#include "model/Animation.h"
#include "model/Model.h"

#include <assimp/anim.h>
#include <assimp/mesh.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

// A channel whose three tracks share the given key times; position x and scale x equal the
// time, rotations turn about +z by the given angles.
aiNodeAnim* makeChannel(const std::vector<double>& times, const std::vector<float>& angles = {}) {
    auto* channel = new aiNodeAnim();
    const auto count = static_cast<unsigned int>(times.size());
    channel->mNumPositionKeys = channel->mNumScalingKeys = channel->mNumRotationKeys = count;
    channel->mPositionKeys = new aiVectorKey[count];
    channel->mScalingKeys = new aiVectorKey[count];
    channel->mRotationKeys = new aiQuatKey[count];
    for (unsigned int i = 0; i < count; ++i) {
        const auto value = static_cast<float>(times[i]);
        channel->mPositionKeys[i] = aiVectorKey(times[i], aiVector3D(value, 1.0f, 0.0f));
        channel->mScalingKeys[i] = aiVectorKey(times[i], aiVector3D(value, 1.0f, 1.0f));
        const float angle = angles.empty() ? 0.0f : angles[i];
        channel->mRotationKeys[i] =
            aiQuatKey(times[i], aiQuaternion(aiVector3D(0.0f, 0.0f, 1.0f), angle));
    }
    return channel;
}

float angleAboutZ(const glm::quat& q) {
    return 2.0f * std::atan2(q.z, q.w);
}

TEST(KeySearch, FindsTheBracketingPairAndHoldsTheLastKey) {
    const aiVectorKey keys[] = {{0.0, {}}, {10.0, {}}, {20.0, {}}};
    EXPECT_EQ(findKeyIndex(15.0f, keys, 3u), 1u);
    EXPECT_EQ(findKeyIndex(0.0f, keys, 3u), 0u);
    EXPECT_EQ(findKeyIndex(9.99f, keys, 3u), 0u);
    // Exactly on a key selects the pair that starts there.
    EXPECT_EQ(findKeyIndex(10.0f, keys, 3u), 1u);
    // At or past the last key, and for a single key, the last key is held.
    EXPECT_EQ(findKeyIndex(20.0f, keys, 3u), 2u);
    EXPECT_EQ(findKeyIndex(25.0f, keys, 3u), 2u);
    EXPECT_EQ(findKeyIndex(5.0f, keys, 1u), 0u);
}

TEST(KeySearch, InterpolatesBetweenKeysAndHoldsOutsideTheTrack) {
    aiNodeAnim* channel = makeChannel({0.0, 10.0, 20.0});
    EXPECT_FLOAT_EQ(interpolatePosition(15.0f, channel).x, 15.0f);
    EXPECT_FLOAT_EQ(interpolateScaling(15.0f, channel).x, 15.0f);
    EXPECT_FLOAT_EQ(interpolatePosition(10.0f, channel).x, 10.0f) << "f is 0 on a key";
    EXPECT_FLOAT_EQ(interpolatePosition(26.0f, channel).x, 20.0f) << "no extrapolation forward";
    delete channel;

    aiNodeAnim* late = makeChannel({4.0, 8.0});
    EXPECT_FLOAT_EQ(interpolatePosition(1.0f, late).x, 4.0f) << "no extrapolation backward";
    EXPECT_FLOAT_EQ(keyFactor(6.0f, 4.0, 8.0), 0.5f);
    delete late;

    aiNodeAnim* single = makeChannel({3.0});
    EXPECT_FLOAT_EQ(interpolatePosition(9.0f, single).x, 3.0f);
    delete single;
}

TEST(KeySearch, EmptyTracksGiveTheNeutralTransform) {
    auto* channel = new aiNodeAnim();
    EXPECT_EQ(interpolateScaling(1.0f, channel), glm::vec3(1.0f));
    EXPECT_EQ(interpolatePosition(1.0f, channel), glm::vec3(0.0f));
    const glm::quat rotation = interpolateRotation(1.0f, channel);
    EXPECT_FLOAT_EQ(rotation.w, 1.0f);
    delete channel;
}

TEST(RotationBlend, TakesTheShorterArcAndNormalises) {
    // 170 and -170 degrees are 20 degrees apart across 180; half way is 180, not 0.
    const float a = glm::radians(170.0f);
    const float b = glm::radians(190.0f);
    aiNodeAnim* channel = makeChannel({0.0, 10.0}, {a, b});
    channel->mRotationKeys[1].mValue = aiQuaternion(aiVector3D(0.0f, 0.0f, 1.0f), b);
    channel->mRotationKeys[1].mValue.w *= -1.0f;
    channel->mRotationKeys[1].mValue.z *= -1.0f; // the same rotation, opposite sign
    const glm::quat middle = interpolateRotation(5.0f, channel);
    EXPECT_NEAR(std::abs(angleAboutZ(middle)), glm::radians(180.0f), 1e-3f);
    EXPECT_NEAR(glm::length(middle), 1.0f, 1e-5f);
    delete channel;

    // Nearly equal keys blend linearly and still come out of unit length.
    aiNodeAnim* close = makeChannel({0.0, 10.0}, {0.3f, 0.3001f});
    const glm::quat blended = interpolateRotation(5.0f, close);
    EXPECT_NEAR(glm::length(blended), 1.0f, 1e-6f);
    EXPECT_NEAR(angleAboutZ(blended), 0.30005f, 1e-4f);
    delete close;

    aiNodeAnim* quarter = makeChannel({0.0, 10.0}, {0.0f, glm::radians(90.0f)});
    EXPECT_NEAR(angleAboutZ(interpolateRotation(5.0f, quarter)), glm::radians(45.0f), 1e-5f);
    delete quarter;
}

TEST(NodeTransform, ComposesTranslationRotationScaleOrUsesTheNodeOwn) {
    aiNode node;
    node.mTransformation = aiMatrix4x4(1, 0, 0, 7, 0, 1, 0, 8, 0, 0, 1, 9, 0, 0, 0, 1);
    const glm::mat4 own = nodeLocalTransform(3.0f, &node, nullptr);
    EXPECT_EQ(own[3], glm::vec4(7, 8, 9, 1)) << "row-major translation lands in column 3";

    aiNodeAnim* channel = makeChannel({0.0, 10.0}, {0.0f, glm::radians(90.0f)});
    // At t = 5: scale (5, 1, 1), an eighth turn about z, translation (5, 1, 0).
    const glm::vec4 moved = nodeLocalTransform(5.0f, &node, channel) * glm::vec4(1, 0, 0, 1);
    const float diagonal = 5.0f * std::sqrt(0.5f);
    EXPECT_NEAR(moved.x, 5.0f + diagonal, 1e-4f);
    EXPECT_NEAR(moved.y, 1.0f + diagonal, 1e-4f) << "scaled first, then turned, then moved";
    EXPECT_NEAR(moved.z, 0.0f, 1e-4f);
    delete channel;
}

TEST(ClipTime, AdvancesInWholeTicksAndLoops) {
    EXPECT_FLOAT_EQ(clipTime(30.0, 20.0, 1.5f), 5.0f);
    EXPECT_FLOAT_EQ(clipTime(24.0, 40.0, ticksToSeconds(1234)), 29.0f);
    // A clip without a rate plays at 240 ticks a second: 0.1 s is tick 24.
    EXPECT_FLOAT_EQ(clipTime(0.0, 100.0, 0.1f), 24.0f);
    EXPECT_FLOAT_EQ(clipTime(24.0, 16.0, 0.0f), 0.0f);
    // Degenerate durations stay on the first tick instead of dividing by zero.
    EXPECT_FLOAT_EQ(clipTime(24.0, 0.0, 3.0f), 0.0f);
    EXPECT_FLOAT_EQ(clipTime(24.0, -5.0, 3.0f), 0.0f);
    // Days of SDL ticks still land inside the clip.
    const float late = clipTime(24.0, 16.0, ticksToSeconds(4000000000u));
    EXPECT_GE(late, 0.0f);
    EXPECT_LT(late, 16.0f);
}

TEST(ClipTime, MillisecondsBecomeSeconds) {
    EXPECT_FLOAT_EQ(ticksToSeconds(1500), 1.5f);
    EXPECT_FLOAT_EQ(ticksToSeconds(0), 0.0f);
}

// A scene mesh with the named bones, each weighting the listed (vertex, weight) pairs.
aiMesh*
makeSkinnedMesh(unsigned int vertexCount,
                const std::vector<std::pair<const char*, std::vector<aiVertexWeight>>>& bones,
                float offsetX = 0.0f) {
    auto* mesh = new aiMesh();
    mesh->mNumVertices = vertexCount;
    mesh->mVertices = new aiVector3D[vertexCount];
    mesh->mNumBones = static_cast<unsigned int>(bones.size());
    mesh->mBones = new aiBone*[bones.size()];
    for (std::size_t b = 0; b < bones.size(); ++b) {
        auto* bone = new aiBone();
        bone->mName = aiString(bones[b].first);
        bone->mOffsetMatrix = aiMatrix4x4();
        bone->mOffsetMatrix.a4 = offsetX;
        bone->mNumWeights = static_cast<unsigned int>(bones[b].second.size());
        bone->mWeights = new aiVertexWeight[bone->mNumWeights];
        std::copy(bones[b].second.begin(), bones[b].second.end(), bone->mWeights);
        mesh->mBones[b] = bone;
    }
    return mesh;
}

class BoneTable : public testing::Test {
  protected:
    void SetUp() override {
        testing::internal::CaptureStdout();
        model = std::make_unique<Model>("no-such-model.fbx");
        testing::internal::GetCapturedStdout();
    }
    std::unique_ptr<Model> model;
};

TEST_F(BoneTable, SharedSkeletonGivesEachBoneOneIndex) {
    aiMesh* first = makeSkinnedMesh(2, {{"hips", {{0, 1.0f}}}, {"spine", {{1, 1.0f}}}}, 1.0f);
    aiMesh* second = makeSkinnedMesh(2, {{"spine", {{0, 0.5f}}}, {"head", {{1, 1.0f}}}}, 2.0f);
    std::vector<VertexBoneData> firstData;
    std::vector<VertexBoneData> secondData;
    addMeshBones(*model, first, firstData);
    addMeshBones(*model, second, secondData);

    EXPECT_EQ(model->boneCount, 3u);
    ASSERT_EQ(model->boneInfos.size(), 3u);
    EXPECT_EQ(model->boneMapping.at("hips"), 0u);
    EXPECT_EQ(model->boneMapping.at("spine"), 1u);
    EXPECT_EQ(model->boneMapping.at("head"), 2u);
    EXPECT_EQ(secondData[0].ids[0], 1) << "spine keeps its first index in the second mesh";
    EXPECT_FLOAT_EQ(secondData[0].weights[0], 0.5f);
    EXPECT_FLOAT_EQ(model->boneInfos[1].offset[3][0], 2.0f) << "the last mesh sets the offset";
    delete first;
    delete second;
}

TEST_F(BoneTable, AFifthInfluenceIsDroppedAndAZeroWeightLeavesItsSlotFree) {
    aiMesh* mesh = makeSkinnedMesh(1, {{"a", {{0, 0.1f}}},
                                       {"b", {{0, 0.0f}}},
                                       {"c", {{0, 0.2f}}},
                                       {"d", {{0, 0.3f}}},
                                       {"e", {{0, 0.4f}}},
                                       {"f", {{0, 0.5f}}}});
    std::vector<VertexBoneData> data;
    addMeshBones(*model, mesh, data);
    ASSERT_EQ(data.size(), 1u);
    // b's zero weight is overwritten by c; f comes fifth and finds no free slot.
    const int expectedIds[] = {0, 2, 3, 4};
    const float expectedWeights[] = {0.1f, 0.2f, 0.3f, 0.4f};
    for (int k = 0; k < VertexBoneData::kMaxInfluences; ++k) {
        EXPECT_EQ(data[0].ids[k], expectedIds[k]) << k;
        EXPECT_FLOAT_EQ(data[0].weights[k], expectedWeights[k]) << k;
    }
    delete mesh;
}

TEST_F(BoneTable, WeightsNamingMissingVerticesAreIgnored) {
    aiMesh* mesh = makeSkinnedMesh(2, {{"a", {{1, 1.0f}, {7, 1.0f}}}});
    std::vector<VertexBoneData> data;
    addMeshBones(*model, mesh, data);
    ASSERT_EQ(data.size(), 2u);
    EXPECT_FLOAT_EQ(data[0].weights[0], 0.0f);
    EXPECT_FLOAT_EQ(data[1].weights[0], 1.0f);
    delete mesh;
}

} // namespace
