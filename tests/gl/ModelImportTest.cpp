// Import failures and material textures, with small OBJ/MTL/PNG fixtures in a scratch folder.
#include "support/GlTestEnvironment.h"

#include "model/Model.h"
#include "render/Shader.h"

#include <glad/gl.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <stb/stb_image_write.h>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

class ModelImport : public testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("chronocell-model-" +
                  std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    void write(const std::string& name, const std::string& text) const {
        std::ofstream(folder / name) << text;
    }

    // Two quads, each with its own material; both materials name the given diffuse maps.
    void writeTwoMaterialObj(const std::string& firstMap, const std::string& secondMap) const {
        write("fixture.obj", "mtllib fixture.mtl\n"
                             "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                             "usemtl first\nf 1 2 3\n"
                             "usemtl second\nf 1 3 4\n");
        write("fixture.mtl", "newmtl first\nKa 0.1 0.2 0.3\nKd 0.8 0.3 0.1\nKs 0.4 0.5 0.6\n"
                             "Ns 10\nmap_Kd " +
                                 firstMap +
                                 "\n\nnewmtl second\nKa 0.7 0.8 0.9\nKd 0.2 0.6 0.4\n"
                                 "Ks 0.25 0.5 0.75\nNs 20\nmap_Kd " +
                                 secondMap + "\n");
    }

    fs::path folder;
};

TEST_F(ModelImport, MissingFilePrintsTheAssimpLineAndLeavesAnEmptyModelThatDrawsNothing) {
    testing::internal::CaptureStdout();
    Model model("assets\\objects\\no-such-model.fbx");
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output.rfind("ERROR::ASSIMP:: ", 0), 0u) << output;
    EXPECT_EQ(output.back(), '\n');
    EXPECT_TRUE(model.meshes.empty());
    EXPECT_EQ(model.boneCount, 0u);
    EXPECT_EQ(model.scene, nullptr);

    auto shader = std::make_shared<Shader>("assets\\shader\\vertexShaderAnimation.vert",
                                           "assets\\shader\\fragmentShaderAnimation.frag");
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glUseProgram(shader->id);
    model.draw(shader, false);
    model.draw(shader, true);
    model.animationIndex = -3;
    model.draw(shader, true);
    std::vector<glm::mat4> bones{glm::mat4(2.0f)};
    model.boneTransform(1.0f, bones);
    EXPECT_TRUE(bones.empty());
    EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
    const Rgb centre = readPixel(400, 300);
    EXPECT_EQ(centre.r + centre.g + centre.b, 0);
}

TEST_F(ModelImport, CorruptFileIsReportedNotFatal) {
    write("broken.fbx", "Kaydara FBX Binary  \x00\x1a\x00 garbage that is not an fbx file");
    write("broken.obj", "v 1 2\nf 1 2 3 4 5\nusemtl\nmtllib \n");
    testing::internal::CaptureStdout();
    Model fbx((folder / "broken.fbx").string());
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output.rfind("ERROR::ASSIMP:: ", 0), 0u) << output;
    EXPECT_TRUE(fbx.meshes.empty());

    // Whatever survives of a damaged OBJ must never index past its own vertices.
    testing::internal::CaptureStdout();
    Model obj((folder / "broken.obj").string());
    testing::internal::GetCapturedStdout();
    for (const Mesh& mesh : obj.meshes) {
        for (unsigned int index : mesh.indices) {
            EXPECT_LT(index, mesh.vertices.size());
        }
    }
}

TEST_F(ModelImport, MissingTexturePrintsItsBareNameAndTheModelStillLoads) {
    writeTwoMaterialObj("textures/missing.png", "textures/missing.png");
    testing::internal::CaptureStdout();
    Model model(folder.string() + "\\fixture.obj");
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output, "Texture failed to load at path: textures/missing.png\n")
        << "reported once, by its name in the material";
    EXPECT_EQ(model.directory, folder.string());
    ASSERT_EQ(model.meshes.size(), 2u);
    ASSERT_EQ(model.texturesLoaded.size(), 1u);
    EXPECT_NE(model.texturesLoaded[0].id, 0u) << "the generated name is kept";
    EXPECT_EQ(model.meshes[1].textures.at(0).id, model.texturesLoaded[0].id);
}

TEST_F(ModelImport, MeshesNamingOneTextureShareOneGlName) {
    // 3 pixels of 3 channels: 9-byte rows that a 4-byte unpack alignment would skew.
    const unsigned char wood[] = {10, 20, 30, 40, 50, 60, 70, 80, 90,
                                  11, 21, 31, 41, 51, 61, 71, 81, 91};
    ASSERT_NE(stbi_write_png((folder / "wood.png").string().c_str(), 3, 2, 3, wood, 9), 0);
    writeTwoMaterialObj("wood.png", "wood.png");
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

    testing::internal::CaptureStdout();
    Model model(folder.string() + "/fixture.obj");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_EQ(model.meshes.size(), 2u);
    ASSERT_EQ(model.texturesLoaded.size(), 1u);
    const unsigned int id = model.texturesLoaded[0].id;
    EXPECT_EQ(model.meshes[0].textures.at(0).id, id);
    EXPECT_EQ(model.meshes[1].textures.at(0).id, id);
    EXPECT_EQ(model.meshes[1].textures.at(0).type, "texture_diffuse");

    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4) << "the previous unpack alignment is restored";
    unsigned char texels[18] = {};
    glBindTexture(GL_TEXTURE_2D, id);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    // Loaded flipped, so the file's second row comes first.
    EXPECT_EQ(std::vector<unsigned char>(texels, texels + 9),
              std::vector<unsigned char>(wood + 9, wood + 18));
    EXPECT_EQ(std::vector<unsigned char>(texels + 9, texels + 18),
              std::vector<unsigned char>(wood, wood + 9));
    EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
}

TEST_F(ModelImport, TwoChannelImageUploadsAsRedGreen) {
    const unsigned char pixels[] = {200, 100, 50, 25, 5, 250};
    ASSERT_NE(stbi_write_png((folder / "mask.png").string().c_str(), 3, 1, 2, pixels, 6), 0);
    const unsigned int id = textureFromFile("mask.png", folder.string());
    glBindTexture(GL_TEXTURE_2D, id);
    GLint format = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    EXPECT_TRUE(format == GL_RG || format == GL_RG8) << format;
    unsigned char texels[6] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RG, GL_UNSIGNED_BYTE, texels);
    EXPECT_EQ(std::vector<unsigned char>(texels, texels + 6),
              std::vector<unsigned char>(pixels, pixels + 6));
    EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
}

// What the model programs read of each mesh: the vertex layout its vertex array records, bone
// ids as integers and everything else as floats, and the material colours its draw uploads, the
// file's display colours made linear.
TEST_F(ModelImport, MeshesReachTheModelProgramsAsTheyReadThem) {
    writeTwoMaterialObj("missing.png", "missing.png");
    testing::internal::CaptureStdout();
    const Model model(folder.string() + "/fixture.obj");
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(model.meshes.size(), 2u);
    const auto shader = std::make_shared<Shader>("assets\\shader\\materialVertexShader.vert",
                                                 "assets\\shader\\materialFragmentShader.frag");
    // Location, components, type, integer, byte offset; locations 3 and 4 read the bone buffer.
    const GLint kLayout[5][5] = {{0, 3, GL_FLOAT, GL_FALSE, 0},
                                 {1, 3, GL_FLOAT, GL_FALSE, 12},
                                 {2, 2, GL_FLOAT, GL_FALSE, 24},
                                 {3, 4, GL_INT, GL_TRUE, 0},
                                 {4, 4, GL_FLOAT, GL_FALSE, 16}};
    // Ka, Kd, Ks and Ns of the file's two materials.
    const float kMaterials[2][10] = {{0.1f, 0.2f, 0.3f, 0.8f, 0.3f, 0.1f, 0.4f, 0.5f, 0.6f, 10},
                                     {0.7f, 0.8f, 0.9f, 0.2f, 0.6f, 0.4f, 0.25f, 0.5f, 0.75f, 20}};
    for (int m = 0; m < 2; ++m) {
        SCOPED_TRACE("mesh " + std::to_string(m));
        const Mesh& mesh = model.meshes[static_cast<std::size_t>(m)];
        glBindVertexArray(mesh.vao);
        for (const auto& [location, components, type, integer, offset] : kLayout) {
            const auto at = static_cast<GLuint>(location);
            const GLint buffer = static_cast<GLint>(location < 3 ? mesh.vbo : mesh.boneVbo);
            const std::pair<GLenum, GLint> kExpected[] = {
                {GL_VERTEX_ATTRIB_ARRAY_ENABLED, GL_TRUE},
                {GL_VERTEX_ATTRIB_ARRAY_SIZE, components},
                {GL_VERTEX_ATTRIB_ARRAY_TYPE, type},
                {GL_VERTEX_ATTRIB_ARRAY_INTEGER, integer},
                {GL_VERTEX_ATTRIB_ARRAY_NORMALIZED, 0},
                {GL_VERTEX_ATTRIB_ARRAY_STRIDE, 32},
                {GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, buffer}};
            for (const auto& [property, value] : kExpected) {
                GLint actual = -1;
                glGetVertexAttribiv(at, property, &actual);
                EXPECT_EQ(actual, value) << "location " << location << ", property " << property;
            }
            void* pointer = nullptr;
            glGetVertexAttribPointerv(at, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
            EXPECT_EQ(reinterpret_cast<intptr_t>(pointer), offset) << "location " << location;
        }
        GLint elements = 0;
        glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elements);
        EXPECT_EQ(static_cast<GLuint>(elements), mesh.ebo);

        drawMesh(mesh, shader);
        float uploaded[10] = {};
        const char* const kNames[] = {"mat.ambient", "mat.diffuse", "mat.specular",
                                      "mat.shininess"};
        for (int k = 0; k < 4; ++k) {
            glGetUniformfv(shader->id, glGetUniformLocation(shader->id, kNames[k]),
                           &uploaded[3 * k]);
        }
        for (int k = 0; k < 9; ++k) {
            EXPECT_NEAR(uploaded[k], std::pow(kMaterials[m][k], 2.2f), 1e-6f) << kNames[k / 3];
        }
        EXPECT_EQ(uploaded[9], kMaterials[m][9]);
    }
    glBindVertexArray(0);
    EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
}

TEST_F(ModelImport, PathWithoutSeparatorLivesInTheWorkingDirectory) {
    writeTwoMaterialObj("missing.png", "missing.png");
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    testing::internal::CaptureStdout();
    Model model("fixture.obj");
    testing::internal::GetCapturedStdout();
    fs::current_path(previous);
    EXPECT_EQ(model.directory, ".");
    EXPECT_EQ(model.meshes.size(), 2u);
}

} // namespace
