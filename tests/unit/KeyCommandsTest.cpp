#include "game/KeyCommands.h"
#include "RulesTestSupport.h"
#include "game/CommandEffects.h"
#include "game/KeyCodes.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

// Notes which effect beyond the game's records a command asked for.
class NotedEffects : public CommandEffects {
  public:
    std::vector<std::string> noted;

    void fullscreenChanged() override { noted.push_back("fullscreen"); }
    void refreshRateChanged(int refreshRate) override {
        noted.push_back("refresh " + std::to_string(refreshRate));
    }
    void quitRequested() override { noted.push_back("quit"); }
    void playLeft() override { noted.push_back("left play"); }
    void muteToggled() override { noted.push_back("mute"); }
};

} // namespace

// Catches a key reaching the wrong effect, or none, now that the window and the sound are told
// through a seam rather than acted on by the commands themselves.
TEST(KeyCommands, EachKeyAsksForItsOwnEffectOnly) {
    struct Case {
        const char* name;
        GameState state;
        int key;
        std::vector<std::string> noted;
        GameState stateAfter;
    };
    const std::vector<Case> cases = {
        {"F", GameState::Playing, keys::kF, {"fullscreen"}, GameState::Playing},
        {"O", GameState::StartScreen, keys::kO, {"refresh 70"}, GameState::StartScreen},
        {"L", GameState::Won, keys::kL, {"refresh 50"}, GameState::Won},
        {"Escape in play",
         GameState::Playing,
         keys::kEscape,
         {"left play"},
         GameState::StartScreen},
        {"Escape on a screen", GameState::Lost, keys::kEscape, {"quit"}, GameState::Lost},
        {"M", GameState::Playing, keys::kM, {"mute"}, GameState::Playing},
        {"Enter on a screen", GameState::StartScreen, keys::kEnter, {}, GameState::Playing},
        {"F3", GameState::Playing, keys::kF3, {}, GameState::Playing},
        {"an unknown key", GameState::Playing, keys::kUnknown, {}, GameState::Playing},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        RulesFixture fixture;
        fixture.context.state = test.state;
        NotedEffects effects;
        runCommands(fixture.context, fixture.clock, fixture.output, effects,
                    {PassCommand::keyReleased(test.key)});
        EXPECT_EQ(effects.noted, test.noted);
        EXPECT_EQ(fixture.context.state, test.stateAfter);
    }
}

// Catches commands the reader would refuse reaching a recording (or a NaN reaching the camera),
// and bounds that drop or reorder the commands a real pass takes.
TEST(PassInputBounds, KeepsWhatARecordingHoldsAndDropsOnlyWhatDoesNothing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    PassInput pass;
    pass.commands = {PassCommand::zoom(nan),         PassCommand::keyReleased(keys::kEnter),
                     PassCommand::zoom(5000.0),      PassCommand::keyReleased(2000),
                     PassCommand::zoom(-infinity),   PassCommand::keyReleased(-2),
                     PassCommand::keyReleased(-1),   PassCommand::zoom(-1.5),
                     PassCommand::keyReleased(1023), PassCommand::zoom(-1000.5)};
    pass.keepCommandsInBounds();
    const std::vector<PassCommand> kept = {
        PassCommand::keyReleased(keys::kEnter), PassCommand::zoom(PassInput::kMostZoomSteps),
        PassCommand::keyReleased(-1),           PassCommand::zoom(-1.5),
        PassCommand::keyReleased(1023),         PassCommand::zoom(-PassInput::kMostZoomSteps)};
    EXPECT_EQ(pass.commands, kept);

    pass.commands.assign(PassInput::kMostCommands + 5, PassCommand::keyReleased(keys::kUp));
    pass.commands[PassInput::kMostCommands - 1] = PassCommand::keyReleased(keys::kDown);
    pass.keepCommandsInBounds();
    ASSERT_EQ(pass.commands.size(), PassInput::kMostCommands);
    EXPECT_EQ(pass.commands.back(), PassCommand::keyReleased(keys::kDown));
}
