#pragma once

#include "game/GameClock.h"

#include <functional>

// The game clock in a page: GLFW's time, and a freeze that gives the page back to the browser,
// which a blocked thread would keep from showing the frozen picture. `whileWaiting` runs between
// the freeze's slices (the sound is fed there).
class PageGameClock : public GameClock {
  public:
    explicit PageGameClock(std::function<void()> whileWaiting = {})
        : whileWaiting_(std::move(whileWaiting)) {}

    double now() override;
    void setTime(double seconds) override;
    void sleepMilliseconds(int milliseconds) override;

  private:
    std::function<void()> whileWaiting_;
};
