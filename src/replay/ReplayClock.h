#pragma once

#include "game/GameClock.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

// The game clock of a replay: hands back the values the recorded pass read, in order. A paced
// replay also waits in real time, so the picture moves at the recorded speed: each value is
// returned no earlier than its distance from the game's first value, and a pass that carries
// wall time waits for it (the text screens). Waiting asks `interrupted` now and then, so a
// player can leave during a long wait.
class ReplayClock : public GameClock {
  public:
    using SteadyClock = std::chrono::steady_clock;

    // Paced replays only; a headless replay never waits.
    void pace(std::function<bool()> interrupted);
    // How a wait's slices are slept: the thread sleeps by default; a page yields to its browser
    // instead, which a blocked thread would never let draw.
    void sleepWith(std::function<void(SteadyClock::duration)> sleep) { sleep_ = std::move(sleep); }
    // Paces on a timeline of its own instead of the steady clock: every wait moves the timeline
    // on at once. A video takes the times of its frames from it.
    void paceOnTimeline();
    // How far into the paced replay the pass being played is shown, in seconds since it began.
    double shownSeconds() const;

    void startPass(const std::vector<std::int64_t>& reads);
    // False when the pass read the clock more or less often than the recorded one.
    bool tookEveryRead() const { return !overrun_ && next_ == reads_->size(); }
    void waitForWallTime(std::uint64_t milliseconds);

    double now() override;
    // A new game: its next value sets the pace anew.
    void setTime(double seconds) override;
    // The value read after a freeze already holds its length; pacing waits for it.
    void sleepMilliseconds(int /*milliseconds*/) override {}

  private:
    void waitUntil(SteadyClock::time_point until);
    SteadyClock::time_point currentTime() const;

    const std::vector<std::int64_t>* reads_ = nullptr;
    std::size_t next_ = 0;
    bool overrun_ = false;
    double last_ = 0.0;
    bool paced_ = false;
    bool onTimeline_ = false;
    SteadyClock::time_point timelineNow_;
    std::function<bool()> interrupted_;
    std::function<void(SteadyClock::duration)> sleep_;
    SteadyClock::time_point replayStart_ = SteadyClock::now();
    bool anchored_ = false;
    double anchorValue_ = 0.0;
    SteadyClock::time_point anchorTime_;
};
