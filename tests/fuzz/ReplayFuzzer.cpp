// Feeds arbitrary bytes to the recorded games' reader and replay: the header, every pass to the
// end, the waits a paced replay would make for its wall times and clock values (interrupted at
// once, so only their arithmetic runs), and the rules replaying whatever passes the reader took.
#include "game/CommandEffects.h"
#include "game/GameContext.h"
#include "replay/HeadlessFrameOutput.h"
#include "replay/RecordingReader.h"
#include "replay/ReplaySession.h"
#include "world/ParticleSystem.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>

namespace {

bool readsToTheEnd(RecordingReader& reader) {
    ReplayClock paced;
    paced.pace([] { return true; });
    RecordedPass pass;
    RecordingReader::Next next = RecordingReader::Next::Pass;
    while ((next = reader.next(pass)) == RecordingReader::Next::Pass) {
        paced.startPass(pass.clockReads);
        paced.waitForWallTime(pass.wallMilliseconds);
        for (std::size_t i = 0; i < pass.clockReads.size(); ++i) {
            paced.now();
        }
    }
    return next != RecordingReader::Next::Damaged;
}

void replayHeadless(RecordingReader reader, const RecordingHeader& header) {
    auto context = std::make_unique<GameContext>();
    applyRecordedSettings(header, context->settings);
    ParticleSystem trail = ParticleSystem::withoutGpu();
    ParticleSystem shimmer = ParticleSystem::withoutGpu();
    context->links.playerParticles = &trail;
    context->links.clockParticles = &shimmer;
    std::ostringstream summaries;
    ReplaySession replay(std::move(reader), header.gameVersion, summaries, summaries);
    HeadlessFrameOutput output;
    CommandEffects noWindow;
    replay.playToEnd(*context, output, noWindow);
    context->unlinkResources();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RecordingReader reader(std::vector<std::uint8_t>(data, data + size));
    RecordingHeader header;
    if (!reader.readHeader(header) || !readsToTheEnd(reader)) {
        return 0;
    }
    reader.rewind();
    replayHeadless(std::move(reader), header);
    return 0;
}
