#include "render/Shader.h"
#include "support/GlTestEnvironment.h"

#include <glad/gl.h>

#include <filesystem>
#include <fstream>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>
#include <string>

namespace {

const char* const kVertexSource = R"(#version 430 core
layout(location = 0) in vec3 position;
uniform mat4 placement;
uniform mat3 turn;
void main() { gl_Position = placement * vec4(turn * position, 1.0); }
)";

const char* const kFragmentSource = R"(#version 430 core
uniform float level;
uniform vec3 tint;
out vec4 fragColor;
void main() { fragColor = vec4(tint * level, 1.0); }
)";

// Writes shader sources into a private temporary folder that disappears with the fixture.
class ShaderFiles : public testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("chronocell-shader-" +
                  std::to_string(::testing::UnitTest::GetInstance()->current_test_info()->line()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string write(const std::string& name, const std::string& source) const {
        const std::filesystem::path file = folder / name;
        std::ofstream(file) << source;
        return file.string();
    }

    struct Built {
        std::string output;
        std::unique_ptr<Shader> shader;
    };

    // Builds a program and keeps everything it printed.
    static Built build(const std::string& vertex, const std::string& fragment) {
        testing::internal::CaptureStdout();
        auto shader = std::make_unique<Shader>(vertex.c_str(), fragment.c_str());
        return {testing::internal::GetCapturedStdout(), std::move(shader)};
    }

    std::filesystem::path folder;
};

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

TEST_F(ShaderFiles, GoodPairBuildsSilentlyIntoDistinctPrograms) {
    const std::string vertex = write("good.vert", kVertexSource);
    const std::string fragment = write("good.frag", kFragmentSource);
    const Built first = build(vertex, fragment);
    const Built second = build(vertex, fragment);
    EXPECT_EQ(first.output, "");
    EXPECT_EQ(second.output, "");
    EXPECT_NE(first.shader->id, 0u);
    EXPECT_NE(first.shader->id, second.shader->id);
    GLint linked = 0;
    glGetProgramiv(first.shader->id, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
}

TEST_F(ShaderFiles, MissingFileDropsBothSources) {
    const std::string vertex = write("good.vert", kVertexSource);
    const Built built = build(vertex, (folder / "absent.frag").string());
    const std::string& output = built.output;
    EXPECT_TRUE(startsWith(output, "ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ\n")) << output;
    // The vertex file was readable, yet it must not be compiled on its own: both stages get
    // the empty source and fail.
    EXPECT_NE(output.find("ERROR_VERTEX_SHADER_COMPLINATION_ERROR:"), std::string::npos);
    EXPECT_NE(output.find("ERROR_FRAGMENT_SHADER_COMPLINATION_ERROR:"), std::string::npos);
    EXPECT_NE(built.shader->id, 0u);

    const std::string bothMissing =
        build((folder / "absent.vert").string(), (folder / "absent.frag").string()).output;
    EXPECT_TRUE(startsWith(bothMissing, "ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ\n"));
}

TEST_F(ShaderFiles, CompileErrorsPrintTheirMessageAndTheDriverLog) {
    const std::string good = write("good.frag", kFragmentSource);
    const std::string broken = write("broken.vert", "#version 430 core\nvoid main() { oops }\n");
    const std::string vertexOutput = build(broken, good).output;
    const std::string vertexPrefix = "ERROR_VERTEX_SHADER_COMPLINATION_ERROR:";
    ASSERT_TRUE(startsWith(vertexOutput, vertexPrefix)) << vertexOutput;
    EXPECT_NE(vertexOutput.find("error", vertexPrefix.size()), std::string::npos) << vertexOutput;
    EXPECT_EQ(vertexOutput.find("ERROR_FRAGMENT"), std::string::npos);

    const std::string goodVertex = write("good.vert", kVertexSource);
    const std::string brokenFragment =
        write("broken.frag", "#version 430 core\nout vec4 c;\nvoid main() { c = 1.0 + ; }\n");
    const std::string fragmentOutput = build(goodVertex, brokenFragment).output;
    const std::string fragmentPrefix = "ERROR_FRAGMENT_SHADER_COMPLINATION_ERROR:";
    ASSERT_TRUE(startsWith(fragmentOutput, fragmentPrefix)) << fragmentOutput;
    EXPECT_GT(fragmentOutput.size(), fragmentPrefix.size() + 1);
}

TEST_F(ShaderFiles, LinkErrorPrintsItsMessageAndTheDriverLog) {
    const std::string vertex = write("good.vert", kVertexSource);
    // Compiles on its own, but a program without a fragment entry point cannot link.
    const std::string noMain = write("nomain.frag", "#version 430 core\nout vec4 c;\n");
    const Built built = build(vertex, noMain);
    const std::string prefix = "ERROR_PROGRAM_LINKING_ERROR:";
    ASSERT_TRUE(startsWith(built.output, prefix)) << built.output;
    EXPECT_GT(built.output.size(), prefix.size() + 1);
    EXPECT_NE(built.shader->id, 0u);
}

TEST_F(ShaderFiles, LongDriverLogIsCutToTheBuffer) {
    std::string body;
    for (int i = 0; i < 200; ++i) {
        body += "x" + std::to_string(i) + " = 1.0;\n";
    }
    const std::string noisy =
        write("noisy.vert", "#version 430 core\nvoid main() {\n" + body + "}\n");
    const std::string output = build(noisy, write("good.frag", kFragmentSource)).output;
    const std::string prefix = "ERROR_VERTEX_SHADER_COMPLINATION_ERROR:";
    ASSERT_TRUE(startsWith(output, prefix)) << output;
    // The message, at most 1023 characters of log and the closing newline; the failed link
    // reports after it.
    const std::string vertexPart = output.substr(0, output.find("ERROR_PROGRAM_LINKING_ERROR:"));
    EXPECT_LE(vertexPart.size(), prefix.size() + 1023 + 1) << "log overran its 1024-byte buffer";
    EXPECT_GE(vertexPart.size(), prefix.size() + 1000) << "the log must be long to test the cut";
}

TEST_F(ShaderFiles, SettersWriteIntoTheCurrentProgram) {
    const Built built =
        build(write("good.vert", kVertexSource), write("good.frag", kFragmentSource));
    ASSERT_EQ(built.output, "");
    const Shader& shader = *built.shader;
    const GLuint id = shader.id;
    glUseProgram(id);
    const glm::mat3 turn(1, 2, 3, 4, 5, 6, 7, 8, 9);
    glm::mat4 placement(0.0f);
    for (int i = 0; i < 16; ++i) {
        glm::value_ptr(placement)[i] = static_cast<float>(i) + 0.5f;
    }
    shader.setFloat("level", 0.75f);
    shader.setVec3("tint", glm::vec3(0.1f, 0.2f, 0.3f));
    shader.setMat3("turn", turn);
    shader.setMat4("placement", placement);
    shader.setFloat("notAUniform", 1.0f);
    EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));

    float level = 0.0f;
    glGetUniformfv(id, glGetUniformLocation(id, "level"), &level);
    EXPECT_FLOAT_EQ(level, 0.75f);
    glm::vec3 tint(0.0f);
    glGetUniformfv(id, glGetUniformLocation(id, "tint"), glm::value_ptr(tint));
    EXPECT_EQ(tint, glm::vec3(0.1f, 0.2f, 0.3f));
    glm::mat3 readTurn(0.0f);
    glGetUniformfv(id, glGetUniformLocation(id, "turn"), glm::value_ptr(readTurn));
    EXPECT_EQ(readTurn, turn) << "column-major, not transposed";
    glm::mat4 readPlacement(0.0f);
    glGetUniformfv(id, glGetUniformLocation(id, "placement"), glm::value_ptr(readPlacement));
    EXPECT_EQ(readPlacement, placement);

    glUseProgram(0);
}

} // namespace
