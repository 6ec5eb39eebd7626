#include "app/CommandLine.h"

#include "replay/GameVersion.h"

#include <iostream>
#include <string_view>

namespace {

constexpr int kAnswered = 0;
constexpr int kRefused = 2;

CommandLine refused(std::string problem) {
    CommandLine commandLine;
    commandLine.request = CommandLine::Request::Refuse;
    commandLine.problem = std::move(problem);
    return commandLine;
}

// The options that take a value, what the value is called, and where it goes.
struct ValueOption {
    std::string_view name;
    const char* valueName;
    std::optional<std::string> CommandLine::*target;
};

constexpr ValueOption kValueOptions[] = {
    {"--data", "a folder", &CommandLine::dataFolder},
    {"--record", "a file", &CommandLine::recordFile},
    {"--replay", "a file", &CommandLine::replayFile},
};

// The value of `option` at `arguments[i]` as "--name value" or "--name=value", moving `i` past
// it; nothing when the argument is another option; an empty value when it is missing.
std::optional<std::string> valueOf(const ValueOption& option,
                                   const std::vector<std::string>& arguments, std::size_t& i) {
    const std::string& argument = arguments[i];
    if (argument == option.name) {
        return i + 1 < arguments.size() ? arguments[++i] : std::string();
    }
    if (argument.starts_with(option.name) && argument.size() > option.name.size() &&
        argument[option.name.size()] == '=') {
        return argument.substr(option.name.size() + 1);
    }
    return std::nullopt;
}

// Reads one option with a value at arguments[i]; false when the argument is none of them.
bool readValueOption(CommandLine& commandLine, const std::vector<std::string>& arguments,
                     std::size_t& i) {
    for (const ValueOption& option : kValueOptions) {
        std::optional<std::string> value = valueOf(option, arguments, i);
        if (!value) {
            continue;
        }
        if (value->empty()) {
            commandLine = refused(std::string(option.name) + " needs " + option.valueName);
        } else {
            commandLine.*option.target = std::move(*value);
        }
        return true;
    }
    return false;
}

CommandLine checkCombination(CommandLine commandLine) {
    if (commandLine.recordFile && commandLine.replayFile) {
        return refused("--record and --replay cannot be used together");
    }
    if (commandLine.headless && !commandLine.replayFile) {
        return refused("--headless needs --replay");
    }
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
        if (argument == "--headless") {
            commandLine.headless = true;
        } else if (readValueOption(commandLine, arguments, i)) {
            if (commandLine.request == CommandLine::Request::Refuse) {
                return commandLine;
            }
        } else {
            return refused("unknown option '" + argument + "'");
        }
    }
    return checkCombination(std::move(commandLine));
}

std::string usageText() {
    return "Usage: chronocell [--data DIR] [--record FILE | --replay FILE [--headless]]\n"
           "       chronocell --help | --version\n"
           "Chronocell, a small 3D runner: collect three clocks within 90 seconds.\n"
           "\n"
           "  --data DIR       take the game's content (the folder holding assets/) from DIR\n"
           "  --record FILE    play as usual and record the game to FILE\n"
           "  --replay FILE    show the game recorded in FILE again; Escape leaves\n"
           "  --headless       with --replay: run the recorded game without a window and print\n"
           "                   one summary line per game\n"
           "  --help           show this help and exit\n"
           "  --version        show the version and exit\n";
}

std::string versionText() {
    return std::string("chronocell ") + gameVersion() + "\n";
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
