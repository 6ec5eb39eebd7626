#pragma once

#include "replay/HeadlessReplay.h"

#include <optional>
#include <string>

class FrameOutput;
class GamepadStates;
class GameReplay;
class GameSounds;
struct GameContext;
struct GLFWwindow;

// A game played at the keyboard and the pads until the window closes; with `recordPath`, also
// recorded. `sounds` is null when the game plays silently; `pads` is read once a pass.
int playGame(GLFWwindow* window, GameContext& context, FrameOutput& output, GameSounds* sounds,
             GamepadStates& pads, const std::optional<std::string>& recordPath);

// A recorded game shown again in the window at its recorded pace.
int replayInWindow(GLFWwindow* window, GameContext& context, FrameOutput& output,
                   GameSounds* sounds, GameReplay& replay);
