#include "sound/GameSounds.h"

#include "audio/SoundDevice.h"
#include "game/Settings.h"
#include "render/AssetPath.h"

namespace {

struct EventSound {
    GameEvent event;
    const char* file;
};

// A game start has no sound of its own: the meadow fading in marks it.
constexpr EventSound kEventSounds[] = {
    {GameEvent::Jumped, "assets/sounds/jump.wav"},
    {GameEvent::Landed, "assets/sounds/landing.wav"},
    {GameEvent::LaneChanged, "assets/sounds/lane_change.wav"},
    {GameEvent::PhaseSwitched, "assets/sounds/phase_switch.wav"},
    {GameEvent::RelicHintRaised, "assets/sounds/relic_hint.wav"},
    {GameEvent::RelicModeOn, "assets/sounds/relic_mode.wav"},
    {GameEvent::ClockCollected, "assets/sounds/clock_collected.wav"},
    {GameEvent::GameWon, "assets/sounds/win.wav"},
    {GameEvent::GameLost, "assets/sounds/loss.wav"},
};
constexpr const char* kMeadowFile = "assets/sounds/meadow.wav";

std::size_t indexOf(GameEvent event) {
    return static_cast<std::size_t>(event);
}

} // namespace

std::unique_ptr<GameSounds> GameSounds::open(const Settings& settings, std::ostream& errors) {
    if (!settings.soundEnabled) {
        return nullptr;
    }
    std::unique_ptr<SoundOutput> device = openSoundDevice(settings.volume, errors);
    if (device == nullptr) {
        return nullptr;
    }
    return std::make_unique<GameSounds>(std::move(device), errors);
}

GameSounds::GameSounds(std::unique_ptr<SoundOutput> output, std::ostream& errors)
    : output_(std::move(output)) {
    eventSounds_.fill(SoundOutput::kNoSound);
    for (const EventSound& sound : kEventSounds) {
        eventSounds_[indexOf(sound.event)] = output_->load(assetPath(sound.file), errors);
    }
    meadow_ = output_->load(assetPath(kMeadowFile), errors);
}

void GameSounds::report(GameEvent event) {
    output_->play(eventSounds_[indexOf(event)]);
    if (event == GameEvent::GameStarted) {
        output_->loop(meadow_);
    } else if (event == GameEvent::GameWon || event == GameEvent::GameLost) {
        output_->stopLoop();
    }
}

void GameSounds::leavePlay() {
    output_->stopLoop();
}

void GameSounds::toggleMute() {
    output_->toggleMute();
}
