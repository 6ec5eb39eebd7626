#include "audio/WavReading.h"

#include "audio/OfflineMixer.h"

#include <SDL.h>
#include <cstring>
#include <memory>

namespace {

constexpr std::size_t kBytesPerSample = sizeof(std::int16_t);

struct FreeWav {
    void operator()(Uint8* bytes) const { SDL_FreeWAV(bytes); }
};

// SDL's own converter, as SDL_mixer converts what it loads: a mono file comes out on both sides
// and another rate is resampled alike.
std::optional<std::vector<std::int16_t>> convertToMixFormat(const SDL_AudioSpec& wavFormat,
                                                            const Uint8* bytes, Uint32 length) {
    SDL_AudioCVT convert;
    if (SDL_BuildAudioCVT(&convert, wavFormat.format, wavFormat.channels,
                          static_cast<int>(wavFormat.freq), AUDIO_S16SYS,
                          OfflineMixer::kSamplesPerFrame, OfflineMixer::kFramesPerSecond) < 0) {
        return std::nullopt;
    }
    // Only whole frames go through the converter, as in SDL_mixer.
    const Uint32 frameBytes = SDL_AUDIO_BITSIZE(wavFormat.format) / 8 * wavFormat.channels;
    convert.len = static_cast<int>(length - length % frameBytes);
    std::vector<Uint8> work(static_cast<std::size_t>(convert.len) *
                            static_cast<std::size_t>(convert.len_mult));
    std::memcpy(work.data(), bytes, static_cast<std::size_t>(convert.len));
    convert.buf = work.data();
    if (SDL_ConvertAudio(&convert) < 0) {
        return std::nullopt;
    }
    const std::size_t frames = static_cast<std::size_t>(convert.len_cvt) / kBytesPerSample /
                               OfflineMixer::kSamplesPerFrame;
    std::vector<std::int16_t> stereo(frames * OfflineMixer::kSamplesPerFrame);
    std::memcpy(stereo.data(), work.data(), stereo.size() * kBytesPerSample);
    return stereo;
}

} // namespace

std::optional<std::vector<std::int16_t>> readInMixFormat(const std::string& path,
                                                         std::string& reason) {
    // By default SDL plays the readable part of a cut-off file; a damaged file is refused
    // instead, as AudioMixer refuses it.
    SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "strict");
    SDL_AudioSpec wavFormat;
    Uint8* bytes = nullptr;
    Uint32 length = 0;
    std::optional<std::vector<std::int16_t>> stereo;
    if (SDL_LoadWAV(path.c_str(), &wavFormat, &bytes, &length) != nullptr) {
        const std::unique_ptr<Uint8, FreeWav> wav(bytes);
        stereo = convertToMixFormat(wavFormat, bytes, length);
    }
    if (!stereo) {
        reason = SDL_GetError();
    }
    return stereo;
}
