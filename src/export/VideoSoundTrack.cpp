#include "export/VideoSoundTrack.h"

#include "game/Settings.h"
#include "replay/ReplayClock.h"
#include "video/ExportMessage.h"
#include "video/TemporaryFile.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>
#include <ostream>
#include <vector>

namespace {

// A second of sound at a time: the file is written as it is mixed, so an hour costs no more
// memory than a second.
constexpr std::int64_t kChunkFrames = OfflineMixer::kFramesPerSecond;

std::unique_ptr<OfflineMixer> mixerFor(const Settings& settings, OfflineMixer*& mixer) {
    auto made = std::make_unique<OfflineMixer>(settings.volume);
    mixer = made.get();
    return made;
}

} // namespace

VideoSoundTrack::VideoSoundTrack(const Settings& settings, const ReplayClock& clock,
                                 std::ostream& errors)
    : clock_(clock), enabled_(settings.soundEnabled), mixer_(nullptr),
      sounds_(mixerFor(settings, mixer_), errors) {}

void VideoSoundTrack::catchUp() {
    mixer_->setTime(clock_.shownSeconds());
}

void VideoSoundTrack::report(GameEvent event) {
    if (enabled_) {
        catchUp();
        sounds_.report(event);
    }
}

void VideoSoundTrack::playLeft() {
    if (enabled_) {
        catchUp();
        sounds_.leavePlay();
    }
}

void VideoSoundTrack::muteToggled() {
    if (enabled_) {
        catchUp();
        sounds_.toggleMute();
    }
}

bool VideoSoundTrack::write(TemporaryFile& file, double seconds, std::ostream& errors) {
    const std::int64_t total = OfflineMixer::frameAt(seconds);
    std::vector<std::int16_t> chunk(static_cast<std::size_t>(kChunkFrames) *
                                    OfflineMixer::kSamplesPerFrame);
    for (std::int64_t done = 0; done < total; done += kChunkFrames) {
        const std::int64_t frames = std::min(kChunkFrames, total - done);
        const std::span<std::int16_t> samples(chunk.data(), static_cast<std::size_t>(frames) *
                                                                OfflineMixer::kSamplesPerFrame);
        mixer_->render(samples);
        if constexpr (std::endian::native == std::endian::big) {
            for (std::int16_t& sample : samples) {
                const auto bits = static_cast<std::uint16_t>(sample);
                sample = static_cast<std::int16_t>((bits >> 8) | (bits << 8));
            }
        }
        // The encoder reads the samples little-endian.
        if (!file.append(samples.data(), samples.size_bytes())) {
            errors << kCannotExport << "cannot write the sound track to " << file.path() << ": "
                   << std::strerror(errno) << std::endl;
            return false;
        }
    }
    return true;
}
