#pragma once

class FrameOutput;
class GameClock;
struct GameContext;

// Raises the "TIMERELIC - Press T" hint when it is due, on a frame-rate tick, on the ground.
void raiseRelicHint(GameContext& context);

// Shows a raised hint until 0.9 s into the frame-rate window, then lowers it.
void showRelicHint(GameContext& context, FrameOutput& output);

// T while the hint shows: remember where the player stands and stop the run.
void activateRelicMode(GameContext& context);

// A frame of the walk to the relic clock, ending with the pickup and a one-second freeze.
void runRelicFrame(GameContext& context, GameClock& clock, FrameOutput& output);
