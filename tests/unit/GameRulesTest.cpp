#include "RulesTestSupport.h"

#include "game/GameRules.h"
#include "game/GameStart.h"
#include "world/ParticleSystem.h"

#include <functional>
#include <gtest/gtest.h>

TEST(GameStartRules, ResetsTheRunAndItsClockButLeavesFrameRateHudHintAndClockSlot) {
    RulesFixture game;
    struct Field {
        std::function<void(GameContext&)> setBefore;
        std::function<void(const GameContext&)> checkAfter;
    };
    // One line per field: the value it holds before the start and the value it must hold after.
    // clang-format off
#define FIELD(member, before, after)                                                               \
    {[](GameContext& c) { c.member = before; },                                                    \
     [](const GameContext& c) { EXPECT_EQ(c.member, after) << #member; }}
    // clang-format on
    const Field fields[] = {
        FIELD(state, GameState::Lost, GameState::Playing),
        FIELD(game.reversedPhase, true, false),
        FIELD(game.phaseTime, 5.0f, 0.0f),
        FIELD(game.spawnTimer, 5.0f, 0.0f),
        FIELD(game.relicTimer, 5.0f, 0.0f),
        FIELD(game.relicCount, 2, 0),
        FIELD(clock.deltaTime, 0.5f, 0.0f),
        FIELD(clock.currentTime, 57.0f, 0.0f),
        FIELD(clock.lastFrameTime, 57.0, 0.0),
        FIELD(clock.fpsAccumulator, 0.5, 0.0),
        FIELD(clock.secondsElapsed, 57, 0),
        FIELD(clock.remainingSeconds, 33, 90),
        FIELD(clock.gameStartTime, 3.0f, 0.0f),
        FIELD(clock.frameCount, 7, 7),
        FIELD(clock.displayedFps, 42, 42),
        FIELD(clock.hudVisible, false, false),
        FIELD(relic.relicHintRaised, true, true),
        FIELD(relic.relicMode, true, false),
        FIELD(relic.relicReturnPosition, glm::vec3(5.0f), glm::vec3(5.0f)),
        FIELD(input.wireframe, true, false),
        FIELD(input.cullingEnabled, false, true),
        FIELD(camera.distance, 20.0f, 13.0f),
        FIELD(clockSlot.collected, false, false),
    };
#undef FIELD
    for (const Field& field : fields) {
        field.setBefore(game.context);
    }
    game.context.stones.addStone(stoneAt(0.0f, 5.0f));
    game.clock.time = 57.0;

    startGame(game.context, game.clock, game.output);

    for (const Field& field : fields) {
        field.checkAfter(game.context);
    }
    EXPECT_EQ(game.output.calls, std::vector<std::string>{"raster(false,true)"});
    EXPECT_TRUE(game.context.stones.stones.empty());
    EXPECT_EQ(0.0, game.clock.time);
    EXPECT_EQ(glm::vec3(1.0f, 0.0f, 0.0f), game.context.camera.target)
        << "the first frame already looks down the path from behind the start";
    EXPECT_LT(game.context.camera.position.z, -9.0f);
}

namespace {

// The stones of the list, each given by the index of the draw that chose its lane and its z.
void expectStones(const GameContext& context, const std::vector<std::pair<int, float>>& expected) {
    const float laneX[] = {2.0f, 0.0f, 1.0f}; // by draw % 3
    ASSERT_EQ(context.stones.stones.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto [draw, z] = expected[i];
        EXPECT_EQ(context.stones.stones[i].position,
                  glm::vec3(laneX[referenceDraw(draw) % 3], 0, z))
            << "stone " << i;
    }
}

} // namespace

// The first game of a run, with both trails linked as the game links them. The frame times keep
// the draws countable: a 4 s frame outlives every particle (lives are 2 to 4 s), so all 50 of the
// player's trail respawn (6 draws each: 300); a 1.5 s frame right after a full
// respawn respawns none (2 drift
// draws each: 100); the clock's trail never respawns while the slot is collected (100). Every
// forward frame is long enough for a stone, since intervals are at most 1.5 s.
TEST(GoldenGame, StonesAndPhaseLengthsFollowFromTheOrderOfTheDraws) {
    RulesFixture game; // the start takes draws 0 to 2
    ParticleSystem trail = ParticleSystem::withoutGpu();
    ParticleSystem shimmer = ParticleSystem::withoutGpu();
    game.context.links.playerParticles = &trail;
    game.context.links.clockParticles = &shimmer;
    game.context.player.x = -10.0f; // out of the stones' way; no draw depends on x
    game.context.player.hitBox.position.x = -10.0f;
    const auto run = [&game](std::initializer_list<double> dts) {
        for (const double dt : dts) {
            game.frame(dt);
        }
    };
    EXPECT_FLOAT_EQ(game.context.timing.phaseDuration, 11.0f + 9.0f * referenceUnit(0));

    // 1.5 s: 300 + 100 particle draws (3 to 402), stone 403, interval 404. 4 s: 300 + 100, stone
    // 805, interval 806. 1.5 s: 100 + 100, stone 1007, interval 1008, then the hint, due at
    // 5 + 4 r(2) = 5.8 s, 1009. 4 s: 300 + 100, stone 1410, interval 1411; 11 s of phase, just
    // short of 11 + 9 r(0). 4 s: the switch, the player still running at +10 (z 110 to 150),
    // reversed length 6 + draw 1412 % 6 = 7 s. 1.5 s and 4 s back: 100 + 100 and 300 + 100, no
    // stone, and at 13.5 s the hint due at 8 + 4 r(1009) = 11.4 s, 2013.
    run({1.5, 4.0, 1.5, 4.0, 4.0, 1.5, 4.0});
    expectStones(game.context, {{403, 25.0f}, {805, 65.0f}, {1007, 80.0f}, {1410, 120.0f}});
    EXPECT_EQ(game.context.timing.phaseDuration, 6 + referenceDraw(1412) % 6);

    // 1.5 s: exactly 7 s reversed, the switch, the player still running at -8 (z 106 to 94),
    // forward length 11 + draw 2014 % 10, stones cleared. 1.5 s: 100 + 100, stone 2215, interval
    // 2216. 4 s: 300 + 100, stone 2617, interval 2618. 1.5 s: 100 + 100, stone 2819, interval
    // 2820; 8.5 s since the hint, short of 8 + 4 r(2013) = 10.5 s.
    run({1.5, 1.5, 4.0, 1.5});
    expectStones(game.context, {{2215, 119.0f}, {2617, 159.0f}, {2819, 174.0f}});
    EXPECT_EQ(game.context.timing.phaseDuration, 11 + referenceDraw(2014) % 10);
    EXPECT_FLOAT_EQ(game.context.timing.stoneSpawnInterval, 0.5f + referenceUnit(2820));
    EXPECT_EQ(game.context.game.spawnTimer, 0.0f) << "the next interval counts from the stone";
    EXPECT_FLOAT_EQ(game.context.timing.relicHintInterval, 8.0f + 4.0f * referenceUnit(2013));
    EXPECT_TRUE(sameUpcomingDraws(game.context.random, advanced(Random{}, 2821)));
}

TEST(Phases, LengthsAreWholeSecondsReachingBothEndsOfTheirRanges) {
    struct Case {
        bool reversedBefore;
        int draw;
        float length;
    };
    const Case cases[] = {{false, 0, 6.0f}, {false, 5, 11.0f}, {true, 0, 11.0f}, {true, 9, 20.0f}};
    for (const Case& expected : cases) {
        RulesFixture game;
        game.context.game.reversedPhase = expected.reversedBefore;
        game.context.timing.phaseDuration = 0.0f;
        game.context.random = randomWithDraw(0, expected.draw);
        game.frame(kFrame);
        EXPECT_EQ(game.context.timing.phaseDuration, expected.length) << expected.draw;
    }
}

TEST(Phases, ASwitchDueInTheAirWaitsForTheLanding) {
    RulesFixture game;
    game.context.timing.phaseDuration = 0.1f;
    game.context.timing.stoneSpawnInterval = 100.0f;
    game.context.player.jumpRequested = true;
    game.frame(kFrame);
    int framesInAir = 0;
    while (game.context.player.state == Player::kInAir) {
        EXPECT_FALSE(game.context.game.reversedPhase) << "no switch while airborne";
        game.frame(kFrame);
        ++framesInAir;
        ASSERT_LT(framesInAir, 100);
    }
    EXPECT_FALSE(game.context.game.reversedPhase) << "the landing frame itself is a normal frame";
    game.frame(kFrame);
    EXPECT_TRUE(game.context.game.reversedPhase);
}

TEST(Phases, TheSwitchFrameNeitherCollidesNorSpawnsAndPausesOffTheTimers) {
    RulesFixture game;
    game.context.timing.phaseDuration = 0.01f;
    game.context.timing.stoneSpawnInterval = 0.0f;
    game.context.stones.addStone(stoneAt(0.0f, 0.0f)); // right on the player
    game.output.calls.clear();
    game.frame(kFrame);

    EXPECT_EQ(GameState::Playing, game.context.state);
    EXPECT_EQ(1u, game.context.stones.stones.size());
    EXPECT_EQ((std::vector<std::string>{"scene", "swap"}), game.output.calls);
    EXPECT_EQ(1000, game.clock.sleptMilliseconds);
    EXPECT_EQ(0.0f, game.context.game.phaseTime);
    EXPECT_EQ(glm::vec3(1.0f, 0.0f, 0.0f), game.output.lightColorAtScene);
    EXPECT_EQ(glm::vec3(0.2f), game.light.color) << "the red light lasts one frame";

    // The pause counts for the countdown but not for the game's own timers.
    game.context.stones.clearStones();
    const float spawnBefore = game.context.game.spawnTimer;
    game.frame(kFrame);
    EXPECT_NEAR(spawnBefore + kFrame, game.context.game.spawnTimer, 1e-4);
    EXPECT_NEAR(kFrame, game.context.game.phaseTime, 1e-4);
    EXPECT_EQ(89, game.context.clock.remainingSeconds);
}

TEST(GameEnd, AStoneContactLosesAndAPickupInTheSameFrameStillCounts) {
    RulesFixture game;
    game.context.timing.stoneSpawnInterval = 100.0f;
    game.context.stones.addStone(stoneAt(0.0f, 0.0f));
    game.context.clockSlot = clockAt(glm::vec3(0.0f, 1.0f, 0.0f));
    game.frame(kFrame);
    EXPECT_EQ(GameState::Lost, game.context.state);
    EXPECT_EQ(1, game.context.game.relicCount);
    EXPECT_TRUE(game.context.clockSlot.collected);
    EXPECT_EQ((std::vector<std::string>{"scene", "status", "swap"}), game.output.calls)
        << "the frame that loses is still drawn";
}

TEST(GameEnd, NinetySecondsOfPlayDecideByTheRelicCountUnlessAlreadyLost) {
    struct Case {
        float startTime;
        float currentTime;
        int relics;
        GameState before;
        GameState after;
    };
    const Case cases[] = {
        {0.5f, 90.0f, 3, GameState::Playing, GameState::Playing},
        {0.0f, 90.0f, 2, GameState::Playing, GameState::Lost},
        {0.0f, 90.0f, 3, GameState::Playing, GameState::Won},
        // A start read just after the reset: 90 - 0.000001 is 90 in single precision.
        {0.000001f, 90.0f, 3, GameState::Playing, GameState::Won},
        {0.0f, 90.5f, 3, GameState::Lost, GameState::Lost},
    };
    for (const Case& expected : cases) {
        RulesFixture game;
        game.context.clock.gameStartTime = expected.startTime;
        game.context.clock.currentTime = expected.currentTime;
        game.context.game.relicCount = expected.relics;
        game.context.state = expected.before;
        checkGameEnd(game.context);
        EXPECT_EQ(expected.after, game.context.state)
            << expected.currentTime << " " << expected.relics;
    }
}

TEST(GameEnd, TheNinetySecondMarkEndsOrdinaryAndRelicFramesAlike) {
    for (const bool relicMode : {false, true}) {
        RulesFixture game;
        game.context.game.relicCount = 3;
        game.context.timing.phaseDuration = 1000.0f;
        game.context.timing.stoneSpawnInterval = 1000.0f;
        game.context.relic.relicMode = relicMode;
        game.clock.time = 89.5;
        game.context.clock.lastFrameTime = 89.5;
        game.frame(0.5);
        EXPECT_EQ(GameState::Won, game.context.state) << relicMode;
    }
}
