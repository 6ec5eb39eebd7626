// Turning a scene mesh and its material into the records the GPU upload reads.
#include "model/Mesh.h"

#include <assimp/material.h>
#include <assimp/mesh.h>
#include <gtest/gtest.h>

namespace {

aiMesh* makeMesh(unsigned int vertexCount, const std::vector<std::vector<unsigned int>>& faces) {
    auto* mesh = new aiMesh();
    mesh->mNumVertices = vertexCount;
    mesh->mVertices = new aiVector3D[vertexCount];
    for (unsigned int i = 0; i < vertexCount; ++i) {
        mesh->mVertices[i] = aiVector3D(static_cast<float>(i), 2.0f, 3.0f);
    }
    mesh->mNumFaces = static_cast<unsigned int>(faces.size());
    mesh->mFaces = new aiFace[faces.size()];
    for (std::size_t f = 0; f < faces.size(); ++f) {
        mesh->mFaces[f].mNumIndices = static_cast<unsigned int>(faces[f].size());
        mesh->mFaces[f].mIndices = new unsigned int[faces[f].size()];
        std::copy(faces[f].begin(), faces[f].end(), mesh->mFaces[f].mIndices);
    }
    return mesh;
}

TEST(MeshExtraction, VerticesWithoutNormalsOrUvsGetZeros) {
    aiMesh* mesh = makeMesh(3, {{0, 1, 2}});
    std::vector<Vertex> vertices = extractVertices(mesh);
    ASSERT_EQ(vertices.size(), 3u);
    EXPECT_EQ(vertices[2].position, glm::vec3(2.0f, 2.0f, 3.0f));
    EXPECT_EQ(vertices[2].normal, glm::vec3(0.0f));
    EXPECT_EQ(vertices[2].texCoords, glm::vec2(0.0f));

    mesh->mNormals = new aiVector3D[3];
    mesh->mNormals[1] = aiVector3D(0.0f, 1.0f, 0.0f);
    mesh->mTextureCoords[0] = new aiVector3D[3];
    mesh->mTextureCoords[0][1] = aiVector3D(0.25f, 0.75f, 0.5f);
    vertices = extractVertices(mesh);
    EXPECT_EQ(vertices[1].normal, glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(vertices[1].texCoords, glm::vec2(0.25f, 0.75f));
    delete mesh;
}

TEST(MeshExtraction, KeepsTrianglesInOrderAndDropsPointsLinesAndStrayIndices) {
    aiMesh* mesh = makeMesh(4, {{0, 1, 2}, {3}, {1, 3}, {2, 9, 0}, {1, 2, 3}});
    const std::vector<unsigned int> indices = extractIndices(mesh);
    EXPECT_EQ(indices, (std::vector<unsigned int>{0, 1, 2, 1, 2, 3}));
    delete mesh;
}

TEST(MeshMaterialColours, ReadsEachColourAndDefaultsWhatIsMissing) {
    aiMaterial material;
    const aiColor3D diffuse(0.1f, 0.2f, 0.3f);
    const aiColor3D ambient(0.4f, 0.5f, 0.6f);
    material.AddProperty(&diffuse, 1, "$clr.diffuse", 0, 0);
    material.AddProperty(&ambient, 1, "$clr.ambient", 0, 0);
    MeshMaterial colours = readMeshMaterial(&material);
    EXPECT_EQ(colours.diffuse, glm::vec3(0.1f, 0.2f, 0.3f));
    EXPECT_EQ(colours.ambient, glm::vec3(0.4f, 0.5f, 0.6f));
    EXPECT_EQ(colours.specular, glm::vec3(0.0f)) << "a missing colour stays black";
    EXPECT_FLOAT_EQ(colours.shininess, kDefaultShininess);

    const float shininess = 12.5f;
    material.AddProperty(&shininess, 1, "$mat.shininess", 0, 0);
    EXPECT_FLOAT_EQ(readMeshMaterial(&material).shininess, 12.5f);
    EXPECT_FLOAT_EQ(readMeshMaterial(nullptr).shininess, kDefaultShininess);
}

TEST(BoneInfluence, FillsTheFirstFreeSlotAndDropsTheFifth) {
    VertexBoneData data;
    data.addBoneInfluence(3, 0.5f);
    data.addBoneInfluence(4, 0.0f);
    data.addBoneInfluence(5, 0.25f);
    EXPECT_EQ(data.ids[1], 5) << "a zero weight leaves its slot free";
    data.addBoneInfluence(6, 0.125f);
    data.addBoneInfluence(7, 0.0625f);
    data.addBoneInfluence(8, 0.03125f);
    EXPECT_EQ(data.ids[3], 7);
    EXPECT_FLOAT_EQ(data.weights[3], 0.0625f);
    EXPECT_FLOAT_EQ(data.weights[0] + data.weights[1] + data.weights[2] + data.weights[3], 0.9375f);
}

} // namespace
