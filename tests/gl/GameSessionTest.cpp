// A whole game session in the real window, played by a pad alone through the pad seam: the loop
// must read the pads every pass for the pad's buttons to start a game, jump, leave and quit.
#include "session/GameSession.h"
#include "input/GamepadStates.h"
#include "input/GlfwGamepadStates.h"
#include "scene/GameFrameOutput.h"
#include "scene/GameResources.h"
#include "support/GlTestEnvironment.h"
#include "unit/RulesTestSupport.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int kPadSlot = 3;

GLFWgamepadstate holding(int button) {
    GLFWgamepadstate state{};
    state.buttons[button] = GLFW_PRESS;
    return state;
}

// One pad in one slot, whose buttons follow a script pass by pass. Every slot is read once a
// pass, so the script advances on the first slot's read; after it the pad rests.
class ScriptedPad : public GamepadStates {
  public:
    explicit ScriptedPad(std::vector<GLFWgamepadstate> passes) : passes_(std::move(passes)) {}

    bool read(int slot, GLFWgamepadstate& state) override {
        passesRead += slot == 0 ? 1 : 0;
        if (slot != kPadSlot) {
            return false;
        }
        state = passesRead <= passes_.size() ? passes_[passesRead - 1] : GLFWgamepadstate{};
        return true;
    }

    std::size_t passesRead = 0;

  private:
    std::vector<GLFWgamepadstate> passes_;
};

// The game's own drawing, which also closes the window should the loop run on well past the
// pad's script, so that a loop deaf to the pads fails instead of playing for ever.
class PassLimitedOutput : public GameFrameOutput {
  public:
    static constexpr int kMostPasses = 30;

    PassLimitedOutput(GLFWwindow* window, GameResources& resources)
        : GameFrameOutput(window, resources), window_(window) {}

    void clearFrame() override {
        if (++passes > kMostPasses) {
            glfwSetWindowShouldClose(window_, GLFW_TRUE);
        }
        GameFrameOutput::clearFrame();
    }

    int passes = 0;

  private:
    GLFWwindow* window_;
};

} // namespace

TEST(GameSession, APadAloneStartsAGameJumpsLeavesItAndQuits) {
    GLFWwindow* window = glTestWindow();
    GameContext context;
    RecordingEvents events;
    const std::unique_ptr<GameResources> resources = createGameResources(context);
    context.links.events = &events;
    PassLimitedOutput output(window, *resources);
    const GLFWgamepadstate resting{};
    ScriptedPad pad({
        holding(GLFW_GAMEPAD_BUTTON_START),
        resting, // Start let go: Enter, a game starts
        holding(GLFW_GAMEPAD_BUTTON_A), holding(GLFW_GAMEPAD_BUTTON_A),
        holding(GLFW_GAMEPAD_BUTTON_BACK),
        resting, // Back let go: Escape, back to the start screen
        holding(GLFW_GAMEPAD_BUTTON_BACK),
        resting, // Escape on the start screen closes the window
    });

    EXPECT_EQ(playGame(window, context, output, nullptr, pad, std::nullopt), kExitPlayed);
    glfwSetWindowShouldClose(window, GLFW_FALSE);
    context.unlinkResources();

    EXPECT_EQ(output.passes, 8) << "the pad's Back buttons close the window on the last pass";
    EXPECT_EQ(pad.passesRead, 8u);
    ASSERT_GE(events.reported.size(), 2u);
    EXPECT_EQ(events.reported[0], GameEvent::GameStarted);
    EXPECT_EQ(events.reported[1], GameEvent::Jumped);
    EXPECT_EQ(context.state, GameState::StartScreen);
}

// The test's X server has no joystick: GLFW's slots must all read as empty, not as resting pads.
TEST(GameSession, GlfwSlotsWithoutAPadReadAsEmpty) {
    GlfwGamepadStates pads;
    for (int slot = 0; slot <= GLFW_JOYSTICK_LAST; ++slot) {
        GLFWgamepadstate state{};
        EXPECT_FALSE(pads.read(slot, state)) << slot;
    }
}
