#include "platform/ChildProcess.h"
#include "platform/Files.h"
#include "platform/PipeWriter.h"
#include "platform/Process.h"
#include "platform/QuitSignals.h"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <iostream>
#include <sstream>
#include <thread>

namespace {

namespace fs = std::filesystem;

fs::path helper() {
    const fs::path folder = platform::executablePath().parent_path();
#ifdef _WIN32
    return folder / "platform_child_helper.exe";
#else
    return folder / "platform_child_helper";
#endif
}

// What a player does to stop the game from a console. Wine can neither send Ctrl+Break nor
// generate a console event; it turns a Unix SIGINT into Ctrl+C for a console program, so under
// Wine the test waits for the one its runner sends (tests/windows/test_game_under_wine.py).
void askToQuitFromTheConsole() {
#ifdef _WIN32
    std::cout << "waiting for Ctrl+C" << std::endl;
#else
    std::raise(SIGINT);
#endif
}

} // namespace

// Catches a console's request never reaching the game: a handler not installed, or the event
// left to the system's default, which ends the process without finishing the recording.
TEST(QuitSignals, TheConsolesStopRequestAsksTheGameToQuit) {
    quitSignals::install();
    ASSERT_FALSE(quitSignals::received());
    askToQuitFromTheConsole();
    // Windows runs console handlers on a thread of their own.
    for (int wait = 0; wait < 1000 && !quitSignals::received(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(quitSignals::received());
}

// Catches arguments split or joined on their way to the program (quoting that loses a space, a
// quote, a trailing backslash or an empty argument), the input not reaching it or never ending,
// a failing exit taken for success or its status lost, and the wrong line of its errors kept.
TEST(ChildProcess, HandsOverArgumentsAndInputAndTellsHowItEnded) {
    struct Case {
        std::vector<std::string> arguments;
        std::string input;
        bool succeeds;
        std::string problem;
        std::string lastLine;
    };
    const std::vector<Case> cases = {
        {{"echo", "a b", "say \"hi\"", "", "end\\", "x\\\"y", "c:\\dir\\"},
         "frame",
         true,
         "",
         "read 5|a b|say \"hi\"||end\\|x\\\"y|c:\\dir\\"},
        {{"echo"}, "", true, "", "read 0"},
        {{"fail"}, "", false, "exited with status 3", "the last words"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.arguments.front());
        std::ostringstream errors;
        std::optional<ChildProcess> child = ChildProcess::start(helper(), test.arguments, errors);
        ASSERT_TRUE(child) << errors.str();
        PipeWriter input(child->takeInput());
        std::string reason;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(test.input.data());
        EXPECT_EQ(input.writeAll(bytes, test.input.size(), reason), PipeWriter::Result::Written);
        input.close();
        std::string problem;
        EXPECT_EQ(child->wait(problem), test.succeeds);
        EXPECT_EQ(problem, test.problem);
        EXPECT_EQ(child->lastErrorLine(), test.lastLine);
    }
}

// Catches a missing program reported as started, or without the system's reason.
TEST(ChildProcess, AMissingProgramIsNamedWithTheReason) {
    std::ostringstream errors;
    EXPECT_FALSE(ChildProcess::start(helper().parent_path() / "no-such-program", {}, errors));
    EXPECT_NE(errors.str().find("no-such-program"), std::string::npos) << errors.str();
    EXPECT_NE(errors.str().find("No such file or directory"), std::string::npos) << errors.str();
}

// Catches a write to a program that never reads which a cancel cannot end (the export would
// hang on Ctrl+C), and a write to a program that has ended which succeeds or ends the game.
TEST(PipeWriter, AWriteWaitingForRoomEndsOnCancelAndOneToAnEndedReaderFails) {
    const std::vector<std::uint8_t> frame(64 << 20, 7);
    for (const bool readerGone : {false, true}) {
        SCOPED_TRACE(readerGone ? "reader gone" : "reader holding");
        std::ostringstream errors;
        std::optional<ChildProcess> child =
            ChildProcess::start(helper(), {readerGone ? "fail" : "hold"}, errors);
        ASSERT_TRUE(child) << errors.str();
        PipeWriter input(child->takeInput());
        std::string problem;
        if (readerGone) {
            child->wait(problem);
        }
        std::string reason;
        PipeWriter::Result result = PipeWriter::Result::Written;
        std::thread writer([&] {
            input.prepareWriterThread();
            result = input.writeAll(frame.data(), frame.size(), reason);
        });
        const auto started = std::chrono::steady_clock::now();
        if (!readerGone) {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            input.cancel();
        }
        writer.join();
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
        EXPECT_EQ(result,
                  readerGone ? PipeWriter::Result::ReaderGone : PipeWriter::Result::Cancelled);
        EXPECT_EQ(!reason.empty(), readerGone) << reason;
    }
}

// Catches a name that already exists being opened (and so written through) instead of refused.
TEST(Files, ANewFileIsNeverOneThatExists) {
    const fs::path path = platform::scratchFolder() /
                          ("chronocell-new-" + std::to_string(platform::processId()) + ".tmp");
    fs::remove(path);
    int error = -1;
    {
        const FileDescriptor made =
            platform::createNewFile(path, platform::Readers::OwnerOnly, error);
        EXPECT_TRUE(made.isOpen());
        EXPECT_EQ(error, 0);
        const FileDescriptor again =
            platform::createNewFile(path, platform::Readers::OwnerOnly, error);
        EXPECT_FALSE(again.isOpen());
        EXPECT_EQ(error, EEXIST);
    }
    EXPECT_TRUE(fs::remove(path));
}
