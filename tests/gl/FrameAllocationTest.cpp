// A frame of play, drawing included, must not touch the heap: an allocation each frame is work
// the frame budget pays for and, over a long game, fragmentation. Counted with the benchmark's
// replacement of operator new, which the sanitizer build cannot share, so there it is skipped.
#include "game/GameContext.h"
#include "game/GameStart.h"
#include "game/KeyCodes.h"
#include "game/PassInput.h"
#include "input/Application.h"
#include "scene/GameFrameOutput.h"
#include "scene/GameResources.h"
#include "session/MainLoop.h"
#include "support/GlTestEnvironment.h"
#include "unit/RulesTestSupport.h"

#include "ScriptedPlayer.h"

#include <gtest/gtest.h>

#ifdef CHRONOCELL_COUNTS_ALLOCATIONS
#include "AllocationCounter.h"
#endif

namespace {

constexpr double kStep = 1.0 / 30.0;
// Long enough for stones, jumps and lane changes; the first run also lets the driver compile
// what it compiles on first use.
constexpr int kWarmUpPasses = 100;
constexpr int kCountedPasses = 100;

// The benchmark's scripted player at the keys; Enter on a screen starts the next game.
class ScriptedInput : public InputSource {
  public:
    explicit ScriptedInput(const GameContext& context) : context_(context), script_(kStep) {}

    HeldKeys sampleHeldKeys() override { return script_.keysFor(context_); }
    void collectCommands(std::vector<PassCommand>& commands) override {
        if (context_.state != GameState::Playing) {
            commands.push_back(PassCommand::keyReleased(keys::kEnter));
        }
    }

  private:
    const GameContext& context_;
    ScriptedPlayer script_;
};

} // namespace

TEST(FrameAllocations, AFrameOfPlayWithItsDrawingAllocatesNothing) {
#ifndef CHRONOCELL_COUNTS_ALLOCATIONS
    GTEST_SKIP() << "operator new is the sanitizer's in this build";
#else
    GLFWwindow* window = glTestWindow();
    GameContext context;
    const std::unique_ptr<GameResources> resources = createGameResources(context);
    FakeClock clock;
    GameFrameOutput output(window, *resources);
    Application application{context, clock, output};
    ScriptedInput input(context);
    PassInput pass;
    const auto play = [&](int passes) {
        for (int i = 0; i < passes; ++i) {
            clock.time += kStep;
            runLoopPass(window, application, input, pass);
        }
    };
    play(kWarmUpPasses);
    startGame(context, clock, output);
    const unsigned long before = allocationCount();
    play(kCountedPasses);
    EXPECT_EQ(allocationCount() - before, 0u);
    EXPECT_EQ(context.state, GameState::Playing);
    EXPECT_GT(context.stones.stones.size(), 0u) << "the counted passes drew stones";
    context.unlinkResources();
#endif
}
