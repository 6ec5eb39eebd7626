#include "world/ParticleSystem.h"

#include "world/Random.h"

#include <glad/gl.h>

#include <algorithm>
#include <iterator>
#include <utility>

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

// A respawned particle starts within half a unit of the emitter in x and y.
constexpr float kSpawnJitter = 0.5f;
constexpr float kSizeSpread = 0.14f;
constexpr float kSmallestSize = 0.01f;
constexpr float kLifeSpread = 2.0f;
constexpr float kShortestLife = 2.0f;
// Drift per second: sideways up to 0.9 either way, upwards 0.5 to 2.0, forwards 1.
constexpr float kSidewaysSpread = 1.8f;
constexpr float kSidewaysBias = -0.9f;
constexpr float kRiseSpread = 1.5f;
constexpr float kSlowestRise = 0.5f;
constexpr float kForwardDrift = 1.0f;

constexpr GLuint kCornerAttribute = 0;
constexpr GLuint kInstanceAttribute = 1;
// The shared vertex layouts use up to three attributes; the draw leaves none of them enabled.
constexpr GLuint kLastSharedAttribute = 2;

} // namespace

ParticleSystem::ParticleSystem(NoGpu) {
    particles.resize(kPoolSize, Particle{glm::vec3(0.0f), kStartSize, 0.0f});
}

ParticleSystem::ParticleSystem() : ParticleSystem(NoGpu{}) {
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

ParticleSystem ParticleSystem::withoutGpu() {
    return ParticleSystem(NoGpu{});
}

ParticleSystem::ParticleSystem(ParticleSystem&& other) noexcept
    : particles(std::move(other.particles)), quadVbo(std::exchange(other.quadVbo, 0u)),
      instanceVbo(std::exchange(other.instanceVbo, 0u)), vao(std::exchange(other.vao, 0u)) {
    std::copy(std::begin(other.instanceData), std::end(other.instanceData), instanceData);
}

ParticleSystem& ParticleSystem::operator=(ParticleSystem&& other) noexcept {
    if (this != &other) {
        releaseGpuObjects();
        particles = std::move(other.particles);
        std::copy(std::begin(other.instanceData), std::end(other.instanceData), instanceData);
        quadVbo = std::exchange(other.quadVbo, 0u);
        instanceVbo = std::exchange(other.instanceVbo, 0u);
        vao = std::exchange(other.vao, 0u);
    }
    return *this;
}

ParticleSystem::~ParticleSystem() {
    releaseGpuObjects();
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

void ParticleSystem::respawnParticle(Particle& particle, const glm::vec3& emitter, Random& random) {
    particle.position.x = emitter.x + randomUnit(random) - kSpawnJitter;
    particle.position.y = emitter.y + randomUnit(random) - kSpawnJitter;
    particle.position.z = emitter.z;
    particle.size = kSizeSpread * randomUnit(random) + kSmallestSize;
    particle.life = kLifeSpread * randomUnit(random) + kShortestLife;
}

void ParticleSystem::simulate(const glm::vec3& emitter, bool respawn, float dt, Random& random) {
    for (std::size_t i = 0; i < particles.size(); ++i) {
        Particle& particle = particles[i];
        particle.life -= dt;
        if (particle.life <= 0.0f && respawn) {
            respawnParticle(particle, emitter, random);
        }
        // Spent particles keep drifting when respawn is off: the trail floats away instead of
        // vanishing.
        particle.position.x += (kSidewaysSpread * randomUnit(random) + kSidewaysBias) * dt;
        particle.position.y += (kRiseSpread * randomUnit(random) + kSlowestRise) * dt;
        particle.position.z += kForwardDrift * dt;

        float* instance = instanceData + i * kFloatsPerInstance;
        instance[0] = particle.position.x;
        instance[1] = particle.position.y;
        instance[2] = particle.position.z;
        instance[3] = particle.size;
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

void ParticleSystem::update(const glm::vec3& emitter, bool respawn, float dt, Random& random) {
    simulate(emitter, respawn, dt, random);
    upload();
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
    glDrawArraysInstanced(GL_TRIANGLE_STRIP, 0, kQuadVertexCount, kPoolSize);

    for (GLuint attribute = 0; attribute <= kLastSharedAttribute; ++attribute) {
        glDisableVertexAttribArray(attribute);
    }
}
