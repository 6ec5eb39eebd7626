#include "game/GameStart.h"

#include "game/FrameOutput.h"
#include "game/GameClock.h"
#include "game/GameContext.h"

void startGame(GameContext& context, GameClock& clock, FrameOutput& output) {
    context.camera.distance = Camera::kDefaultDistance;

    FrameClock& frame = context.clock;
    frame.deltaTime = 0.0f;
    frame.currentTime = 0.0f;
    context.input.wireframe = false;
    context.input.cullingEnabled = true;
    // The flags alone would leave a wireframe or unculled picture that no longer matches them.
    output.applyRasterState(context.input.wireframe, context.input.cullingEnabled);
    frame.secondsElapsed = 0;
    frame.remainingSeconds = FrameClock::kGameSeconds;
    frame.fpsAccumulator = 0.0;
    frame.lastFrameTime = 0.0;

    clock.setTime(0.0);
    frame.gameStartTime = static_cast<float>(clock.now());
    context.state = GameState::Playing;
}
