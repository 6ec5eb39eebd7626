#pragma once

#include <optional>
#include <string>
#include <vector>

// What the game was asked to do on its command line. No option changes how a game plays.
struct CommandLine {
    enum class Request { Play, ShowHelp, ShowVersion, Refuse };

    Request request = Request::Play;
    // The folder holding assets/, when given with --data.
    std::optional<std::string> dataFolder;
    // Why the command line was refused, for the line above the usage.
    std::string problem;
};

// Reads the arguments after the program name: --help, --version, --data DIR (or --data=DIR).
// Anything else, or --data without a folder, is refused.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The usage text --help prints, and a refused command line prints on standard error.
std::string usageText();

std::string versionText();

// Prints what a request other than Play asks for and gives the exit code: 0 for the help and
// the version, 2 for a refused command line.
int answerCommandLine(const CommandLine& commandLine);
