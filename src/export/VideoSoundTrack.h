#pragma once

#include "audio/OfflineMixer.h"
#include "game/CommandEffects.h"
#include "game/GameEvents.h"
#include "sound/GameSounds.h"

#include <iosfwd>

class ReplayClock;
class TemporaryFile;
struct Settings;

// The sound track of a video: the game's own sounds, mixed offline instead of played. Each
// event's sound starts at the time the paced replay shows the pass that reported it, the meadow
// plays under play, and the recorded M presses mute it as they did the game. With sound turned
// off in the settings the track is silent.
class VideoSoundTrack : public GameEvents, public CommandEffects {
  public:
    VideoSoundTrack(const Settings& settings, const ReplayClock& clock, std::ostream& errors);

    void report(GameEvent event) override;
    void playLeft() override;
    void muteToggled() override;

    // The whole track up to `seconds`, as raw 16-bit stereo at 44.1 kHz; false after one line
    // on `errors` when the file cannot be written.
    bool write(TemporaryFile& file, double seconds, std::ostream& errors);

  private:
    void catchUp();

    const ReplayClock& clock_;
    bool enabled_;
    // Owned by the sounds, which play into it.
    OfflineMixer* mixer_;
    GameSounds sounds_;
};
