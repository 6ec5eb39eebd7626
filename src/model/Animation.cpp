#include "model/Animation.h"

#include "model/Model.h"

#include <algorithm>
#include <assimp/mesh.h>
#include <assimp/scene.h>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

namespace {

// Below this distance from 1 the two rotations are so close that sin(theta) loses precision.
constexpr float kNearlyEqualRotations = 0.0001f;

template <typename Key>
glm::vec3 interpolateVectorTrack(float t, const Key* keys, unsigned int count,
                                 const glm::vec3& fallback) {
    if (count == 0) {
        return fallback;
    }
    const unsigned int i = findKeyIndex(t, keys, count);
    const aiVector3D& a = keys[i].mValue;
    if (i + 1 >= count) {
        return {a.x, a.y, a.z};
    }
    const aiVector3D& b = keys[i + 1].mValue;
    const float f = keyFactor(t, keys[i].mTime, keys[i + 1].mTime);
    return {a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f, a.z + (b.z - a.z) * f};
}

glm::quat slerpShorterArc(const aiQuaternion& a, aiQuaternion b, float f) {
    float d = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
    if (d < 0.0f) {
        b = aiQuaternion(-b.w, -b.x, -b.y, -b.z);
        d = -d;
    }
    float ka = 1.0f - f;
    float kb = f;
    if (1.0f - d > kNearlyEqualRotations) {
        const float theta = std::acos(std::min(d, 1.0f));
        const float s = std::sin(theta);
        ka = std::sin((1.0f - f) * theta) / s;
        kb = std::sin(f * theta) / s;
    }
    glm::quat q(ka * a.w + kb * b.w, ka * a.x + kb * b.x, ka * a.y + kb * b.y, ka * a.z + kb * b.z);
    const float length = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
    if (length != 0.0f) {
        const float inverse = 1.0f / length;
        q = glm::quat(q.w * inverse, q.x * inverse, q.y * inverse, q.z * inverse);
    }
    return q;
}

} // namespace

glm::mat4 toGlm(const aiMatrix4x4& matrix) {
    glm::mat4 result(1.0f);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            result[column][row] = matrix[row][column];
        }
    }
    return result;
}

void addMeshBones(Model& model, const aiMesh* mesh, std::vector<VertexBoneData>& boneData) {
    boneData.assign(mesh->mNumVertices, VertexBoneData{});
    for (unsigned int b = 0; b < mesh->mNumBones; ++b) {
        const aiBone* bone = mesh->mBones[b];
        const std::string name(bone->mName.C_Str());
        unsigned int index = 0;
        const auto found = model.boneMapping.find(name);
        if (found == model.boneMapping.end()) {
            model.boneInfos.emplace_back();
            index = model.boneCount++;
        } else {
            index = found->second;
        }
        model.boneMapping[name] = index;
        model.boneInfos[index].offset = toGlm(bone->mOffsetMatrix);
        for (unsigned int w = 0; w < bone->mNumWeights; ++w) {
            const aiVertexWeight& weight = bone->mWeights[w];
            if (weight.mVertexId < boneData.size()) {
                boneData[weight.mVertexId].addBoneInfluence(index, weight.mWeight);
            }
        }
    }
}

const aiNodeAnim* findNodeAnim(const aiAnimation* clip, const std::string& nodeName) {
    for (unsigned int i = 0; i < clip->mNumChannels; ++i) {
        const aiNodeAnim* channel = clip->mChannels[i];
        if (std::string(channel->mNodeName.C_Str(), channel->mNodeName.length) == nodeName) {
            return channel;
        }
    }
    return nullptr;
}

float keyFactor(float t, double earlierTime, double laterTime) {
    const float span = static_cast<float>(laterTime - earlierTime);
    const float f = (t - static_cast<float>(earlierTime)) / span;
    return std::max(f, 0.0f);
}

glm::vec3 interpolateScaling(float t, const aiNodeAnim* channel) {
    return interpolateVectorTrack(t, channel->mScalingKeys, channel->mNumScalingKeys,
                                  glm::vec3(1.0f));
}

glm::vec3 interpolatePosition(float t, const aiNodeAnim* channel) {
    return interpolateVectorTrack(t, channel->mPositionKeys, channel->mNumPositionKeys,
                                  glm::vec3(0.0f));
}

glm::quat interpolateRotation(float t, const aiNodeAnim* channel) {
    const unsigned int count = channel->mNumRotationKeys;
    if (count == 0) {
        return glm::quat(1.0f, 0.0f, 0.0f, 0.0f);
    }
    const aiQuatKey* keys = channel->mRotationKeys;
    const unsigned int i = findKeyIndex(t, keys, count);
    const aiQuaternion& a = keys[i].mValue;
    if (i + 1 >= count) {
        return glm::quat(a.w, a.x, a.y, a.z);
    }
    return slerpShorterArc(a, keys[i + 1].mValue, keyFactor(t, keys[i].mTime, keys[i + 1].mTime));
}

glm::mat4 nodeLocalTransform(float t, const aiNode* node, const aiNodeAnim* channel) {
    if (channel == nullptr) {
        return toGlm(node->mTransformation);
    }
    const glm::vec3 scaling = interpolateScaling(t, channel);
    const glm::quat rotation = interpolateRotation(t, channel);
    const glm::vec3 position = interpolatePosition(t, channel);
    const glm::mat4 scale = glm::scale(glm::mat4(1.0f), scaling);
    const glm::mat4 rotate = glm::mat4_cast(rotation);
    const glm::mat4 translate = glm::translate(glm::mat4(1.0f), position);
    return translate * rotate * scale;
}

float clipTime(double ticksPerSecond, double duration, float seconds) {
    const double rate = ticksPerSecond != 0.0 ? ticksPerSecond : kDefaultTicksPerSecond;
    const float ticks = static_cast<float>(rate) * seconds;
    if (!(duration > 0.0) || !std::isfinite(ticks)) {
        return 0.0f;
    }
    const double wrapped = std::fmod(static_cast<double>(ticks), duration);
    return std::trunc(static_cast<float>(wrapped));
}

float ticksToSeconds(unsigned int milliseconds) {
    constexpr double kMillisecondsPerSecond = 1000.0;
    return static_cast<float>(static_cast<double>(milliseconds) / kMillisecondsPerSecond);
}
