#pragma once

#include <cstdint>
#include <optional>

// How much of the mix to render at each pump of a player that is handed the mix in blocks (the
// browser's), so that what it has queued stays a short lead ahead of what it is playing. Only
// that lead stands between a sound the game starts and its being heard: the sound lands on the
// next frame rendered, after what is queued.
//
// While the player plays, its own clock rules: a pump tops up what it still has queued to the
// lead, so a player whose clock runs a little faster or slower than the wall clock neither runs
// dry nor queues ever more. While it plays nothing (a page before its first key press), the mix
// keeps to the wall clock, so that the sounds of those moments are over, not waiting, when it
// starts.
class MixPacer {
  public:
    static constexpr std::int64_t kFramesPerSecond = 44100;
    // 120 ms: seven frames of a 60 Hz loop, so a late frame or two do not let the player run
    // dry, yet a jump is heard with the jump.
    static constexpr std::int64_t kLeadFrames = kFramesPerSecond * 12 / 100;
    // 250 ms: the most a pump renders. After a stall (a hidden tab, a debugger) the mix goes on
    // from where it stopped rather than rendering the missed seconds at once and queuing them.
    static constexpr std::int64_t kMostFramesAtOnce = kFramesPerSecond / 4;

    // `startSeconds`: the wall clock when the mix's first frame is due to be heard.
    explicit MixPacer(double startSeconds);

    // The frames to render now, at wall time `wallSeconds`, the mix having rendered `rendered`
    // frames so far. `queuedSeconds` is how much the player still has to play of what it was
    // given; none while it plays nothing.
    std::int64_t framesDue(std::int64_t rendered, double wallSeconds,
                           std::optional<double> queuedSeconds);

  private:
    static std::int64_t framesIn(double seconds);

    // The wall clock's frame at which the mix's first frame is heard. It moves on by the time
    // the mix is not heard: a stall, or the player's clock running slower than the wall.
    std::int64_t startFrame_;
};
