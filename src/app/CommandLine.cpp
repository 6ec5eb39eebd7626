#include "app/CommandLine.h"

#include <iostream>
#include <string_view>

namespace {

constexpr int kAnswered = 0;
constexpr int kRefused = 2;
constexpr std::string_view kDataOption = "--data";
constexpr std::string_view kDataOptionWithValue = "--data=";

CommandLine refused(std::string problem) {
    CommandLine commandLine;
    commandLine.request = CommandLine::Request::Refuse;
    commandLine.problem = std::move(problem);
    return commandLine;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine commandLine;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            commandLine.request = CommandLine::Request::ShowHelp;
            return commandLine;
        }
        if (argument == "--version") {
            commandLine.request = CommandLine::Request::ShowVersion;
            return commandLine;
        }
        if (argument == kDataOption) {
            if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
                return refused("--data needs a folder");
            }
            commandLine.dataFolder = arguments[++i];
        } else if (argument.starts_with(kDataOptionWithValue)) {
            if (argument.size() == kDataOptionWithValue.size()) {
                return refused("--data needs a folder");
            }
            commandLine.dataFolder = argument.substr(kDataOptionWithValue.size());
        } else {
            return refused("unknown option '" + argument + "'");
        }
    }
    return commandLine;
}

std::string usageText() {
    return "Usage: chronocell [--data DIR]\n"
           "       chronocell --help | --version\n"
           "Chronocell, a small 3D runner: collect three clocks within 90 seconds.\n"
           "\n"
           "  --data DIR   take the game's content (the folder holding assets/) from DIR\n"
           "  --help       show this help and exit\n"
           "  --version    show the version and exit\n";
}

std::string versionText() {
    return std::string("chronocell ") + CHRONOCELL_VERSION + "\n";
}

int answerCommandLine(const CommandLine& commandLine) {
    switch (commandLine.request) {
    case CommandLine::Request::ShowHelp:
        std::cout << usageText();
        return kAnswered;
    case CommandLine::Request::ShowVersion:
        std::cout << versionText();
        return kAnswered;
    case CommandLine::Request::Refuse:
        std::cerr << "chronocell: " << commandLine.problem << "\n" << usageText();
        return kRefused;
    case CommandLine::Request::Play:
        break;
    }
    return kAnswered;
}
