#pragma once

#include "model/Mesh.h"

#include <assimp/anim.h>
#include <assimp/matrix4x4.h>
#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>
#include <string>
#include <vector>

struct aiAnimation;
struct aiMesh;
struct aiNode;
class Model;

// A clip that states no tick rate plays at this many ticks per second.
inline constexpr double kDefaultTicksPerSecond = 240.0;

// Copies Assimp's row-major matrix into GLM's column-major one so both denote the same matrix.
glm::mat4 toGlm(const aiMatrix4x4& matrix);

// Gives every bone the mesh names a model-wide index and records up to four weighted bones
// per vertex. Weights naming a vertex the mesh does not have are ignored.
void addMeshBones(Model& model, const aiMesh* mesh, std::vector<VertexBoneData>& boneData);

// The channel of `clip` that animates the node called `nodeName`, or nullptr.
const aiNodeAnim* findNodeAnim(const aiAnimation* clip, const std::string& nodeName);

// Index i of the key pair (i, i + 1) that brackets t. When no pair does (t at or after the
// last key, or fewer than two keys) it returns the last key's index, so a caller that finds
// i + 1 == count holds that key instead of reading past the track.
template <typename Key> unsigned int findKeyIndex(float t, const Key* keys, unsigned int count) {
    for (unsigned int i = 0; i + 1 < count; ++i) {
        if (t < static_cast<float>(keys[i + 1].mTime)) {
            return i;
        }
    }
    return count == 0 ? 0 : count - 1;
}

// Blend factor of t between two key times. A t before the first key of a track holds that
// key rather than extrapolating backwards.
float keyFactor(float t, double earlierTime, double laterTime);

glm::vec3 interpolateScaling(float t, const aiNodeAnim* channel);
glm::vec3 interpolatePosition(float t, const aiNodeAnim* channel);
// Normalised spherical blend along the shorter arc; nearly equal keys blend linearly.
glm::quat interpolateRotation(float t, const aiNodeAnim* channel);

// T x R x S sampled from the channel at t, or the node's own transformation without one.
glm::mat4 nodeLocalTransform(float t, const aiNode* node, const aiNodeAnim* channel);

// The whole tick of a clip that `seconds` of the running clock land on: the clip loops after
// its duration. A clip without a positive duration stays on tick 0.
float clipTime(double ticksPerSecond, double duration, float seconds);

// SDL's millisecond tick counter as seconds of the animation clock.
float ticksToSeconds(unsigned int milliseconds);
