#pragma once

class FrameOutput;
class GameClock;
struct GameContext;

// What the main loop starts from: a white first clear, and no frames counted towards the
// frame rate.
void prepareFirstPass(GameContext& context, FrameOutput& output);

// The state's work in a pass of the main loop, after the clear: a text screen with its clear
// colour (the start screen keeps the player's trail moving), or the frame clock and a frame of
// play.
void runStatePass(GameContext& context, GameClock& clock, FrameOutput& output);
