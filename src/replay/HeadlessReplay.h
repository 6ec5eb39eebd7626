#pragma once

#include <ostream>
#include <string>

// Exit codes of playing and replaying.
inline constexpr int kExitPlayed = 0;
inline constexpr int kExitUnreadableRecording = 2;
inline constexpr int kExitReplayDiverged = 3;

// A recorded game run at full speed on the rules alone, without a window, OpenGL or sound: one
// summary line per game on `out`, problems on `errors`; one of the exit codes above.
int replayHeadless(const std::string& path, std::ostream& out, std::ostream& errors);
