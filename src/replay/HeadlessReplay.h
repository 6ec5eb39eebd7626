#pragma once

#include "replay/RecordingReader.h"

#include <ostream>
#include <string>
#include <vector>

// Exit codes of playing and replaying.
inline constexpr int kExitPlayed = 0;
inline constexpr int kExitUnreadableRecording = 2;
inline constexpr int kExitReplayDiverged = 3;

// A recorded game run at full speed on the rules alone, without a window, OpenGL or sound: one
// summary line per game on `out`, problems on `errors`; one of the exit codes above.
int replayHeadless(const std::string& path, std::ostream& out, std::ostream& errors);
// The same for a recording already opened (and checked) with openRecording.
int replayHeadless(RecordingReader reader, const RecordingHeader& header, std::ostream& out,
                   std::ostream& errors);

// Replays each file headless in turn, as chronocell-verify does; the worst of their exit codes:
// a diverged replay outranks an unreadable file, which outranks a played one.
int replayEachHeadless(const std::vector<std::string>& paths, std::ostream& out,
                       std::ostream& errors);
