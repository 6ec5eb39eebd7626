#include "replay/GameSummaries.h"
#include "game/GameContext.h"

#include <gtest/gtest.h>
#include <memory>
#include <sstream>

// The summary lines of games whose tallies are set pass by pass, as the rules leave them.

namespace {

// What the rules leave after one pass.
struct After {
    PlayTally tally;
    GameState state = GameState::Playing;
    int relics = 0;
};

// Where the tallies stand when a case's first game starts, so that a game counted from the
// program's start shows.
const PlayTally kEarlier{3, 500, 40, 7};

PlayTally moved(int games, int frames, int stones, int switches) {
    return {kEarlier.gamesStarted + games, kEarlier.framesPlayed + frames,
            kEarlier.stonesSpawned + stones, kEarlier.phaseSwitches + switches};
}

} // namespace

// Catches a counted word with the wrong singular or plural, a game counted from the pass after
// its start (losing that pass's frame, and a stone its first frame spawned), a game counted
// from the last one's start, and a game reported twice or not at all.
TEST(GameSummaries, EachGameIsOneLineOfItsOwnCounts) {
    struct Case {
        const char* name;
        std::vector<After> passes;
        bool finished;
        std::string lines;
    };
    const GameState playing = GameState::Playing;
    const std::vector<Case> cases = {
        {"one of each, the first frame spawning the stone",
         {{moved(1, 1, 1, 1), GameState::Lost, 1}},
         true,
         "game 4: lost, 1 clock, 1.50 s, 1 frame, 1 stone, 1 phase switch\n"},
        {"two of each",
         {{moved(1, 1, 0, 0), playing},
          {moved(1, 2, 1, 1), playing, 1},
          {moved(1, 2, 2, 2), GameState::Won, 2}},
         false,
         "game 4: won, 2 clocks, 1.50 s, 2 frames, 2 stones, 2 phase switches\n"},
        {"none",
         {{moved(1, 1, 0, 0), playing}, {moved(1, 1, 0, 0), GameState::StartScreen}},
         false,
         "game 4: left, 0 clocks, 1.50 s, 1 frame, 0 stones, 0 phase switches\n"},
        {"a game still running",
         {{moved(1, 1, 1, 0), playing}, {moved(1, 3, 1, 0), playing}},
         true,
         "game 4: unfinished, 0 clocks, 1.50 s, 3 frames, 1 stone, 0 phase switches\n"},
        {"the next game from its own start",
         {{moved(1, 1, 0, 0), playing},
          {moved(1, 2, 1, 0), GameState::Lost},
          {moved(1, 2, 1, 0), GameState::Lost},
          {moved(2, 3, 2, 1), playing},
          {moved(2, 4, 2, 1), GameState::Won, 3}},
         true,
         "game 4: lost, 0 clocks, 1.50 s, 2 frames, 1 stone, 0 phase switches\n"
         "game 5: won, 3 clocks, 1.50 s, 2 frames, 1 stone, 1 phase switch\n"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::ostringstream out;
        GameSummaries summaries(out);
        auto context = std::make_unique<GameContext>();
        context->clock.gameStartTime = 0.25f;
        context->clock.currentTime = 1.75f;
        // The games before the case's, the last one left: the case's game starts where they
        // stand.
        context->tally = kEarlier;
        context->state = GameState::Playing;
        summaries.afterPass(*context);
        context->state = GameState::StartScreen;
        summaries.afterPass(*context);
        out.str("");
        for (const After& after : test.passes) {
            context->tally = after.tally;
            context->state = after.state;
            context->game.relicCount = after.relics;
            summaries.afterPass(*context);
        }
        if (test.finished) {
            summaries.finish(*context);
        }
        EXPECT_EQ(out.str(), test.lines);
    }
}
