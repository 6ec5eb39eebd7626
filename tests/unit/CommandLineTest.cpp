#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using Request = CommandLine::Request;

struct ParseCase {
    std::vector<std::string> arguments;
    Request request;
    std::optional<std::string> dataFolder;
    std::optional<std::string> recordFile = std::nullopt;
    std::optional<std::string> replayFile = std::nullopt;
    bool headless = false;
};

// What --video and its options leave in a command line that plays.
struct VideoCase {
    std::vector<std::string> arguments;
    std::optional<std::string> videoFile;
    int width = 0;
    int height = 0;
    int fps = CommandLine::kDefaultVideoFps;
};

} // namespace

TEST(CommandLine, ReadsEachOptionAndRefusesWhatItDoesNotKnow) {
    const std::vector<ParseCase> cases = {
        {{}, Request::Play, std::nullopt},
        {{"--data", "/opt/game"}, Request::Play, "/opt/game"},
        {{"--data=relative/folder"}, Request::Play, "relative/folder"},
        {{"--data", "first", "--data", "second"}, Request::Play, "second"},
        {{"--help"}, Request::ShowHelp, std::nullopt},
        {{"-h"}, Request::ShowHelp, std::nullopt},
        {{"--data", "x", "--help"}, Request::ShowHelp, "x"},
        {{"--version"}, Request::ShowVersion, std::nullopt},
        {{"--version", "extra"}, Request::Refuse, std::nullopt},
        {{"--data", "x", "--version"}, Request::Refuse, std::nullopt},
        {{"--data"}, Request::Refuse, std::nullopt},
        {{"--data", ""}, Request::Refuse, std::nullopt},
        {{"--data="}, Request::Refuse, std::nullopt},
        {{"--fullscreen"}, Request::Refuse, std::nullopt},
        {{"assets"}, Request::Refuse, std::nullopt},
        {{"--help", "--bogus"}, Request::ShowHelp, std::nullopt},
        {{"--bogus", "--help"}, Request::Refuse, std::nullopt},
        {{"--versions"}, Request::Refuse, std::nullopt},
        {{"--record", "a.ccr"}, Request::Play, std::nullopt, "a.ccr"},
        {{"--record=b.ccr", "--data", "d"}, Request::Play, "d", "b.ccr"},
        {{"--replay", "a.ccr"}, Request::Play, std::nullopt, std::nullopt, "a.ccr"},
        {{"--headless", "--replay=a.ccr"},
         Request::Play,
         std::nullopt,
         std::nullopt,
         "a.ccr",
         true},
        {{"--record"}, Request::Refuse, std::nullopt},
        {{"--replay="}, Request::Refuse, std::nullopt},
        {{"--headless"}, Request::Refuse, std::nullopt},
        {{"--record", "a", "--headless"}, Request::Refuse, std::nullopt},
        {{"--record", "a", "--replay", "b"}, Request::Refuse, std::nullopt},
        {{"--recording", "a"}, Request::Refuse, std::nullopt},
    };
    for (const ParseCase& test : cases) {
        std::string shown;
        for (const std::string& argument : test.arguments) {
            shown += "[" + argument + "]";
        }
        SCOPED_TRACE(shown);
        const CommandLine commandLine = parseCommandLine(test.arguments);
        EXPECT_EQ(test.request, commandLine.request);
        EXPECT_EQ(test.dataFolder, commandLine.dataFolder);
        EXPECT_EQ(test.recordFile, commandLine.recordFile);
        EXPECT_EQ(test.replayFile, commandLine.replayFile);
        EXPECT_EQ(test.headless, commandLine.headless);
        EXPECT_EQ(test.request == Request::Refuse, !commandLine.problem.empty());
    }
}

TEST(CommandLine, ReadsAVideoExportAndRefusesSizesAndRatesNoEncoderTakes) {
    const std::vector<std::string> replay = {"--replay", "a.ccr"};
    const auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), replay.begin(), replay.end());
        return more;
    };
    const std::vector<VideoCase> plays = {
        {replay, std::nullopt},
        {with({"--video", "out.mp4"}), "out.mp4"},
        {with({"--video=out.webm", "--size", "1280x720"}), "out.webm", 1280, 720},
        {with({"--fps=30", "--video", "v.mp4"}), "v.mp4", 0, 0, 30},
        {with({"--video", "v.mp4", "--size", "16x16", "--fps", "1"}), "v.mp4", 16, 16, 1},
        {with({"--video", "v.mp4", "--size", "7680x4320", "--fps", "240"}), "v.mp4", 7680, 4320,
         240},
    };
    for (const VideoCase& test : plays) {
        const CommandLine commandLine = parseCommandLine(test.arguments);
        SCOPED_TRACE(test.arguments.back());
        EXPECT_EQ(commandLine.request, Request::Play) << commandLine.problem;
        EXPECT_EQ(commandLine.replayFile, "a.ccr");
        EXPECT_EQ(commandLine.videoFile, test.videoFile);
        EXPECT_EQ(commandLine.videoWidth, test.width);
        EXPECT_EQ(commandLine.videoHeight, test.height);
        EXPECT_EQ(commandLine.videoFps, test.fps);
    }
    const std::vector<std::pair<std::vector<std::string>, std::string>> refusals = {
        {{"--video", "v.mp4"}, "--video needs --replay"},
        {with({"--video", "v.mp4", "--headless"}),
         "--video and --headless cannot be used together"},
        {with({"--size", "640x480"}), "--size needs --video"},
        {with({"--fps", "30"}), "--fps needs --video"},
        {with({"--video"}), "--video needs a file"},
        {with({"--video", "v.mp4", "--size="}), "--size needs a size"},
        {with({"--video", "v.mp4", "--fps"}), "--fps needs a frame rate"},
    };
    for (const auto& [arguments, problem] : refusals) {
        const CommandLine commandLine = parseCommandLine(arguments);
        EXPECT_EQ(commandLine.request, Request::Refuse) << problem;
        EXPECT_EQ(commandLine.problem, problem);
    }
    for (const char* size : {"641x480", "640x481", "14x480", "640x14", "7682x480", "640x4322",
                             "640", "640x", "x480", "640X480", "640x480x2", " 640x480", "+640x480",
                             "-640x480", "640.0x480", "99999999999999999999x480"}) {
        const CommandLine commandLine =
            parseCommandLine(with({"--video", "v.mp4", "--size", size}));
        EXPECT_EQ(commandLine.request, Request::Refuse) << size;
        EXPECT_EQ(commandLine.problem,
                  "--size needs an even width and height in pixels, from 16x16 to 7680x4320, "
                  "such as 1280x720 (not '" +
                      std::string(size) + "')");
    }
    for (const char* fps : {"0", "241", "-1", "30.5", "30fps", "", "1e2"}) {
        const CommandLine commandLine =
            parseCommandLine(with({"--video", "v.mp4", std::string("--fps=") + fps}));
        EXPECT_EQ(commandLine.request, Request::Refuse) << fps;
    }
}

TEST(CommandLine, AnswersOnTheRightStreamWithTheRightExitCode) {
    struct AnswerCase {
        std::vector<std::string> arguments;
        int exitCode;
        std::string out;
        std::string err;
    };
    const std::vector<AnswerCase> cases = {
        {{"--help"}, 0, usageText() + controlsText(), ""},
        {{"--version", "--headless"},
         2,
         "",
         "chronocell: --version takes no other arguments\n" + usageText()},
        {{"--version"}, 0, "chronocell " CHRONOCELL_TEST_VERSION "\n", ""},
        {{"--what"}, 2, "", "chronocell: unknown option '--what'\n" + usageText()},
        {{"--data"}, 2, "", "chronocell: --data needs a folder\n" + usageText()},
        {{"--headless"}, 2, "", "chronocell: --headless needs --replay\n" + usageText()},
    };
    for (const AnswerCase& test : cases) {
        SCOPED_TRACE(test.arguments.front());
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int exitCode = answerCommandLine(parseCommandLine(test.arguments));
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(test.out, testing::internal::GetCapturedStdout());
        EXPECT_EQ(test.err, err);
        EXPECT_EQ(test.exitCode, exitCode);
    }
    for (const char* option : {"--data DIR", "--record FILE", "--replay FILE", "--headless",
                               "--video OUT", "--size WxH", "--fps N"}) {
        EXPECT_NE(std::string::npos, usageText().find(option)) << option;
    }
    // Every key a player needs is in the help; a refused command line stays short.
    for (const char* key : {"Enter", "Escape", "A / D", "Space", "T ", "W / S", "mouse wheel", "F ",
                            "Up / Down", "M ", "O / L", "F1 / F2 / F3"}) {
        EXPECT_NE(std::string::npos, controlsText().find(std::string("\n  ") + key)) << key;
        EXPECT_EQ(std::string::npos, usageText().find(std::string("\n  ") + key)) << key;
    }
}
