#pragma once

#include <glm/glm.hpp>
#include <memory>
#include <vector>

class Random;
class Shader;

// One drifting square of a particle trail; packed as five floats.
struct Particle {
    glm::vec3 position{0.0f};
    float size = 0.0f;
    float life = 0.0f;
};
static_assert(sizeof(Particle) == 20, "Particle must stay five packed floats");

// A fixed pool of particles simulated on the CPU and drawn as one instanced draw of a unit
// square. The pool and the upload buffer are sized once; a frame never allocates.
class ParticleSystem {
  public:
    static constexpr int kPoolSize = 50;
    static constexpr int kFloatsPerInstance = 4;
    // The upload buffer has room for twice the pool; only the first kPoolSize instances are used.
    static constexpr int kInstanceDataFloats = 400;
    static constexpr float kStartSize = 0.1f;

    std::vector<Particle> particles;
    float instanceData[kInstanceDataFloats] = {};
    unsigned int quadVbo = 0;
    unsigned int instanceVbo = 0;
    unsigned int vao = 0;

    // Builds the pool and its GL objects; needs a current context.
    ParticleSystem();
    // The same pool without any GL objects: upload and draw do nothing. For simulation tests.
    static ParticleSystem withoutGpu();

    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;
    ParticleSystem(ParticleSystem&& other) noexcept;
    ParticleSystem& operator=(ParticleSystem&& other) noexcept;
    ~ParticleSystem();

    // Ages every particle by dt, respawns spent ones around `emitter` when `respawn` is on
    // (four draws each) and lets every particle drift (two draws each, even when dt is 0).
    void simulate(const glm::vec3& emitter, bool respawn, float dt, Random& random);
    // Orphans the instance buffer and refills it from instanceData.
    void upload();
    void update(const glm::vec3& emitter, bool respawn, float dt, Random& random);
    // The caller has made the particle program current and set its uniforms.
    void draw(const std::shared_ptr<Shader>& shader) const;

  private:
    struct NoGpu {};
    explicit ParticleSystem(NoGpu);

    // The GL side of a pool made with a context, kept in a translation unit of its own: the
    // simulation reaches OpenGL only through these, so the rules build and link without it.
    struct GpuCalls {
        void (*upload)(ParticleSystem& system);
        void (*release)(ParticleSystem& system);
    };
    static const GpuCalls kOpenGl;

    void respawnParticle(Particle& particle, const glm::vec3& emitter, Random& random);
    void releaseGpuObjects();

    // None for a pool made without a context.
    const GpuCalls* gpu_ = nullptr;
};
