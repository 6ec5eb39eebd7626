#include "world/ParticleSystem.h"

#include "render/TriangleDraw.h"

#include <glad/gl.h>

namespace {

// Unit square, triangle-strip order, centred on the origin.
constexpr float kQuadCorners[] = {
    -0.5f, -0.5f, 0.0f, 0.5f, -0.5f, 0.0f, -0.5f, 0.5f, 0.0f, 0.5f, 0.5f, 0.0f,
};
constexpr int kQuadVertexCount = 4;
constexpr GLsizeiptr kInstanceBytes =
    ParticleSystem::kPoolSize * ParticleSystem::kFloatsPerInstance * sizeof(float);
static_assert(ParticleSystem::kPoolSize * ParticleSystem::kFloatsPerInstance <=
              ParticleSystem::kInstanceDataFloats);

constexpr GLuint kCornerAttribute = 0;
constexpr GLuint kInstanceAttribute = 1;
// The shared vertex layouts use up to three attributes; the draw leaves none of them enabled.
constexpr GLuint kLastSharedAttribute = 2;

} // namespace

const ParticleSystem::GpuCalls ParticleSystem::kOpenGl{
    [](ParticleSystem& system) { system.upload(); },
    [](ParticleSystem& system) { system.releaseGpuObjects(); },
};

ParticleSystem::ParticleSystem() : ParticleSystem(NoGpu{}) {
    gpu_ = &kOpenGl;
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);

    glGenBuffers(1, &quadVbo);
    glBindBuffer(GL_ARRAY_BUFFER, quadVbo);
    glBufferData(GL_ARRAY_BUFFER, sizeof(kQuadCorners), kQuadCorners, GL_STATIC_DRAW);

    glGenBuffers(1, &instanceVbo);
    glBindBuffer(GL_ARRAY_BUFFER, instanceVbo);
    glBufferData(GL_ARRAY_BUFFER, kInstanceBytes, instanceData, GL_STREAM_DRAW);

    // Later set-up code must not record its bindings into this vertex array by accident.
    glBindVertexArray(0);
}

void ParticleSystem::releaseGpuObjects() {
    // A pool made without a context owns no names and must not touch GL at all.
    if (instanceVbo != 0) {
        glDeleteBuffers(1, &instanceVbo);
        instanceVbo = 0;
    }
    if (quadVbo != 0) {
        glDeleteBuffers(1, &quadVbo);
        quadVbo = 0;
    }
    if (vao != 0) {
        glDeleteVertexArrays(1, &vao);
        vao = 0;
    }
}

void ParticleSystem::upload() {
    if (instanceVbo == 0) {
        return;
    }
    glBindBuffer(GL_ARRAY_BUFFER, instanceVbo);
    // Orphaning lets the driver hand out fresh storage instead of waiting on last frame's draw.
    glBufferData(GL_ARRAY_BUFFER, kInstanceBytes, nullptr, GL_STREAM_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, kInstanceBytes, instanceData);
}

void ParticleSystem::draw(const std::shared_ptr<Shader>& /*shader*/) const {
    if (vao == 0) {
        return;
    }
    glBindVertexArray(vao);
    glEnableVertexAttribArray(kCornerAttribute);
    glBindBuffer(GL_ARRAY_BUFFER, quadVbo);
    glVertexAttribPointer(kCornerAttribute, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(kInstanceAttribute);
    glBindBuffer(GL_ARRAY_BUFFER, instanceVbo);
    glVertexAttribPointer(kInstanceAttribute, kFloatsPerInstance, GL_FLOAT, GL_FALSE, 0, nullptr);
    glVertexAttribDivisor(kCornerAttribute, 0);
    glVertexAttribDivisor(kInstanceAttribute, 1);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawInstancedTriangleStrip(kQuadVertexCount, kPoolSize);

    for (GLuint attribute = 0; attribute <= kLastSharedAttribute; ++attribute) {
        glDisableVertexAttribArray(attribute);
    }
}
