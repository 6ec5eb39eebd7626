#include "RulesTestSupport.h"

#include "game/PlayerControls.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

struct ReportedAt {
    int frame;
    GameEvent event;
    bool operator==(const ReportedAt&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ReportedAt& reported) {
    return out << "frame " << reported.frame << ": event " << static_cast<int>(reported.event);
}

// A quiet game: no phase switch, no stones, no hint unless a case sets them up.
struct EventCase {
    const char* name;
    std::function<void(RulesFixture&)> arrange;
    std::function<HeldKeys(int frame)> keys;
    int frames;
    std::vector<ReportedAt> expected;
    double frameSeconds = kFrame;
};

HeldKeys none(int) {
    return {};
}

std::vector<ReportedAt> play(const EventCase& test) {
    RulesFixture game;
    game.context.timing.phaseDuration = 1000.0f;
    game.context.timing.stoneSpawnInterval = 1000.0f;
    game.context.timing.relicHintInterval = 1000.0f;
    test.arrange(game);
    std::vector<ReportedAt> reported;
    for (int frame = 0; frame < test.frames; ++frame) {
        pollHeldKeys(game.context, test.keys(frame));
        if (game.context.state == GameState::Playing) {
            game.frame(test.frameSeconds);
        }
        for (GameEvent event : game.events.reported) {
            reported.push_back({frame, event});
        }
        game.events.reported.clear();
    }
    return reported;
}

} // namespace

// Each event on the frame its rule acts, and only then.
TEST(GameEventReports, FireOnTheFrameTheRuleActsAndOnlyThen) {
    using enum GameEvent;
    const auto nothing = [](RulesFixture&) {};
    const EventCase cases[] = {
        {"space held: a jump, its landing, the next jump",
         nothing,
         [](int) { return HeldKeys{.space = true}; },
         40,
         {{0, Jumped}, {34, Landed}, {35, Jumped}}},
        {"a jump begun and landed within one long frame",
         nothing,
         [](int frame) { return HeldKeys{.space = frame == 0}; },
         2,
         {{0, Jumped}, {0, Landed}},
         1.0},
        {"the same on the relic walk",
         [](RulesFixture& game) { game.context.relic.relicMode = true; },
         [](int frame) { return HeldKeys{.space = frame == 0}; },
         2,
         {{0, Jumped}, {0, Landed}},
         1.0},
        {"a lane held, then the other",
         nothing,
         [](int frame) { return frame < 5 ? HeldKeys{.a = true} : HeldKeys{.d = true}; },
         8,
         {{0, LaneChanged}, {5, LaneChanged}}},
        {"lanes on the start screen are no game moment",
         [](RulesFixture& game) { game.context.state = GameState::StartScreen; },
         [](int frame) { return frame < 2 ? HeldKeys{.a = true} : HeldKeys{.d = true}; },
         4,
         {}},
        {"one switch, not one per frame of the freeze",
         [](RulesFixture& game) { game.context.timing.phaseDuration = 0.04f; },
         none,
         10,
         {{2, PhaseSwitched}}},
        {"the hint waits for the frame-rate tick",
         [](RulesFixture& game) { game.context.timing.relicHintInterval = 0.1f; },
         none,
         70,
         {{59, RelicHintRaised}}},
        {"T while the hint shows",
         [](RulesFixture& game) { game.context.relic.relicHintRaised = true; },
         [](int frame) { return HeldKeys{.t = frame == 1}; },
         3,
         {{1, RelicModeOn}}},
        {"a clock run into",
         [](RulesFixture& game) { game.context.clockSlot = clockAt(glm::vec3(0.0f)); },
         none,
         3,
         {{0, ClockCollected}}},
        {"a clock reached on the relic walk",
         [](RulesFixture& game) {
             game.context.relic.relicMode = true;
             game.context.clockSlot = clockAt(glm::vec3(0.0f));
         },
         none,
         1,
         {{0, ClockCollected}}},
        {"a stone ends the game once",
         [](RulesFixture& game) { game.context.stones.addStone(stoneAt(0.0f, 0.0f)); },
         none,
         3,
         {{0, GameLost}}},
        {"three clocks at the end",
         [](RulesFixture& game) {
             game.context.game.relicCount = 3;
             game.clock.time = 90.0;
         },
         none,
         3,
         {{0, GameWon}}},
        {"two clocks at the end",
         [](RulesFixture& game) {
             game.context.game.relicCount = 2;
             game.clock.time = 90.0;
         },
         none,
         3,
         {{0, GameLost}}},
    };
    for (const EventCase& test : cases) {
        EXPECT_EQ(test.expected, play(test)) << test.name;
    }
    RulesFixture game;
    game.restart();
    EXPECT_EQ(std::vector<GameEvent>{GameStarted}, game.events.reported) << "a game start";
}
