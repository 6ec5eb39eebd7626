#include "app/CommandLine.h"

#include "platform/UserSettings.h"
#include "replay/GameVersion.h"
#include "video/VideoSettings.h"

#include <charconv>
#include <iostream>
#include <string_view>

namespace {

constexpr int kAnswered = 0;
constexpr int kRefused = 2;
constexpr int kSmallestVideoSide = VideoSettings::kSmallestSide;
constexpr int kWidestVideo = VideoSettings::kWidest;
constexpr int kTallestVideo = VideoSettings::kTallest;
constexpr int kLowestVideoFps = VideoSettings::kFewestFramesPerSecond;
constexpr int kHighestVideoFps = VideoSettings::kMostFramesPerSecond;

CommandLine refused(std::string problem) {
    CommandLine commandLine;
    commandLine.request = CommandLine::Request::Refuse;
    commandLine.problem = std::move(problem);
    return commandLine;
}

// The values of the options that take one, as given.
struct OptionValues {
    std::optional<std::string> data;
    std::optional<std::string> record;
    std::optional<std::string> replay;
    std::optional<std::string> video;
    std::optional<std::string> size;
    std::optional<std::string> fps;
};

// The options that take a value, what the value is called, and where it goes.
struct ValueOption {
    std::string_view name;
    const char* valueName;
    std::optional<std::string> OptionValues::*target;
};

constexpr ValueOption kValueOptions[] = {
    {"--data", "a folder", &OptionValues::data},   {"--record", "a file", &OptionValues::record},
    {"--replay", "a file", &OptionValues::replay}, {"--video", "a file", &OptionValues::video},
    {"--size", "a size", &OptionValues::size},     {"--fps", "a frame rate", &OptionValues::fps},
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

// Reads one option with a value at arguments[i]: nothing when the argument is none of them, a
// problem when its value is missing.
std::optional<std::string> readValueOption(OptionValues& values,
                                           const std::vector<std::string>& arguments,
                                           std::size_t& i, bool& matched) {
    matched = false;
    for (const ValueOption& option : kValueOptions) {
        std::optional<std::string> value = valueOf(option, arguments, i);
        if (!value) {
            continue;
        }
        matched = true;
        if (value->empty()) {
            return std::string(option.name) + " needs " + option.valueName;
        }
        values.*option.target = std::move(*value);
        return std::nullopt;
    }
    return std::nullopt;
}

// A whole decimal number within [lowest, highest], with nothing before or after it.
std::optional<int> numberIn(std::string_view text, int lowest, int highest) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest ||
        value > highest) {
        return std::nullopt;
    }
    return value;
}

// "WxH" with both sides even and within the encoder's range; a problem otherwise.
std::optional<std::string> readVideoSize(const std::string& text, CommandLine& commandLine) {
    const std::size_t cross = text.find('x');
    const std::optional<int> width =
        cross == std::string::npos
            ? std::nullopt
            : numberIn(std::string_view(text).substr(0, cross), kSmallestVideoSide, kWidestVideo);
    const std::optional<int> height =
        cross == std::string::npos
            ? std::nullopt
            : numberIn(std::string_view(text).substr(cross + 1), kSmallestVideoSide, kTallestVideo);
    if (!width || !height || *width % 2 != 0 || *height % 2 != 0) {
        return "--size needs an even width and height in pixels, from " +
               std::to_string(kSmallestVideoSide) + "x" + std::to_string(kSmallestVideoSide) +
               " to " + std::to_string(kWidestVideo) + "x" + std::to_string(kTallestVideo) +
               ", such as 1280x720 (not '" + text + "')";
    }
    commandLine.videoWidth = *width;
    commandLine.videoHeight = *height;
    return std::nullopt;
}

std::optional<std::string> readVideoFps(const std::string& text, CommandLine& commandLine) {
    const std::optional<int> fps = numberIn(text, kLowestVideoFps, kHighestVideoFps);
    if (!fps) {
        return "--fps needs a whole number of frames a second from " +
               std::to_string(kLowestVideoFps) + " to " + std::to_string(kHighestVideoFps) +
               " (not '" + text + "')";
    }
    commandLine.videoFps = *fps;
    return std::nullopt;
}

std::optional<std::string> combinationProblem(const CommandLine& commandLine,
                                              const OptionValues& values) {
    if (commandLine.recordFile && commandLine.replayFile) {
        return "--record and --replay cannot be used together";
    }
    if (commandLine.headless && !commandLine.replayFile) {
        return "--headless needs --replay";
    }
    if (commandLine.videoFile && !commandLine.replayFile) {
        return "--video needs --replay";
    }
    if (commandLine.videoFile && commandLine.headless) {
        return "--video and --headless cannot be used together";
    }
    if ((values.size || values.fps) && !commandLine.videoFile) {
        return std::string(values.size ? "--size" : "--fps") + " needs --video";
    }
    return std::nullopt;
}

// The options' values in the command line, or the first problem with them.
CommandLine withValues(CommandLine commandLine, OptionValues values) {
    commandLine.dataFolder = std::move(values.data);
    commandLine.recordFile = std::move(values.record);
    commandLine.replayFile = std::move(values.replay);
    commandLine.videoFile = std::move(values.video);
    std::optional<std::string> problem = combinationProblem(commandLine, values);
    if (!problem && values.size) {
        problem = readVideoSize(*values.size, commandLine);
    }
    if (!problem && values.fps) {
        problem = readVideoFps(*values.fps, commandLine);
    }
    return problem ? refused(std::move(*problem)) : commandLine;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine commandLine;
    OptionValues values;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            commandLine.request = CommandLine::Request::ShowHelp;
            commandLine.dataFolder = values.data;
            return commandLine;
        }
        if (argument == "--version") {
            if (arguments.size() > 1) {
                return refused("--version takes no other arguments");
            }
            commandLine.request = CommandLine::Request::ShowVersion;
            return commandLine;
        }
        bool matched = false;
        if (argument == "--headless") {
            commandLine.headless = true;
        } else if (std::optional<std::string> problem =
                       readValueOption(values, arguments, i, matched)) {
            return refused(std::move(*problem));
        } else if (!matched) {
            return refused("unknown option '" + argument + "'");
        }
    }
    return withValues(std::move(commandLine), std::move(values));
}

std::string usageText() {
    return "Usage: chronocell [--data DIR] [--record FILE | --replay FILE [--headless]]\n"
           "       chronocell [--data DIR] --replay FILE --video OUT [--size WxH] [--fps N]\n"
           "       chronocell --help | --version\n"
           "Chronocell, a small 3D runner: collect three clocks within 90 seconds.\n"
           "\n"
           "  --data DIR       take the game's content (the folder holding assets/) from DIR\n"
           "  --record FILE    play as usual and record the game to FILE\n"
           "  --replay FILE    show the game recorded in FILE again; Escape leaves\n"
           "  --headless       with --replay: run the recorded game without a window and print\n"
           "                   one summary line per game\n"
           "  --video OUT      with --replay: render the recorded games to the video file OUT\n"
           "                   (.mp4 or .webm) with their sound, then exit; needs ffmpeg\n"
           "  --size WxH       the video's size in pixels (even numbers); by default the\n"
           "                   recorded window's\n"
           "  --fps N          the video's frames a second (default 60)\n"
           "  --help           show this help and exit\n"
           "  --version        show the version and exit\n";
}

std::string controlsText() {
    return "\n"
           "Keys (a gamepad works too: its stick, A to jump, X or Y for the relic, Start, Back):\n"
           "  Enter            start a game on the start, won and lost screens\n"
           "  Escape           leave a game for the start screen; on a screen, quit\n"
           "  A / D            change lane; in relic mode, turn left / right\n"
           "  Space            jump\n"
           "  T                use the time relic while TIMERELIC - Press T shows\n"
           "  W / S            in relic mode, walk forward / back\n"
           "  mouse wheel      camera closer / farther\n"
           "  F                fullscreen on / off\n"
           "  Up / Down        brightness up / down\n"
           "  M                sound off / on\n"
           "  O / L            the kept refresh rate up / down (no visible effect)\n"
           "  F1 / F2 / F3     for developers: wireframe / back-face culling / status texts\n"
           "Collect three clocks within 90 seconds; a stone ends the game.\n"
           "\n";
}

std::string describeSettingsFiles(const std::string& userSettings) {
    return "Settings: assets/settings.ini in the content folder, then, key by key, your own " +
           (userSettings.empty() ? std::string("(none: ") + userSettings::whyNone() + ")"
                                 : "in " + userSettings);
}

std::string versionText() {
    return std::string("chronocell ") + gameVersion() + "\n";
}

int answerCommandLine(const CommandLine& commandLine) {
    switch (commandLine.request) {
    case CommandLine::Request::ShowHelp:
        std::cout << usageText() << controlsText();
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
