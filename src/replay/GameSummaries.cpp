#include "replay/GameSummaries.h"

#include "game/GameContext.h"

#include <cstdio>
#include <string>

namespace {

std::string counted(int count, const char* singular, const char* plural) {
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

const char* outcomeOf(GameState state) {
    switch (state) {
    case GameState::Won:
        return "won";
    case GameState::Lost:
        return "lost";
    default:
        return "left";
    }
}

} // namespace

void GameSummaries::afterPass(const GameContext& context) {
    // Everything in the pass that started a game, its first frame included, belongs to it.
    if (context.tally.gamesStarted != beforePass_.gamesStarted) {
        atStart_ = beforePass_;
        gameOpen_ = true;
    }
    beforePass_ = context.tally;
    if (gameOpen_ && context.state != GameState::Playing) {
        report(context, outcomeOf(context.state));
    }
}

void GameSummaries::finish(const GameContext& context) {
    if (gameOpen_) {
        report(context, "unfinished");
    }
}

void GameSummaries::report(const GameContext& context, const char* outcome) {
    gameOpen_ = false;
    const PlayTally& now = context.tally;
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.2f s",
                  static_cast<double>(context.clock.currentTime - context.clock.gameStartTime));
    out_ << "game " << now.gamesStarted << ": " << outcome << ", "
         << counted(context.game.relicCount, "clock", "clocks") << ", " << seconds << ", "
         << counted(now.framesPlayed - atStart_.framesPlayed, "frame", "frames") << ", "
         << counted(now.stonesSpawned - atStart_.stonesSpawned, "stone", "stones") << ", "
         << counted(now.phaseSwitches - atStart_.phaseSwitches, "phase switch", "phase switches")
         << std::endl;
}
