#include "app/GameRecorder.h"

#include "game/GameContext.h"

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
    pass_.wallMilliseconds = static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    writer_.write(pass_);
    summaries_.afterPass(context);
}

void GameRecorder::finish(const GameContext& context) {
    summaries_.finish(context);
    writer_.close();
}

RecordingHeader recordingHeaderFor(const Settings& settings) {
    return RecordingHeader{CHRONOCELL_VERSION,   settings.width,      settings.height,
                           settings.refreshRate, settings.fullscreen, settings.shaderBrightness};
}

void applyRecordedSettings(const RecordingHeader& header, Settings& settings) {
    settings.width = header.width;
    settings.height = header.height;
    settings.refreshRate = header.refreshRate;
    settings.fullscreen = header.fullscreen;
    settings.shaderBrightness = header.shaderBrightness;
}
