#include "replay/HeadlessReplay.h"

#include "game/CommandEffects.h"
#include "game/GameContext.h"
#include "replay/HeadlessFrameOutput.h"
#include "replay/HeadlessWorld.h"
#include "replay/ReplaySession.h"

namespace {

int severity(int exitCode) {
    switch (exitCode) {
    case kExitPlayed:
        return 0;
    case kExitUnreadableRecording:
        return 1;
    default:
        return 2;
    }
}

} // namespace

int replayHeadless(const std::string& path, std::ostream& out, std::ostream& errors) {
    RecordingHeader header;
    std::optional<RecordingReader> reader = openRecording(path, header, errors);
    if (!reader) {
        return kExitUnreadableRecording;
    }
    return replayHeadless(std::move(*reader), header, out, errors);
}

int replayHeadless(RecordingReader reader, const RecordingHeader& header, std::ostream& out,
                   std::ostream& errors) {
    HeadlessWorld world(header, Settings{});
    ReplaySession replay(std::move(reader), header.gameVersion, out, errors);
    HeadlessFrameOutput output;
    CommandEffects noWindow;
    const ReplaySession::Step step = replay.playToEnd(world.context(), output, noWindow);
    return step == ReplaySession::Step::Diverged ? kExitReplayDiverged : kExitPlayed;
}

int replayEachHeadless(const std::vector<std::string>& paths, std::ostream& out,
                       std::ostream& errors) {
    int worst = kExitPlayed;
    for (const std::string& path : paths) {
        const int exitCode = replayHeadless(path, out, errors);
        if (severity(exitCode) > severity(worst)) {
            worst = exitCode;
        }
    }
    return worst;
}
