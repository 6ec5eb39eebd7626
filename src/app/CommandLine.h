#pragma once

#include <optional>
#include <string>
#include <vector>

// What the game was asked to do on its command line. No option changes the rules of a game.
struct CommandLine {
    enum class Request { Play, ShowHelp, ShowVersion, Refuse };
    static constexpr int kDefaultVideoFps = 60;

    Request request = Request::Play;
    // The folder holding assets/, when given with --data.
    std::optional<std::string> dataFolder;
    // Where to record the game played (--record FILE).
    std::optional<std::string> recordFile;
    // The recorded game to show again (--replay FILE), without a window with --headless.
    std::optional<std::string> replayFile;
    bool headless = false;
    // With --replay: render the recorded games to this video file instead (--video FILE), at
    // --size WxH (0 x 0 keeps the recorded window's size) and --fps N frames a second.
    std::optional<std::string> videoFile;
    int videoWidth = 0;
    int videoHeight = 0;
    int videoFps = kDefaultVideoFps;
    // Why the command line was refused, for the line above the usage.
    std::string problem;
};

// Reads the arguments after the program name: --help, --version, --data DIR, --record FILE,
// --replay FILE, --headless, --video FILE, --size WxH, --fps N (an option's value may also follow
// '='). Anything else is refused: an option without its value, --headless or --video without
// --replay, --record with --replay, --video with --headless, --size or --fps without --video, a
// size that is not two even numbers of pixels within the encoder's range, a rate out of range.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The usage text --help prints, and a refused command line prints on standard error.
std::string usageText();

// What --help adds below the usage: the keys, then a line of where settings are read from.
std::string controlsText();
// Where the settings come from, with the player's own file at `userSettings` (empty when the
// environment names no place for it).
std::string describeSettingsFiles(const std::string& userSettings);

std::string versionText();

// Prints what a request other than Play asks for and gives the exit code: 0 for the help and
// the version, 2 for a refused command line. --version takes nothing else beside it.
int answerCommandLine(const CommandLine& commandLine);
