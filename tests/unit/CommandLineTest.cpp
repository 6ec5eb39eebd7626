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

TEST(CommandLine, AnswersOnTheRightStreamWithTheRightExitCode) {
    struct AnswerCase {
        std::vector<std::string> arguments;
        int exitCode;
        std::string out;
        std::string err;
    };
    const std::vector<AnswerCase> cases = {
        {{"--help"}, 0, usageText(), ""},
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
    for (const char* option : {"--data DIR", "--record FILE", "--replay FILE", "--headless"}) {
        EXPECT_NE(std::string::npos, usageText().find(option)) << option;
    }
}
