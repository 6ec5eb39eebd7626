#pragma once

#include "game/PassInput.h"

#include <vector>

class CommandEffects;
class FrameOutput;
class GameClock;
struct GameContext;

// Whatever gathered them (the window's callbacks, the pads, a recording), a pass's commands run
// here, in order: released keys and wheel turns.
void runCommands(GameContext& context, GameClock& clock, FrameOutput& output,
                 CommandEffects& effects, const std::vector<PassCommand>& commands);

// What a released key does: start, leave, fullscreen, brightness, refresh rate, F1 to F3, mute.
void runKeyCommand(GameContext& context, GameClock& clock, FrameOutput& output,
                   CommandEffects& effects, int key);

// Moves the camera closer (positive steps) or farther, as the wheel does.
void zoomCamera(GameContext& context, double steps);
