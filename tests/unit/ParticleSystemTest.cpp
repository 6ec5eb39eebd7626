#include "world/ParticleSystem.h"
#include "RandomTestHelpers.h"

#include <gtest/gtest.h>

namespace {

constexpr int kRespawnDraws = 4;
constexpr int kDriftDraws = 2;
constexpr int kPool = ParticleSystem::kPoolSize;

void expectInstanceDataMatches(const ParticleSystem& system) {
    for (int i = 0; i < kPool; ++i) {
        const Particle& p = system.particles[i];
        EXPECT_EQ(system.instanceData[4 * i + 0], p.position.x);
        EXPECT_EQ(system.instanceData[4 * i + 1], p.position.y);
        EXPECT_EQ(system.instanceData[4 * i + 2], p.position.z);
        EXPECT_EQ(system.instanceData[4 * i + 3], p.size);
    }
    for (int i = 4 * kPool; i < ParticleSystem::kInstanceDataFloats; ++i) {
        EXPECT_EQ(system.instanceData[i], 0.0f);
    }
}

} // namespace

TEST(ParticleSystem, FirstUpdateRespawnsAllAroundTheEmitter) {
    ParticleSystem system = ParticleSystem::withoutGpu();
    Random random;
    const glm::vec3 emitter(2.0f, 1.0f, 30.0f);
    const float dt = 0.02f;
    system.update(emitter, true, dt, random);

    EXPECT_TRUE(
        sameUpcomingDraws(random, advanced(Random{}, kPool * (kRespawnDraws + kDriftDraws))));
    for (const Particle& p : system.particles) {
        // Spawn jitter of half a unit plus at most one frame of drift.
        EXPECT_NEAR(p.position.x, emitter.x, 0.5f + 0.9f * dt + 1e-5f);
        EXPECT_NEAR(p.position.y, emitter.y, 0.5f + 2.0f * dt + 1e-5f);
        EXPECT_FLOAT_EQ(p.position.z, emitter.z + dt);
    }
    expectInstanceDataMatches(system);
}

TEST(ParticleSystem, DrawsOfZeroAndMaxReachTheEndsOfEveryRange) {
    enum Field { kX, kY, kSize, kLife };
    struct Case {
        bool respawning;
        int particle;
        int draw;
        int value;
        Field field;
        float expected;
    };
    // Respawning (fresh pool, no frame time): particle i takes draws 6i to 6i + 3 for x, y, size
    // and life around the emitter at the origin. Drifting (lives of 10, one second): draws 2i and
    // 2i + 1 move x and y.
    constexpr int kMax = Random::kMax;
    const Case cases[] = {
        {true, 0, 0, 0, kX, -0.5f},    {true, 0, 0, kMax, kX, 0.5f},
        {true, 0, 1, 0, kY, -0.5f},    {true, 0, 1, kMax, kY, 0.5f},
        {true, 0, 2, 0, kSize, 0.01f}, {true, 0, 2, kMax, kSize, 0.15f},
        {true, 0, 3, 0, kLife, 2.0f},  {true, 0, 3, kMax, kLife, 4.0f},
        {true, 1, 6, kMax, kX, 0.5f},  {false, 0, 0, 0, kX, -0.9f},
        {false, 0, 0, kMax, kX, 0.9f}, {false, 0, 1, 0, kY, 0.5f},
        {false, 0, 1, kMax, kY, 2.0f},
    };
    for (const Case& c : cases) {
        ParticleSystem system = ParticleSystem::withoutGpu();
        for (Particle& p : system.particles) {
            p.life = c.respawning ? 0.0f : 10.0f;
        }
        Random random = randomWithDraw(c.draw, c.value);
        system.simulate(glm::vec3(0.0f), true, c.respawning ? 0.0f : 1.0f, random);
        const Particle& p = system.particles[c.particle];
        const float values[] = {p.position.x, p.position.y, p.size, p.life};
        EXPECT_FLOAT_EQ(values[c.field], c.expected) << c.draw << " = " << c.value;
    }
}

TEST(ParticleSystem, ZeroFrameTimeStillTakesTheDriftDraws) {
    ParticleSystem system = ParticleSystem::withoutGpu();
    Random random;
    system.simulate(glm::vec3(0.0f), true, 0.1f, random);
    const std::vector<Particle> before = system.particles;
    const Random start = random;

    system.simulate(glm::vec3(0.0f), true, 0.0f, random);
    EXPECT_TRUE(sameUpcomingDraws(random, advanced(start, kPool * kDriftDraws)));
    for (int i = 0; i < kPool; ++i) {
        EXPECT_EQ(system.particles[i].position, before[i].position);
        EXPECT_EQ(system.particles[i].life, before[i].life);
    }
}

TEST(ParticleSystem, WithoutRespawnLivesRunNegativeAndParticlesKeepDrifting) {
    ParticleSystem system = ParticleSystem::withoutGpu();
    Random random;
    const float dt = 0.25f;
    for (int frame = 1; frame <= 3; ++frame) {
        const Random start = random;
        system.simulate(glm::vec3(5.0f), false, dt, random);
        EXPECT_TRUE(sameUpcomingDraws(random, advanced(start, kPool * kDriftDraws)));
        for (const Particle& p : system.particles) {
            EXPECT_FLOAT_EQ(p.life, -dt * frame);
            EXPECT_EQ(p.size, 0.1f);
            EXPECT_FLOAT_EQ(p.position.z, dt * frame);
            EXPECT_GT(p.position.y, 0.0f);
        }
    }
    expectInstanceDataMatches(system);
}

TEST(ParticleSystem, LifeEqualToTheFrameTimeRespawnsThatFrame) {
    ParticleSystem system = ParticleSystem::withoutGpu();
    for (Particle& p : system.particles) {
        p.life = 10.0f;
    }
    system.particles[7].life = 0.25f;
    system.particles[8].life = 0.2500001f;
    Random random;
    system.simulate(glm::vec3(0.0f, 0.0f, 90.0f), true, 0.25f, random);

    EXPECT_TRUE(sameUpcomingDraws(random, advanced(Random{}, kPool * kDriftDraws + kRespawnDraws)));
    EXPECT_GE(system.particles[7].life, 2.0f);
    EXPECT_FLOAT_EQ(system.particles[7].position.z, 90.25f);
    EXPECT_GT(system.particles[8].life, 0.0f);
    EXPECT_LT(system.particles[8].life, 0.001f);
}
