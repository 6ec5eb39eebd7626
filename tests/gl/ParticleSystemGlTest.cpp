#include "render/Camera.h"
#include "render/Shader.h"
#include "support/GlTestEnvironment.h"
#include "world/ParticleSystem.h"
#include "world/Random.h"

#include <glad/gl.h>

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

GLint bufferSize(GLuint buffer) {
    GLint size = 0;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    return size;
}

std::vector<float> bufferFloats(GLuint buffer, int count) {
    std::vector<float> values(static_cast<std::size_t>(count), -1.0f);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, count * static_cast<GLsizeiptr>(sizeof(float)),
                       values.data());
    return values;
}

} // namespace

TEST(ParticleSystemGl, ConstructionUploadsTheSquareAndAnInstanceBufferForTheWholePool) {
    const ParticleSystem system;
    EXPECT_EQ(glIsVertexArray(system.vao), GL_TRUE);
    EXPECT_EQ(bufferSize(system.quadVbo), 48);
    EXPECT_EQ(bufferSize(system.instanceVbo), ParticleSystem::kPoolSize * 16);
    const std::vector<float> corners = bufferFloats(system.quadVbo, 12);
    const std::vector<float> expected = {-0.5f, -0.5f, 0.0f, 0.5f, -0.5f, 0.0f,
                                         -0.5f, 0.5f,  0.0f, 0.5f, 0.5f,  0.0f};
    EXPECT_EQ(corners, expected);
    GLint boundArray = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &boundArray);
    EXPECT_EQ(boundArray, 0);
    EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(ParticleSystemGl, UpdateRefillsTheInstanceBufferEachFrame) {
    ParticleSystem system;
    Random random;
    for (int frame = 0; frame < 3; ++frame) {
        system.update(glm::vec3(1.0f, 2.0f, 3.0f + frame), true, 0.3f, random);
        const std::vector<float> uploaded =
            bufferFloats(system.instanceVbo, ParticleSystem::kPoolSize * 4);
        const std::vector<float> expected(system.instanceData,
                                          system.instanceData + ParticleSystem::kPoolSize * 4);
        EXPECT_EQ(uploaded, expected);
    }
    EXPECT_EQ(bufferSize(system.instanceVbo), ParticleSystem::kPoolSize * 16);
    EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(ParticleSystemGl, DestructionAndMoveLeaveExactlyOneOwner) {
    GLuint names[3] = {0, 0, 0};
    {
        ParticleSystem first;
        names[0] = first.quadVbo;
        names[1] = first.instanceVbo;
        names[2] = first.vao;
        ParticleSystem second = std::move(first);
        EXPECT_EQ(first.vao, 0u);
        EXPECT_EQ(first.quadVbo, 0u);
        EXPECT_EQ(first.instanceVbo, 0u);
        {
            ParticleSystem third = ParticleSystem::withoutGpu();
            third = std::move(second);
            EXPECT_EQ(third.vao, names[2]);
        }
        EXPECT_EQ(glIsBuffer(names[0]), GL_FALSE);
        EXPECT_EQ(glIsBuffer(names[1]), GL_FALSE);
        EXPECT_EQ(glIsVertexArray(names[2]), GL_FALSE);
    }
    EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(ParticleSystemGl, DrawPaintsBlendedCameraFacingSquares) {
    auto shader = std::make_shared<Shader>("assets\\shader\\particelShaderVertex.vert",
                                           "assets\\shader\\particelShaderFragment.frag");
    ParticleSystem system;
    Random random;
    system.simulate(glm::vec3(0.0f), true, 0.0f, random);
    // Gather the pool at the origin, where only the last particle is large enough to be seen:
    // a draw that leaves it out paints nothing.
    for (int i = 0; i < ParticleSystem::kPoolSize; ++i) {
        float* instance = system.instanceData + 4 * i;
        instance[0] = 0.0f;
        instance[1] = 0.0f;
        instance[2] = 0.0f;
        instance[3] = i + 1 == ParticleSystem::kPoolSize ? 2.0f : 0.0f;
    }
    system.upload();

    Camera camera;
    camera.follow(glm::vec3(0.0f), 0.0f);
    glDisable(GL_BLEND);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glUseProgram(shader->id);
    shader->setMat4("M_v", camera.getViewMatrix());
    shader->setMat4("M_p", sceneProjection());
    shader->setVec3("color", glm::vec3(0.0f, 1.0f, 0.0f));
    shader->setFloat("brightness", 0.3f);
    system.draw(shader);

    const Rgb centre = readPixel(400, 300);
    EXPECT_GT(centre.g, 100);
    EXPECT_GT(centre.g, centre.r);
    const Rgb corner = readPixel(10, 10);
    EXPECT_EQ(corner.g, 0);
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_TRUE);
    for (GLuint attribute = 0; attribute < 3; ++attribute) {
        GLint enabled = 1;
        glGetVertexAttribiv(attribute, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        EXPECT_EQ(enabled, 0) << attribute;
    }
    GLint divisor = 0;
    glGetVertexAttribiv(1, GL_VERTEX_ATTRIB_ARRAY_DIVISOR, &divisor);
    EXPECT_EQ(divisor, 1);
    EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));
    glDisable(GL_BLEND);
}
