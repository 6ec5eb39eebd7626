#include "model/Mesh.h"

#include "render/Shader.h"
#include "render/TriangleDraw.h"

#include <glad/gl.h>

#include <assimp/material.h>
#include <assimp/mesh.h>
#include <cstddef>
#include <utility>

void VertexBoneData::addBoneInfluence(unsigned int boneIndex, float weight) {
    for (int slot = 0; slot < kMaxInfluences; ++slot) {
        if (weights[slot] == 0.0f) {
            ids[slot] = static_cast<int>(boneIndex);
            weights[slot] = weight;
            return;
        }
    }
}

std::vector<Vertex> extractVertices(const aiMesh* mesh) {
    std::vector<Vertex> vertices;
    vertices.reserve(mesh->mNumVertices);
    const bool hasNormals = mesh->mNormals != nullptr && mesh->mNumVertices > 0;
    const aiVector3D* uvs = mesh->mTextureCoords[0];
    for (unsigned int i = 0; i < mesh->mNumVertices; ++i) {
        Vertex vertex;
        const aiVector3D& p = mesh->mVertices[i];
        vertex.position = {p.x, p.y, p.z};
        if (hasNormals) {
            const aiVector3D& n = mesh->mNormals[i];
            vertex.normal = {n.x, n.y, n.z};
        }
        if (uvs != nullptr) {
            vertex.texCoords = {uvs[i].x, uvs[i].y};
        }
        vertices.push_back(vertex);
    }
    return vertices;
}

std::vector<unsigned int> extractIndices(const aiMesh* mesh) {
    constexpr unsigned int kTriangleCorners = 3;
    std::vector<unsigned int> indices;
    indices.reserve(mesh->mNumVertices);
    for (unsigned int f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        if (face.mNumIndices != kTriangleCorners) {
            continue;
        }
        const unsigned int* corner = face.mIndices;
        if (corner[0] >= mesh->mNumVertices || corner[1] >= mesh->mNumVertices ||
            corner[2] >= mesh->mNumVertices) {
            continue;
        }
        indices.insert(indices.end(), corner, corner + kTriangleCorners);
    }
    return indices;
}

MeshMaterial readMeshMaterial(const aiMaterial* material) {
    MeshMaterial result;
    result.shininess = kDefaultShininess;
    if (material == nullptr) {
        return result;
    }
    const auto readColour = [material](const char* key, glm::vec3& out) {
        aiColor4D colour(0.0f, 0.0f, 0.0f, 0.0f);
        aiGetMaterialColor(material, key, 0, 0, &colour);
        out = {colour.r, colour.g, colour.b};
    };
    readColour("$clr.diffuse", result.diffuse);
    readColour("$clr.ambient", result.ambient);
    readColour("$clr.specular", result.specular);
    aiGetMaterialFloatArray(material, "$mat.shininess", 0, 0, &result.shininess, nullptr);
    return result;
}

Mesh::Mesh(std::vector<Vertex> vertices, std::vector<unsigned int> indices,
           std::vector<ModelTexture> textures, MeshMaterial material,
           std::vector<VertexBoneData> boneData)
    : vertices(std::move(vertices)), indices(std::move(indices)), textures(std::move(textures)),
      material(material), linearMaterial(linearMaterialOf(material)),
      boneData(std::move(boneData)) {
    setupMesh();
}

void Mesh::setupMesh() {
    glGenVertexArrays(1, &vao);
    glGenBuffers(1, &vbo);
    glGenBuffers(1, &ebo);
    glGenBuffers(1, &boneVbo);
    glBindVertexArray(vao);

    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)),
                 vertices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ebo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(indices.size() * sizeof(unsigned int)), indices.data(),
                 GL_STATIC_DRAW);

    constexpr GLsizei kVertexStride = sizeof(Vertex);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, kVertexStride,
                          reinterpret_cast<const void*>(offsetof(Vertex, position)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, kVertexStride,
                          reinterpret_cast<const void*>(offsetof(Vertex, normal)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, kVertexStride,
                          reinterpret_cast<const void*>(offsetof(Vertex, texCoords)));

    // Every mesh carries bone data, all zero for static models, so one vertex layout serves
    // both the plain and the skinned programs.
    constexpr GLsizei kBoneStride = sizeof(VertexBoneData);
    glBindBuffer(GL_ARRAY_BUFFER, boneVbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(boneData.size() * sizeof(VertexBoneData)),
                 boneData.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(3);
    glVertexAttribIPointer(3, VertexBoneData::kMaxInfluences, GL_INT, kBoneStride,
                           reinterpret_cast<const void*>(offsetof(VertexBoneData, ids)));
    glEnableVertexAttribArray(4);
    glVertexAttribPointer(4, VertexBoneData::kMaxInfluences, GL_FLOAT, GL_FALSE, kBoneStride,
                          reinterpret_cast<const void*>(offsetof(VertexBoneData, weights)));

    glBindVertexArray(0);
}

glm::vec3 linearFromDisplay(const glm::vec3& displayColour) {
    constexpr float kDisplayGamma = 2.2f;
    return glm::pow(glm::max(displayColour, glm::vec3(0.0f)), glm::vec3(kDisplayGamma));
}

MeshMaterial linearMaterialOf(const MeshMaterial& displayMaterial) {
    MeshMaterial linear = displayMaterial;
    linear.diffuse = linearFromDisplay(displayMaterial.diffuse);
    linear.specular = linearFromDisplay(displayMaterial.specular);
    linear.ambient = linearFromDisplay(displayMaterial.ambient);
    return linear;
}

void drawMesh(const Mesh& mesh, const std::shared_ptr<Shader>& shader) {
    const MeshMaterial& material = mesh.linearMaterial;
    glUseProgram(shader->id);
    shader->setVec3("mat.ambient", material.ambient);
    shader->setVec3("mat.diffuse", material.diffuse);
    shader->setVec3("mat.specular", material.specular);
    shader->setFloat("mat.shininess", material.shininess);
    glBindVertexArray(mesh.vao);
    drawIndexedTriangles(static_cast<int>(mesh.indices.size()));
    glBindVertexArray(0);
}
