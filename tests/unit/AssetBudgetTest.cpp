#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

// Triangles drawn for one model file: every triangle of every mesh after triangulation.
unsigned int triangleCount(const std::string& file) {
    Assimp::Importer importer;
    const std::filesystem::path path =
        std::filesystem::path(CHRONOCELL_SOURCE_DIR) / "assets" / "objects" / file;
    const aiScene* scene = importer.ReadFile(path.string(), aiProcess_Triangulate);
    if (scene == nullptr) {
        ADD_FAILURE() << file << ": " << importer.GetErrorString();
        return 0;
    }
    unsigned int triangles = 0;
    for (unsigned int m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        for (unsigned int f = 0; f < mesh->mNumFaces; ++f) {
            triangles += mesh->mFaces[f].mNumIndices == 3 ? 1 : 0;
        }
    }
    return triangles;
}

} // namespace

// Up to 297 trees and a few dozen stones are drawn every frame by a software renderer, so the
// shipped models must stay small.
TEST(AssetBudget, ShippedModelsStayWithinTheirTriangleBudgets) {
    const struct {
        const char* file;
        unsigned int budget;
    } models[] = {
        {"tree.obj", 400}, {"stone.obj", 300}, {"clock.obj", 300}, {"character.fbx", 3000}};
    for (const auto& model : models) {
        const unsigned int triangles = triangleCount(model.file);
        EXPECT_GT(triangles, 0u) << model.file;
        EXPECT_LE(triangles, model.budget) << model.file;
        std::cout << model.file << ": " << triangles << " triangles\n";
    }
}
