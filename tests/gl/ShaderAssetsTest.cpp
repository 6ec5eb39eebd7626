// The game's GLSL files must build cleanly and declare exactly the uniform names, types and
// attribute locations the C++ side sets: a misspelt name would otherwise only show as a wrong
// picture, because OpenGL ignores uniforms a program lacks.
#include "render/Shader.h"
#include "support/GlTestEnvironment.h"

#include <glad/gl.h>

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

using TypeByName = std::map<std::string, GLenum>;
using TypeByLocation = std::map<GLint, GLenum>;

struct ProgramInterface {
    const char* vertex;
    const char* fragment;
    TypeByName uniforms;
    TypeByLocation attributes;
};

TypeByName activeUniforms(GLuint program) {
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    TypeByName found;
    for (GLint i = 0; i < count; ++i) {
        char name[128] = {};
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, static_cast<GLuint>(i), sizeof name, nullptr, &size, &type,
                           name);
        found[name] = type;
    }
    return found;
}

TypeByLocation activeAttributes(GLuint program) {
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_ATTRIBUTES, &count);
    TypeByLocation found;
    for (GLint i = 0; i < count; ++i) {
        char name[128] = {};
        GLint size = 0;
        GLenum type = 0;
        glGetActiveAttrib(program, static_cast<GLuint>(i), sizeof name, nullptr, &size, &type,
                          name);
        found[glGetAttribLocation(program, name)] = type;
    }
    return found;
}

const TypeByName kLitUniforms{
    {"modelMatrix", GL_FLOAT_MAT4},     {"normalMatrix", GL_FLOAT_MAT3},
    {"viewProjMatrix", GL_FLOAT_MAT4},  {"camera_world", GL_FLOAT_VEC3},
    {"brightness", GL_FLOAT},           {"dirL.color", GL_FLOAT_VEC3},
    {"dirL.direction", GL_FLOAT_VEC3},  {"pointL.color", GL_FLOAT_VEC3},
    {"pointL.position", GL_FLOAT_VEC3}, {"pointL.attenuation", GL_FLOAT_VEC3},
    {"mat.ambient", GL_FLOAT_VEC3},     {"mat.diffuse", GL_FLOAT_VEC3},
    {"mat.specular", GL_FLOAT_VEC3},    {"mat.shininess", GL_FLOAT},
};

TypeByName withTexture(TypeByName uniforms) {
    uniforms["surfaceTexture"] = GL_SAMPLER_2D;
    return uniforms;
}

// The skinned program places its normals itself and takes the pose instead.
TypeByName skinned(TypeByName uniforms) {
    uniforms.erase("normalMatrix");
    uniforms["finalBoneMatrices[0]"] = GL_FLOAT_MAT4;
    return uniforms;
}

class GameShaders : public testing::TestWithParam<ProgramInterface> {};

TEST_P(GameShaders, BuildSilentlyWithTheAgreedInterface) {
    const ProgramInterface& expected = GetParam();
    testing::internal::CaptureStdout();
    const Shader shader(expected.vertex, expected.fragment);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    GLint linked = 0;
    glGetProgramiv(shader.id, GL_LINK_STATUS, &linked);
    ASSERT_EQ(linked, GL_TRUE);
    GLint logLength = 0;
    glGetProgramiv(shader.id, GL_INFO_LOG_LENGTH, &logLength);
    EXPECT_LE(logLength, 1) << "the link log should be empty";

    EXPECT_EQ(activeUniforms(shader.id), expected.uniforms);
    EXPECT_EQ(activeAttributes(shader.id), expected.attributes);
    glDeleteProgram(shader.id);
}

INSTANTIATE_TEST_SUITE_P(
    AllPrograms, GameShaders,
    testing::Values(
        ProgramInterface{"assets\\shader\\materialVertexShader.vert",
                         "assets\\shader\\materialFragmentShader.frag", kLitUniforms,
                         TypeByLocation{{0, GL_FLOAT_VEC3}, {1, GL_FLOAT_VEC3}}},
        ProgramInterface{
            "assets\\shader\\textureMaterialVertexShader.vert",
            "assets\\shader\\textureMaterialFragmentShader.frag", withTexture(kLitUniforms),
            TypeByLocation{{0, GL_FLOAT_VEC3}, {1, GL_FLOAT_VEC3}, {2, GL_FLOAT_VEC2}}},
        ProgramInterface{
            "assets\\shader\\vertexShaderAnimation.vert",
            "assets\\shader\\fragmentShaderAnimation.frag", skinned(kLitUniforms),
            TypeByLocation{
                {0, GL_FLOAT_VEC3}, {1, GL_FLOAT_VEC3}, {3, GL_INT_VEC4}, {4, GL_FLOAT_VEC4}}},
        ProgramInterface{"assets\\shader\\textVertexShader.vert",
                         "assets\\shader\\textFragmentShader.frag",
                         TypeByName{{"projection", GL_FLOAT_MAT4},
                                    {"textColor", GL_FLOAT_VEC3},
                                    {"glyph", GL_SAMPLER_2D}},
                         TypeByLocation{{0, GL_FLOAT_VEC4}}},
        ProgramInterface{"assets\\shader\\particelShaderVertex.vert",
                         "assets\\shader\\particelShaderFragment.frag",
                         TypeByName{{"M_v", GL_FLOAT_MAT4},
                                    {"M_p", GL_FLOAT_MAT4},
                                    {"color", GL_FLOAT_VEC3},
                                    {"brightness", GL_FLOAT}},
                         TypeByLocation{{0, GL_FLOAT_VEC3}, {1, GL_FLOAT_VEC4}}}));

} // namespace
