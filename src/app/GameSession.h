#pragma once

#include <optional>
#include <string>

class FrameOutput;
class GameReplay;
class GameSounds;
struct GameContext;
struct GLFWwindow;

// Exit codes of the game's sessions.
inline constexpr int kExitPlayed = 0;
inline constexpr int kExitUnreadableRecording = 2;
inline constexpr int kExitReplayDiverged = 3;

// A game played at the keyboard and the pads until the window closes; with `recordPath`, also
// recorded. `sounds` is null when the game plays silently.
int playGame(GLFWwindow* window, GameContext& context, FrameOutput& output, GameSounds* sounds,
             const std::optional<std::string>& recordPath);

// A recorded game shown again in the window at its recorded pace.
int replayInWindow(GLFWwindow* window, GameContext& context, FrameOutput& output,
                   GameSounds* sounds, GameReplay& replay);

// A recorded game run at full speed without a window or OpenGL; one summary line per game on
// standard output.
int replayHeadless(const std::string& path);
