#include "replay/RecordingFormat.h"

#include "game/BitCast.h"
#include "game/Settings.h"
#include "replay/GameVersion.h"

#include <cmath>

namespace recording {

std::int64_t ticksOf(double seconds) {
    return bitCast<std::int32_t>(static_cast<float>(seconds));
}

double secondsOf(std::int64_t ticks) {
    return static_cast<double>(bitCast<float>(static_cast<std::int32_t>(ticks)));
}

bool isPlausibleClockValue(std::int64_t ticks) {
    if (ticks < INT32_MIN || ticks > INT32_MAX) {
        return false;
    }
    const double seconds = secondsOf(ticks);
    return std::isfinite(seconds) && std::fabs(seconds) <= kMaxClockSeconds;
}

std::uint8_t packHeldKeys(const HeldKeys& keys) {
    return static_cast<std::uint8_t>(keys.w | keys.a << 1 | keys.s << 2 | keys.d << 3 |
                                     keys.space << 4 | keys.t << 5);
}

HeldKeys unpackHeldKeys(std::uint8_t bits) {
    HeldKeys keys;
    keys.w = (bits & 1) != 0;
    keys.a = (bits & 2) != 0;
    keys.s = (bits & 4) != 0;
    keys.d = (bits & 8) != 0;
    keys.space = (bits & 16) != 0;
    keys.t = (bits & 32) != 0;
    return keys;
}

} // namespace recording

RecordingHeader recordingHeaderFor(const Settings& settings) {
    return RecordingHeader{gameVersion(),        settings.width,      settings.height,
                           settings.refreshRate, settings.fullscreen, settings.shaderBrightness};
}

void applyRecordedSettings(const RecordingHeader& header, Settings& settings) {
    settings.width = header.width;
    settings.height = header.height;
    settings.refreshRate = header.refreshRate;
    settings.fullscreen = header.fullscreen;
    settings.shaderBrightness = header.shaderBrightness;
}
