#include "world/ParticleSystem.h"

#include "world/Random.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

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

} // namespace

ParticleSystem::ParticleSystem(NoGpu) {
    particles.resize(kPoolSize, Particle{glm::vec3(0.0f), kStartSize, 0.0f});
}

ParticleSystem ParticleSystem::withoutGpu() {
    return ParticleSystem(NoGpu{});
}

ParticleSystem::ParticleSystem(ParticleSystem&& other) noexcept
    : particles(std::move(other.particles)), quadVbo(std::exchange(other.quadVbo, 0u)),
      instanceVbo(std::exchange(other.instanceVbo, 0u)), vao(std::exchange(other.vao, 0u)),
      gpu_(std::exchange(other.gpu_, nullptr)) {
    std::copy(std::begin(other.instanceData), std::end(other.instanceData), instanceData);
}

ParticleSystem& ParticleSystem::operator=(ParticleSystem&& other) noexcept {
    if (this != &other) {
        if (gpu_ != nullptr) {
            gpu_->release(*this);
        }
        particles = std::move(other.particles);
        std::copy(std::begin(other.instanceData), std::end(other.instanceData), instanceData);
        quadVbo = std::exchange(other.quadVbo, 0u);
        instanceVbo = std::exchange(other.instanceVbo, 0u);
        vao = std::exchange(other.vao, 0u);
        gpu_ = std::exchange(other.gpu_, nullptr);
    }
    return *this;
}

ParticleSystem::~ParticleSystem() {
    if (gpu_ != nullptr) {
        gpu_->release(*this);
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

void ParticleSystem::update(const glm::vec3& emitter, bool respawn, float dt, Random& random) {
    simulate(emitter, respawn, dt, random);
    if (gpu_ != nullptr) {
        gpu_->upload(*this);
    }
}
