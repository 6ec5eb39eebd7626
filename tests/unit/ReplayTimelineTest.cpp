// The paced replay's timeline without the steady clock: the times at which a video shows each
// pass, as a window replay would have shown it.
#include "replay/RecordingFormat.h"
#include "replay/ReplayClock.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

// One pass as the replay takes it: the wall time it carries (text screens), the clock values it
// reads, whether it starts a game, and when it is then shown.
struct TimedPass {
    const char* what;
    std::uint64_t wallMilliseconds;
    std::vector<double> reads;
    bool startsGame;
    double shownSeconds;
};

} // namespace

TEST(ReplayTimeline, ShowsEachPassWhenAWindowReplayWouldHaveShownIt) {
    const std::vector<TimedPass> passes = {
        {"the start screen, at once", 0, {}, false, 0.0},
        {"the start screen held 2.5 s", 2500, {}, false, 2.5},
        {"Enter: the game's first read anchors it", 2500, {0.0}, true, 2.5},
        {"a frame 1/60 s later", 0, {1.0 / 60.0}, false, 2.5 + 1.0 / 60.0},
        {"a frame read twice, the later read counts", 0, {0.05, 0.1}, false, 2.6},
        {"a freeze of a second", 0, {1.1}, false, 3.6},
        {"the loss screen, recorded 1 s after the last frame", 4600, {}, false, 4.6},
        {"a wall time behind the timeline does not move it back", 4000, {}, false, 4.6},
        {"a second game anchors anew", 5000, {0.0}, true, 5.0},
        {"and runs from there", 0, {0.5}, false, 5.5},
    };
    ReplayClock clock;
    clock.paceOnTimeline();
    EXPECT_EQ(clock.shownSeconds(), 0.0);
    for (const TimedPass& pass : passes) {
        std::vector<std::int64_t> reads;
        for (double seconds : pass.reads) {
            reads.push_back(recording::ticksOf(seconds));
        }
        clock.startPass(reads);
        clock.waitForWallTime(pass.wallMilliseconds);
        if (pass.startsGame) {
            clock.setTime(0.0);
        }
        for (std::size_t i = 0; i < reads.size(); ++i) {
            clock.now();
        }
        EXPECT_TRUE(clock.tookEveryRead()) << pass.what;
        EXPECT_NEAR(clock.shownSeconds(), pass.shownSeconds, 1e-6) << pass.what;
    }
}

// A page cannot let its thread sleep: the browser draws only once the frame hands control back.
// Faults caught: a wait that ignores the given sleep (the page would freeze for the wait), one that
// sleeps the whole wait in one go (nothing drawn or heard meanwhile), and one that sleeps past the
// value's time or not at all.
TEST(ReplayTimeline, APacedWaitSleepsThroughTheGivenSleepInShortSlices) {
    using std::chrono::milliseconds;
    ReplayClock clock;
    clock.pace({});
    ReplayClock::SteadyClock::duration slept{};
    clock.sleepWith([&slept](ReplayClock::SteadyClock::duration slice) {
        EXPECT_LE(slice, milliseconds(20)) << "a slice too long for the page to go on drawing";
        slept += slice;
        std::this_thread::sleep_for(slice);
    });
    const std::vector<std::int64_t> reads = {recording::ticksOf(0.0), recording::ticksOf(0.1)};
    clock.startPass(reads);
    clock.now();
    clock.now();
    // The second value comes 100 ms after the first, the first slice 20 ms of it. The time
    // between the slices, and their oversleeping, leave less than all of it for the slices, while
    // a slice past the value's time would make all of it or more.
    EXPECT_GE(slept, milliseconds(10));
    EXPECT_LT(slept, milliseconds(100));
}
