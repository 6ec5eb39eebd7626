#include "game/Settings.h"

#include <algorithm>

namespace {
constexpr long kMaxRefreshRate = 1000;
// Within this of an end, a brightness step has only float rounding left over.
constexpr float kBrightnessSnap = 1e-4f;
} // namespace

int stepRefreshRate(int refreshRate, int step) {
    const long next = static_cast<long>(refreshRate) + step;
    return static_cast<int>(std::clamp(next, 0L, kMaxRefreshRate));
}

float stepBrightness(float brightness, float step) {
    if ((step < 0.0f && brightness <= 0.0f) || (step > 0.0f && brightness >= 1.0f)) {
        return brightness;
    }
    float next = static_cast<float>(static_cast<double>(brightness) + static_cast<double>(step));
    if (next < kBrightnessSnap) {
        next = 0.0f;
    } else if (next > 1.0f - kBrightnessSnap) {
        next = 1.0f;
    }
    return next;
}
