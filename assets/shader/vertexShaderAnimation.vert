#version 430 core

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoords;
layout(location = 3) in ivec4 boneIds;
layout(location = 4) in vec4 weights;

// Room for every bone of the character with plenty to spare.
const int MAX_BONES = 100;
const int MAX_INFLUENCES = 4;

uniform mat4 finalBoneMatrices[MAX_BONES];
uniform mat4 modelMatrix;
uniform mat4 viewProjMatrix;

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 uv;

// Blend of the vertex's bone matrices by weight. Weights are renormalised so a vertex that
// lost an influence keeps its size, and a vertex without any weight stays where it is.
mat4 skinMatrix() {
    mat4 skin = mat4(0.0);
    float total = 0.0;
    for (int i = 0; i < MAX_INFLUENCES; ++i) {
        if (weights[i] > 0.0 && boneIds[i] >= 0 && boneIds[i] < MAX_BONES) {
            skin += finalBoneMatrices[boneIds[i]] * weights[i];
            total += weights[i];
        }
    }
    return total > 0.0 ? skin / total : mat4(1.0);
}

void main() {
    mat4 skinnedModel = modelMatrix * skinMatrix();
    vec4 world = skinnedModel * vec4(position, 1.0);
    worldPosition = world.xyz;
    worldNormal = transpose(inverse(mat3(skinnedModel))) * normal;
    uv = texCoords;
    gl_Position = viewProjMatrix * world;
}
