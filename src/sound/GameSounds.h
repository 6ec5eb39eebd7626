#pragma once

#include "audio/SoundOutput.h"
#include "game/GameEvents.h"

#include <array>
#include <iosfwd>
#include <memory>

struct Settings;

// The game's sounds: which file marks which moment, and the meadow that loops under play.
class GameSounds : public GameEvents {
  public:
    // None when the settings turn sound off (nothing opened, nothing said) or no device opens.
    static std::unique_ptr<GameSounds> open(const Settings& settings, std::ostream& errors);
    GameSounds(std::unique_ptr<SoundOutput> output, std::ostream& errors);

    void report(GameEvent event) override;
    // Escape from a game back to the start screen: the meadow fades with it.
    void leavePlay();
    void toggleMute();

  private:
    static constexpr std::size_t kEventCount = static_cast<std::size_t>(GameEvent::GameLost) + 1;

    std::unique_ptr<SoundOutput> output_;
    std::array<SoundOutput::Sound, kEventCount> eventSounds_;
    SoundOutput::Sound meadow_;
};
