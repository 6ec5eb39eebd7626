#include "game/GameStart.h"

#include "game/FrameOutput.h"
#include "game/GameClock.h"
#include "game/GameContext.h"

namespace {

void resetFrameClock(FrameClock& frame) {
    frame.deltaTime = 0.0f;
    frame.currentTime = 0.0f;
    frame.secondsElapsed = 0;
    frame.remainingSeconds = FrameClock::kGameSeconds;
    frame.fpsAccumulator = 0.0;
    frame.lastFrameTime = 0.0;
}

} // namespace

void startGame(GameContext& context, GameClock& clock, FrameOutput& output) {
    context.player.resetForGameStart();
    context.stones.clearStones();

    GameValues& game = context.game;
    game.reversedPhase = false;
    game.phaseTime = 0.0f;
    game.spawnTimer = 0.0f;
    game.relicTimer = 0.0f;
    context.timing.drawForGameStart(context.random);

    context.camera.distance = Camera::kDefaultDistance;
    resetFrameClock(context.clock);
    context.input.wireframe = false;
    context.input.cullingEnabled = true;
    // The flags alone would leave a wireframe or unculled picture that no longer matches them.
    output.applyRasterState(context.input.wireframe, context.input.cullingEnabled);
    context.relic.relicMode = false;
    // The first frame of a game is drawn before the player has placed the camera; without this it
    // would look from the last game's spot, or at start-up from an eye sitting on its own target.
    context.player.placeCamera(context.relic.relicMode);

    clock.setTime(0.0);
    context.clock.gameStartTime = static_cast<float>(clock.now());
    context.state = GameState::Playing;
    game.relicCount = 0;
    ++context.tally.gamesStarted;
    context.report(GameEvent::GameStarted);
}
