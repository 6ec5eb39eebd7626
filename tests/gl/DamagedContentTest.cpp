// Content damaged in ways its loaders could mistake for valid input: folders in place of files
// and model files that parse to nothing.
#include "support/GlTestEnvironment.h"

#include "model/Model.h"
#include "render/Shader.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace {

namespace fs = std::filesystem;

class DamagedContent : public testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("chronocell-damaged-" +
                  std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string path(const std::string& name) const { return (folder / name).string(); }

    void write(const std::string& name, const std::string& text) const {
        std::ofstream(folder / name, std::ios::binary) << text;
    }

    fs::path folder;
};

TEST_F(DamagedContent, AFolderInPlaceOfAShaderFileIsAFileThatCannotBeRead) {
    fs::create_directory(folder / "folder.frag");
    testing::internal::CaptureStdout();
    const Shader shader("assets\\shader\\materialVertexShader.vert", path("folder.frag").c_str());
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output.rfind("ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ\n", 0), 0u) << output;
    // Neither file of the pair is used, so both stages fail on an empty source.
    EXPECT_NE(output.find("ERROR_VERTEX_SHADER_COMPLINATION_ERROR:"), std::string::npos);
    EXPECT_NE(output.find("ERROR_FRAGMENT_SHADER_COMPLINATION_ERROR:"), std::string::npos);
    EXPECT_NE(shader.id, 0u);
    takeGlError();
}

TEST_F(DamagedContent, AFolderInPlaceOfAModelIsReportedAsUnopenable) {
    fs::create_directory(folder / "folder.obj");
    testing::internal::CaptureStdout();
    const Model model(path("folder.obj"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR::ASSIMP:: Unable to open file \"" + path("folder.obj") + "\".\n");
    EXPECT_TRUE(model.meshes.empty());
}

TEST_F(DamagedContent, AModelFileWithoutMeshesIsReportedNotSilentlyEmpty) {
    // Junk and comments parse as an OBJ scene with nothing in it and no importer error.
    write("junk.obj", "# nothing here\n\x01\x02\x7f junk that is no statement\nzz 1 2 3\n");
    testing::internal::CaptureStdout();
    const Model model(path("junk.obj"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR::ASSIMP:: No meshes in file \"" + path("junk.obj") + "\".\n");
    EXPECT_TRUE(model.meshes.empty());
    EXPECT_EQ(model.boneCount, 0u);
}

TEST_F(DamagedContent, AFolderInPlaceOfTheMaterialFileLeavesTheModelItsDefaultMaterial) {
    write("quad.obj", "mtllib quad.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nusemtl red\nf 1 2 3\n");
    fs::create_directory(folder / "quad.mtl");
    testing::internal::CaptureStdout();
    const Model model(path("quad.obj"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_EQ(model.meshes[0].indices.size(), 3u);
    takeGlError();
}

} // namespace
