#include "game/StatePass.h"

#include "game/FrameOutput.h"
#include "game/GameClock.h"
#include "game/GameContext.h"
#include "game/GameRules.h"
#include "text/ScreenTexts.h"

namespace {

const glm::vec4 kFirstClearColour{1.0f, 1.0f, 1.0f, 1.0f};
const glm::vec4 kStartScreenColour{0.0f, 0.0f, 0.0f, 0.0f};
const glm::vec4 kWonScreenColour{0.0f, 1.0f, 0.0f, 0.0f};
const glm::vec4 kLostScreenColour{1.0f, 0.0f, 0.0f, 0.0f};

} // namespace

void prepareFirstPass(GameContext& context, FrameOutput& output) {
    output.setClearColor(kFirstClearColour);
    context.clock.displayedFps = 0;
    context.clock.frameCount = 0;
}

// The clear colour is set after the clear, so each screen's colour shows from the next pass on,
// and a game keeps the background of the screen it was started from.
void runStatePass(GameContext& context, GameClock& clock, FrameOutput& output) {
    switch (context.state) {
    case GameState::StartScreen:
        output.setClearColor(kStartScreenColour);
        output.drawScreenTexts(Screen::Start);
        updateIdleParticles(context);
        output.swapBuffers();
        break;
    case GameState::Won:
        output.drawScreenTexts(Screen::Won);
        output.setClearColor(kWonScreenColour);
        output.swapBuffers();
        break;
    case GameState::Lost:
        output.drawScreenTexts(Screen::Lost);
        output.setClearColor(kLostScreenColour);
        output.swapBuffers();
        break;
    case GameState::Playing:
        ++context.tally.framesPlayed;
        context.clock.tick(clock.now());
        runPlayingFrame(context, clock, output);
        break;
    }
}
