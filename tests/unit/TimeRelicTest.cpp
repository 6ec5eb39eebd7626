#include "RulesTestSupport.h"

#include "game/GameRules.h"
#include "game/PlayerControls.h"
#include "game/TimeRelic.h"
#include "world/ParticleSystem.h"

#include <gtest/gtest.h>

namespace {

// A fixture whose game is quiet: no phase switch, no stones unless a test places them.
struct QuietGame : RulesFixture {
    QuietGame() {
        context.timing.phaseDuration = 1000.0f;
        context.timing.stoneSpawnInterval = 1000.0f;
    }
};

} // namespace

TEST(RelicHint, WaitsForTheFrameRateTickAndForTheGround) {
    QuietGame game;
    game.context.timing.relicHintInterval = 0.1f;
    for (int frame = 0; frame < 30; ++frame) {
        game.frame(kFrame);
        EXPECT_FALSE(game.context.relic.relicHintRaised) << "due, but the window is still open";
    }
    game.context.player.jumpRequested = true;
    while (!game.context.clock.closedFpsWindow() || game.context.player.state != Player::kInAir) {
        if (game.context.player.state != Player::kInAir) {
            game.context.player.jumpRequested = true;
        }
        game.frame(kFrame);
        ASSERT_LT(game.clock.time, 10.0);
    }
    EXPECT_FALSE(game.context.relic.relicHintRaised) << "a tick in the air does not raise it";

    while (!game.context.relic.relicHintRaised) {
        game.frame(kFrame);
        ASSERT_LT(game.clock.time, 10.0);
    }
    EXPECT_TRUE(game.context.clock.closedFpsWindow());
    EXPECT_EQ(0.0f, game.context.game.relicTimer);
    EXPECT_GE(game.context.timing.relicHintInterval, 8.0f);
    EXPECT_LE(game.context.timing.relicHintInterval, 12.0f);
    EXPECT_EQ(1, game.output.count("hint"));
}

TEST(RelicHint, ShowsUntilTheNinetyPercentMarkOfTheWindow) {
    QuietGame game;
    game.context.relic.relicHintRaised = true;
    game.context.clock.fpsAccumulator = 0.5;
    showRelicHint(game.context, game.output);
    EXPECT_EQ(1, game.output.count("hint"));
    game.context.clock.fpsAccumulator = 0.91;
    showRelicHint(game.context, game.output);
    EXPECT_EQ(1, game.output.count("hint"));
    EXPECT_FALSE(game.context.relic.relicHintRaised);
}

TEST(RelicActivation, TOnlyActsWhileTheHintShows) {
    QuietGame game;
    HeldKeys keys;
    keys.t = true;
    pollHeldKeys(game.context, keys);
    EXPECT_FALSE(game.context.relic.relicMode);

    game.context.player.z = 33.0f;
    game.context.player.turnRate = 100.0f;
    game.context.relic.relicHintRaised = true;
    pollHeldKeys(game.context, keys);
    EXPECT_TRUE(game.context.relic.relicMode);
    EXPECT_FALSE(game.context.relic.relicHintRaised);
    EXPECT_EQ(glm::vec3(game.context.player.x, 0.0f, 33.0f),
              game.context.relic.relicReturnPosition);
    EXPECT_EQ(0.0f, game.context.player.turnRate);
}

TEST(RelicFrame, CreatesTheClockStopsTheTimersAndDrawsThePlayerFirst) {
    QuietGame game;
    game.frame(kFrame);
    game.context.relic.relicHintRaised = true;
    activateRelicMode(game.context);
    const GameValues before = game.context.game;
    const float zBefore = game.context.player.z;
    game.output.calls.clear();

    game.frame(kFrame);
    EXPECT_FALSE(game.context.clockSlot.collected) << "the first relic frame places the clock";
    EXPECT_EQ(zBefore, game.context.player.z) << "the run does not go on in relic mode";
    EXPECT_EQ(before.phaseTime, game.context.game.phaseTime);
    EXPECT_EQ(before.spawnTimer, game.context.game.spawnTimer);
    EXPECT_EQ(before.relicTimer, game.context.game.relicTimer);
    EXPECT_EQ((std::vector<std::string>{"relicScene", "status", "swap"}), game.output.calls);
}

// From a fresh generator the first relic frame places the clock (draws 0 to 2: x, z, height),
// then both trails respawn all 50 (6 draws each), the clock's trail around the new clock: 3 to 602.
// A clock on a stone is then placed anew (603 to 605) and the hint interval redrawn (606), unless
// an earlier stone has already lost the game.
TEST(RelicFrame, PlacesTheClockBeforeTheTrailsAndReplacesItOnAStoneUnlessLost) {
    struct Case {
        bool stoneOnPlayer;
        GameState state;
        int clockDraw;
        int drawsTaken;
        float relicTimer;
        float hintInterval;
    };
    const Case cases[] = {
        {false, GameState::Playing, 603, 607, 0.0f, 3.0f * referenceUnit(606) + 3.0f},
        {true, GameState::Lost, 0, 603, 7.0f, 50.0f},
    };
    const auto clockFrom = [](int draw) {
        return glm::vec3(24.0f * referenceUnit(draw) - 12.0f,
                         referenceDraw(draw + 2) % 2 == 0 ? 2.0f : 1.0f,
                         24.0f * referenceUnit(draw + 1) - 12.0f);
    };
    for (const Case& expected : cases) {
        QuietGame game;
        ParticleSystem trail = ParticleSystem::withoutGpu();
        ParticleSystem shimmer = ParticleSystem::withoutGpu();
        game.context.links.playerParticles = &trail;
        game.context.links.clockParticles = &shimmer;
        game.context.random = Random();
        game.context.relic.relicMode = true;
        game.context.game.relicTimer = 7.0f;
        game.context.timing.relicHintInterval = 50.0f;
        if (expected.stoneOnPlayer) {
            game.context.stones.addStone(stoneAt(0.0f, 0.3f));
        }
        game.context.stones.addStone(stoneAt(clockFrom(0).x, clockFrom(0).z));
        game.frame(kFrame);

        EXPECT_EQ(expected.state, game.context.state);
        const glm::vec3 clock = game.context.clockSlot.position;
        const glm::vec3 wanted = clockFrom(expected.clockDraw);
        EXPECT_NEAR(clock.x, wanted.x, 1e-5f);
        EXPECT_EQ(clock.y, wanted.y);
        EXPECT_NEAR(clock.z, wanted.z, 1e-5f);
        EXPECT_TRUE(
            sameUpcomingDraws(game.context.random, advanced(Random{}, expected.drawsTaken)));
        EXPECT_EQ(expected.relicTimer, game.context.game.relicTimer);
        EXPECT_FLOAT_EQ(expected.hintInterval, game.context.timing.relicHintInterval);
    }
}

TEST(RelicFrame, ThePickupReturnsThePlayerAndPausesForASecond) {
    QuietGame game;
    game.context.player.z = 40.0f;
    game.context.player.hitBox.position.z = 40.0f;
    game.context.relic.relicHintRaised = true;
    activateRelicMode(game.context);
    game.frame(kFrame); // places the clock
    game.context.camera.distance = 18.0f;

    // Walk the player onto the clock.
    const Clock clock = game.context.clockSlot;
    game.context.player.x = clock.position.x;
    game.context.player.z = clock.position.z;
    game.context.player.jumpRequested = clock.position.y > 1.5f;
    game.context.player.heading = 35.0f;
    int frames = 0;
    while (game.context.relic.relicMode && frames < 60) {
        game.frame(kFrame);
        ++frames;
    }
    ASSERT_FALSE(game.context.relic.relicMode);
    EXPECT_EQ(1, game.context.game.relicCount);
    EXPECT_TRUE(game.context.clockSlot.collected);
    EXPECT_EQ(40.0f, game.context.player.z);
    EXPECT_EQ(0.0f, game.context.player.heading);
    EXPECT_EQ(13.0f, game.context.camera.distance);
    EXPECT_EQ(1.0f, game.context.camera.target.x);
    EXPECT_EQ(1000, game.clock.sleptMilliseconds);
    game.frame(kFrame);
    EXPECT_NEAR(kFrame, game.context.clock.deltaTime, 1e-4)
        << "the pause stays out of the next frame";
    EXPECT_FALSE(game.context.relic.relicMode);
}

TEST(RelicFrame, EscapeInRelicModeThenANewGameLeavesTheClockToBeTouchedInPassing) {
    QuietGame game;
    game.context.relic.relicHintRaised = true;
    activateRelicMode(game.context);
    game.frame(kFrame);
    ASSERT_FALSE(game.context.clockSlot.collected);
    const glm::vec3 where = game.context.clockSlot.position;

    game.context.state = GameState::StartScreen; // Escape
    game.restart();
    EXPECT_FALSE(game.context.relic.relicMode);
    EXPECT_FALSE(game.context.clockSlot.collected);
    EXPECT_EQ(where, game.context.clockSlot.position);

    game.context.timing.phaseDuration = 1000.0f;
    game.context.timing.stoneSpawnInterval = 1000.0f;
    game.context.player.x = where.x;
    game.context.player.z = where.z;
    game.context.player.speed = 0.0f;
    game.context.player.jumpRequested = where.y > 1.5f;
    for (int frame = 0; frame < 30 && !game.context.clockSlot.collected; ++frame) {
        game.frame(kFrame);
    }
    EXPECT_TRUE(game.context.clockSlot.collected);
    EXPECT_EQ(1, game.context.game.relicCount);
    EXPECT_EQ(where.x, game.context.player.x) << "a pickup in passing does not move the player";
}

TEST(PlayerControls, LanesJumpsAndWalking) {
    QuietGame game;
    Player& player = game.context.player;
    HeldKeys both;
    both.a = true;
    both.d = true;
    pollHeldKeys(game.context, both);
    EXPECT_EQ(1, player.lane) << "A wins over D";
    EXPECT_FLOAT_EQ(2.0f, player.x);
    pollHeldKeys(game.context, both);
    EXPECT_FLOAT_EQ(2.0f, player.x) << "holding a key moves once";

    game.context.game.reversedPhase = true;
    HeldKeys left;
    left.a = true;
    pollHeldKeys(game.context, left);
    EXPECT_EQ(0, player.lane) << "the reversed phase swaps the lane keys";
    EXPECT_FLOAT_EQ(0.0f, player.x);
    EXPECT_FLOAT_EQ(0.0f, player.hitBox.position.x);

    HeldKeys jump;
    jump.space = true;
    player.state = Player::kInAir;
    pollHeldKeys(game.context, jump);
    EXPECT_FALSE(player.jumpRequested) << "no jump from the air";
    player.state = Player::kOnGround;
    pollHeldKeys(game.context, jump);
    EXPECT_TRUE(player.jumpRequested);
    EXPECT_EQ(Player::kJumpClip, player.animationIndex);

    HeldKeys walk;
    walk.w = true;
    walk.s = true;
    walk.d = true;
    pollHeldKeys(game.context, walk);
    EXPECT_EQ(0.0f, player.moveSpeed) << "walking keys do nothing outside relic mode";
    game.context.relic.relicMode = true;
    pollHeldKeys(game.context, walk);
    EXPECT_EQ(18.0f, player.moveSpeed) << "W wins over S";
    EXPECT_EQ(-100.0f, player.turnRate);
    pollHeldKeys(game.context, HeldKeys{});
    EXPECT_EQ(0.0f, player.moveSpeed);
    EXPECT_EQ(0.0f, player.turnRate);
}
