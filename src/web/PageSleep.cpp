#include "web/PageSleep.h"

#include <algorithm>
#include <emscripten.h>

namespace {
constexpr std::chrono::milliseconds kSlice{10};
}

void sleepInPage(std::chrono::steady_clock::duration length,
                 const std::function<void()>& betweenSlices) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point until = Clock::now() + length;
    for (Clock::time_point now = Clock::now(); now < until; now = Clock::now()) {
        const auto slice = std::min<Clock::duration>(until - now, kSlice);
        emscripten_sleep(static_cast<unsigned>(
            std::max<long long>(1, std::chrono::ceil<std::chrono::milliseconds>(slice).count())));
        if (betweenSlices) {
            betweenSlices();
        }
    }
}
