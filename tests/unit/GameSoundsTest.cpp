#include "sound/GameSounds.h"
#include "RulesTestSupport.h"
#include "game/KeyCodes.h"
#include "game/PassInput.h"
#include "input/Application.h"
#include "session/MainLoop.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

// Notes what was asked of it by file, as "play <file>", "loop <file>", "stop loop" and
// "toggle mute". The one file named unloadable fails to load, as a missing file would.
class NotedOutput : public SoundOutput {
  public:
    NotedOutput(std::vector<std::string>& noted, std::string unloadable)
        : noted_(noted), unloadable_(std::move(unloadable)) {}

    Sound load(const std::string& path, std::ostream& errors) override {
        if (path == unloadable_) {
            errors << "cannot read " << path << '\n';
            return kNoSound;
        }
        files_.push_back(path);
        return static_cast<Sound>(files_.size() - 1);
    }
    void play(Sound sound) override { note("play", sound); }
    void loop(Sound sound) override { note("loop", sound); }
    void stopLoop() override { noted_.push_back("stop loop"); }
    void toggleMute() override { noted_.push_back("toggle mute"); }

  private:
    // A handle this output never gave out throws, and so fails the test.
    void note(const std::string& what, Sound sound) {
        if (sound != kNoSound) {
            noted_.push_back(what + " " + files_.at(static_cast<std::size_t>(sound)));
        }
    }

    std::vector<std::string>& noted_;
    std::string unloadable_;
    std::vector<std::string> files_;
};

struct NotedSounds {
    std::vector<std::string> noted;
    std::ostringstream errors;
    GameSounds sounds;

    explicit NotedSounds(const std::string& unloadable = "")
        : sounds(std::make_unique<NotedOutput>(noted, unloadable), errors) {}
};

constexpr auto kEventCount = static_cast<std::size_t>(GameEvent::GameLost) + 1;

struct EventNoted {
    GameEvent event;
    std::vector<std::string> noted;
};

// What each event asks of the output, in the enum's order.
const std::vector<EventNoted>& everyEventNoted() {
    using enum GameEvent;
    static const std::vector<EventNoted> cases = {
        {GameStarted, {"loop assets/sounds/meadow.wav"}},
        {Jumped, {"play assets/sounds/jump.wav"}},
        {Landed, {"play assets/sounds/landing.wav"}},
        {LaneChanged, {"play assets/sounds/lane_change.wav"}},
        {PhaseSwitched, {"play assets/sounds/phase_switch.wav"}},
        {RelicHintRaised, {"play assets/sounds/relic_hint.wav"}},
        {RelicModeOn, {"play assets/sounds/relic_mode.wav"}},
        {ClockCollected, {"play assets/sounds/clock_collected.wav"}},
        {GameWon, {"play assets/sounds/win.wav", "stop loop"}},
        {GameLost, {"play assets/sounds/loss.wav", "stop loop"}},
    };
    return cases;
}

// Feeds one released key to a pass of the main loop.
class OneKeyInput : public InputSource {
  public:
    explicit OneKeyInput(int key) : key_(key) {}
    HeldKeys sampleHeldKeys() override { return {}; }
    void collectCommands(std::vector<PassCommand>& commands) override {
        commands.push_back(PassCommand::keyReleased(key_));
    }

  private:
    int key_;
};

} // namespace

// Catches an event playing another event's file, none or two, a game start without the meadow,
// a moment of play restarting it, and a game's end leaving it running.
TEST(GameSounds, EachEventPlaysItsOwnFileAndOnlyAStartOrAnEndTouchesTheMeadow) {
    ASSERT_EQ(everyEventNoted().size(), kEventCount);
    for (std::size_t index = 0; index < kEventCount; ++index) {
        const EventNoted& test = everyEventNoted()[index];
        SCOPED_TRACE(static_cast<int>(test.event));
        ASSERT_EQ(static_cast<std::size_t>(test.event), index) << "the cases follow the enum";
        NotedSounds game;
        game.sounds.report(test.event);
        EXPECT_EQ(game.noted, test.noted);
    }
}

// Catches sound starting muted, or anything playing before a game starts.
TEST(GameSounds, OpeningLoadsAloneAndMuteStartsOff) {
    NotedSounds game;
    EXPECT_EQ(game.noted, std::vector<std::string>{});
}

// Catches loading that stops at a failed file, and handles taken in loading order, which a
// failed load shifts onto the wrong events.
TEST(GameSounds, AnUnloadableFileIsSilentAndTheRestStillPlay) {
    for (const std::string file : {"assets/sounds/jump.wav", "assets/sounds/meadow.wav"}) {
        SCOPED_TRACE(file);
        NotedSounds game(file);
        std::vector<std::string> expected;
        for (const EventNoted& event : everyEventNoted()) {
            for (const std::string& noted : event.noted) {
                if (!noted.ends_with(file)) {
                    expected.push_back(noted);
                }
            }
        }
        for (const EventNoted& event : everyEventNoted()) {
            game.sounds.report(event.event);
        }
        EXPECT_EQ(game.noted, expected);
        EXPECT_EQ(game.errors.str(), "cannot read " + file + "\n");
    }
}

// Catches the keys' sound effects lost between the rules and the sounds: the main loop's pass
// running the commands without the application's sounds, or Escape and M reaching the wrong one.
TEST(GameSounds, KeysInAPassOfTheMainLoopReachTheMeadowAndTheMute) {
    struct Case {
        const char* name;
        GameState state;
        int key;
        std::vector<std::string> noted;
    };
    const Case cases[] = {
        {"Enter on the start screen",
         GameState::StartScreen,
         keys::kEnter,
         {"loop assets/sounds/meadow.wav"}},
        {"Escape in play", GameState::Playing, keys::kEscape, {"stop loop"}},
        {"Escape on the loss screen", GameState::Lost, keys::kEscape, {}},
        {"M in play", GameState::Playing, keys::kM, {"toggle mute"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        RulesFixture fixture;
        NotedSounds game;
        fixture.context.links.events = &game.sounds;
        fixture.context.state = test.state;
        Application application{fixture.context, fixture.clock, fixture.output, {}, &game.sounds};
        OneKeyInput input(test.key);
        PassInput pass;
        runLoopPass(nullptr, application, input, pass);
        EXPECT_EQ(game.noted, test.noted);
    }
}
