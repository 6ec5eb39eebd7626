#pragma once

#include <iosfwd>

struct CommandLine;
struct Settings;

// Exit codes of a video export besides those of a replay: a failure (no encoder, an output that
// cannot be written, an encoder that failed) and an export stopped by Ctrl+C or a termination.
inline constexpr int kExitExportFailed = 2;
inline constexpr int kExitExportStopped = 130;

// Renders the games recorded in the command line's --replay file to its --video file, exactly as
// the window replay shows them, at a steady frame rate and with their sounds, without showing a
// window or opening an audio device. `settings` are the player's, for the sound's volume; the
// recording's own replace the rest. One clear line and a non-zero exit code when anything fails,
// and then no file is left behind.
int exportVideo(const CommandLine& commandLine, const Settings& settings, std::ostream& errors);
