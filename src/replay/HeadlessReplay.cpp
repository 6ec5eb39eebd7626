#include "replay/HeadlessReplay.h"

#include "game/CommandEffects.h"
#include "game/GameContext.h"
#include "replay/HeadlessFrameOutput.h"
#include "replay/ReplaySession.h"
#include "world/ParticleSystem.h"

#include <memory>

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
    auto context = std::make_unique<GameContext>();
    applyRecordedSettings(header, context->settings);
    // The trails draw from the random generator, so they are simulated without their upload.
    ParticleSystem playerParticles = ParticleSystem::withoutGpu();
    ParticleSystem clockParticles = ParticleSystem::withoutGpu();
    context->links.playerParticles = &playerParticles;
    context->links.clockParticles = &clockParticles;
    ReplaySession replay(std::move(reader), header.gameVersion, out, errors);
    HeadlessFrameOutput output;
    CommandEffects noWindow;
    const ReplaySession::Step step = replay.playToEnd(*context, output, noWindow);
    context->unlinkResources();
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
