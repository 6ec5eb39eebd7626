#include "audio/web/WebAudioSink.h"

#include "audio/OfflineMixer.h"

// Defined in audio.js, linked with --js-library.
extern "C" {
int chronocell_audio_available();
double chronocell_audio_queued_seconds();
void chronocell_audio_queue(const std::int16_t* stereo, int frames);
}

bool WebAudioSink::available() {
    return chronocell_audio_available() != 0;
}

// audio.js says a negative time while its context is not running.
std::optional<double> WebAudioSink::queuedSeconds() {
    const double seconds = chronocell_audio_queued_seconds();
    if (seconds < 0.0) {
        return std::nullopt;
    }
    return seconds;
}

void WebAudioSink::queue(std::span<const std::int16_t> stereo) {
    chronocell_audio_queue(stereo.data(),
                           static_cast<int>(stereo.size() / OfflineMixer::kSamplesPerFrame));
}
