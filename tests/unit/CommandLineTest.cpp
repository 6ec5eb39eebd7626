#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using Request = CommandLine::Request;

struct ParseCase {
    std::vector<std::string> arguments;
    Request request;
    std::optional<std::string> dataFolder;
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
    EXPECT_NE(std::string::npos, usageText().find("--data DIR"));
}
