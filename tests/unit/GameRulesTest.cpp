#include "RulesTestSupport.h"

#include "game/GameRules.h"
#include "game/GameStart.h"

#include <gtest/gtest.h>

namespace {

Clock clockAt(const glm::vec3& position) {
    Clock clock = Clock::emptySlot();
    clock.position = position;
    clock.hitBox = HitBox{position, clock.scale};
    clock.collected = false;
    return clock;
}

} // namespace

TEST(GameStartRules, ResetsTheRunButLeavesTheClockSlotAndFrameRate) {
    RulesFixture game;
    game.context.clock.displayedFps = 42;
    game.context.clockSlot = clockAt(glm::vec3(3.0f, 1.0f, 4.0f));
    game.context.player.z = 120.0f;
    game.context.player.x = 2.0f;
    game.context.player.lane = 1;
    game.context.stones.addStone(stoneAt(0.0f, 5.0f));
    game.context.game.relicCount = 2;
    game.context.relic.relicMode = true;
    game.context.camera.distance = 20.0f;
    game.context.state = GameState::Lost;
    game.clock.time = 57.0;

    game.restart();

    const GameContext& context = game.context;
    EXPECT_EQ(GameState::Playing, context.state);
    EXPECT_EQ(0.0f, context.player.z);
    EXPECT_EQ(0, context.player.lane);
    EXPECT_TRUE(context.stones.stones.empty());
    EXPECT_EQ(0, context.game.relicCount);
    EXPECT_FALSE(context.relic.relicMode);
    EXPECT_EQ(13.0f, context.camera.distance);
    EXPECT_EQ(glm::vec3(1.0f, 0.0f, 0.0f), context.camera.target)
        << "the first frame already looks down the path from behind the start";
    EXPECT_LT(context.camera.position.z, -9.0f);
    EXPECT_EQ(90, context.clock.remainingSeconds);
    EXPECT_EQ(0.0, game.clock.time);
    EXPECT_EQ(42, context.clock.displayedFps);
    EXPECT_FALSE(context.clockSlot.collected) << "a game start leaves the clock slot alone";
    EXPECT_GE(context.timing.phaseDuration, 11.0f);
    EXPECT_LE(context.timing.phaseDuration, 20.0f);
    EXPECT_LE(context.timing.stoneSpawnInterval, 0.7f);
}

TEST(StoneSpawning, ADrawOfZeroPlacesAStoneOnTheFirstFrameThenOneAtATime) {
    RulesFixture game;
    game.forceDraw(1, 0);
    game.restart();
    EXPECT_EQ(0.0f, game.context.timing.stoneSpawnInterval);

    game.frame(kFrame);
    ASSERT_EQ(1u, game.context.stones.stones.size());
    const Stone& first = game.context.stones.stones.front();
    EXPECT_NEAR(game.context.player.z + 10.0f, first.position.z, 1e-4f);

    // A very long frame still spawns only one stone.
    game.context.game.spawnTimer = 0.0f;
    game.context.timing.stoneSpawnInterval = 0.5f;
    game.context.player.x = -10.0f; // out of the stones' way
    game.context.player.hitBox.position.x = -10.0f;
    game.frame(3.0);
    EXPECT_EQ(2u, game.context.stones.stones.size());
    EXPECT_GE(game.context.timing.stoneSpawnInterval, 0.5f);
    EXPECT_LE(game.context.timing.stoneSpawnInterval, 1.5f);
}

TEST(Phases, ReversedPhaseSpawnsNothingAndTheNextForwardPhaseClearsTheStones) {
    RulesFixture game;
    game.context.player.x = -10.0f;
    game.context.timing.phaseDuration = 0.05f;
    game.context.timing.stoneSpawnInterval = 0.0f;
    for (int frame = 0; frame < 10 && !game.context.game.reversedPhase; ++frame) {
        game.frame(kFrame);
    }
    ASSERT_TRUE(game.context.game.reversedPhase);
    EXPECT_EQ(-8.0f, game.context.player.speed);
    EXPECT_EQ(glm::vec3(1.0f, 0.0f, 0.0f), game.output.lightColorAtScene);
    EXPECT_EQ(glm::vec3(0.2f), game.light.color) << "the red light lasts one frame";
    const size_t stonesBefore = game.context.stones.stones.size();
    EXPECT_GT(stonesBefore, 0u);

    game.context.timing.phaseDuration = 100.0f;
    for (int frame = 0; frame < 30; ++frame) {
        game.frame(kFrame);
    }
    EXPECT_EQ(stonesBefore, game.context.stones.stones.size());

    game.context.timing.phaseDuration = 0.0f;
    game.frame(kFrame);
    EXPECT_FALSE(game.context.game.reversedPhase);
    EXPECT_TRUE(game.context.stones.stones.empty());
    EXPECT_EQ(10.0f, game.context.player.speed);
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
    const float durationAfter = game.context.timing.phaseDuration;
    EXPECT_GE(durationAfter, 6.0f);
    EXPECT_LE(durationAfter, 11.0f);
    EXPECT_EQ(durationAfter, static_cast<float>(static_cast<int>(durationAfter)));

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

TEST(GameEnd, NinetySecondsDecideByTheRelicCountUnlessAlreadyLost) {
    for (int relics = 2; relics <= 4; ++relics) {
        RulesFixture game;
        game.context.game.relicCount = relics;
        game.context.clock.currentTime = 89.99f;
        checkGameEnd(game.context);
        EXPECT_EQ(GameState::Playing, game.context.state);
        game.context.clock.currentTime = 90.0f;
        checkGameEnd(game.context);
        EXPECT_EQ(relics >= 3 ? GameState::Won : GameState::Lost, game.context.state);
    }

    RulesFixture lost;
    lost.context.game.relicCount = 3;
    lost.context.state = GameState::Lost;
    lost.context.clock.currentTime = 90.5f;
    checkGameEnd(lost.context);
    EXPECT_EQ(GameState::Lost, lost.context.state);
}

TEST(GameEnd, ACollisionOnTheNinetySecondFrameStaysLost) {
    RulesFixture game;
    game.context.game.relicCount = 3;
    game.context.timing.phaseDuration = 1000.0f;
    game.context.timing.stoneSpawnInterval = 1000.0f;
    game.clock.time = 89.99;
    game.context.clock.lastFrameTime = 89.99;
    game.context.stones.addStone(stoneAt(0.0f, 0.2f));
    game.frame(0.02);
    EXPECT_EQ(GameState::Lost, game.context.state);
}

TEST(GameEnd, ALongGameRunsTheCountdownDownToTheEnd) {
    RulesFixture game;
    game.context.player.x = -10.0f;
    game.context.player.hitBox.position.x = -10.0f;
    int frames = 0;
    while (game.context.state == GameState::Playing && frames < 20000) {
        game.frame(0.05);
        ++frames;
    }
    EXPECT_EQ(GameState::Lost, game.context.state) << "no relics: the 90 seconds lose";
    EXPECT_GE(game.clock.time, 89.99);
    EXPECT_LT(game.clock.time, 91.1);
    EXPECT_LE(game.context.clock.remainingSeconds, 1);
}
