#include "session/GameRecorder.h"

#include "game/GameContext.h"

#include <algorithm>

namespace {
constexpr std::size_t kReservedCommands = 64;
}

GameRecorder::GameRecorder(GameClock& realClock, std::ostream& summaries)
    : clock_(realClock), summaries_(summaries) {
    pass_.commands.reserve(kReservedCommands);
    pass_.clockReads.reserve(clock_.reads().capacity());
}

bool GameRecorder::start(const std::string& path, const RecordingHeader& header) {
    started_ = std::chrono::steady_clock::now();
    return writer_.open(path, header);
}

void GameRecorder::passDone(const PassInput& pass, const GameContext& context) {
    pass_.held = pass.held;
    pass_.commands = pass.commands;
    pass_.clockReads = clock_.reads();
    clock_.reads().clear();
    pass_.checkpoint = checkpoints_.afterPass(context);
    const auto elapsed = std::chrono::steady_clock::now() - started_;
    // Past its limit the wall time only paces a window replay: it stops there.
    pass_.wallMilliseconds = std::min<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(),
        recording::kMaxWallMilliseconds);
    writer_.write(pass_);
    if (context.state != stateBefore_ && stateBefore_ == GameState::Playing) {
        // The end of a game goes to the file at once: a crash on the screen after it keeps it.
        writer_.flushAt(pass_.wallMilliseconds);
    }
    stateBefore_ = context.state;
    summaries_.afterPass(context);
}

void GameRecorder::finish(const GameContext& context) {
    summaries_.finish(context);
    writer_.close();
}
