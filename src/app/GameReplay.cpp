#include "app/GameReplay.h"

#include "app/Application.h"
#include "app/MainLoop.h"
#include "game/GameContext.h"

#include <GLFW/glfw3.h>
#include <iostream>

namespace {
constexpr double kLeaveWaitSeconds = 0.1;
}

GameReplay::GameReplay(RecordingReader reader, std::ostream& summaries)
    : reader_(std::move(reader)), summaries_(summaries) {}

void GameReplay::showIn(GLFWwindow* window, Application& application) {
    window_ = window;
    application_ = &application;
    clock_.pace([this] { return playerLeft(); });
}

bool GameReplay::playerLeft() {
    if (window_ == nullptr) {
        return false;
    }
    glfwPollEvents();
    for (const PassCommand& command : application_->windowCommands) {
        left_ = left_ || (command.kind == PassCommand::Kind::Key && command.key == GLFW_KEY_ESCAPE);
    }
    application_->windowCommands.clear();
    left_ = left_ || glfwWindowShouldClose(window_) == GLFW_TRUE;
    return left_;
}

void GameReplay::collectCommands(std::vector<PassCommand>& commands) {
    playerLeft();
    commands.insert(commands.end(), recorded_.commands.begin(), recorded_.commands.end());
}

GameReplay::Step GameReplay::playPass(Application& application) {
    if (reader_.next(recorded_) != RecordingReader::Next::Pass) {
        return Step::Ended;
    }
    clock_.startPass(recorded_.clockReads);
    clock_.waitForWallTime(recorded_.wallMilliseconds);
    runLoopPass(window_, application, *this, pass_);
    if (window_ != nullptr) {
        // A recorded Escape on a text screen closed the recorded window; only the player's
        // Escape or close button ends this one.
        glfwSetWindowShouldClose(window_, left_ ? GLFW_TRUE : GLFW_FALSE);
    }
    summaries_.afterPass(application.context);
    const bool sameCheckpoint = checkpoints_.afterPass(application.context) == recorded_.checkpoint;
    if (!clock_.tookEveryRead() || !sameCheckpoint) {
        return Step::Diverged;
    }
    return left_ ? Step::Left : Step::Played;
}

void GameReplay::waitForLeave() {
    while (!playerLeft()) {
        glfwWaitEventsTimeout(kLeaveWaitSeconds);
    }
}

std::optional<RecordingReader> openRecording(const std::string& path, RecordingHeader& header) {
    std::string problem;
    std::optional<std::vector<std::uint8_t>> bytes = loadRecordingFile(path, problem);
    if (!bytes) {
        std::cerr << "chronocell: cannot replay " << path << ": " << problem << "\n";
        return std::nullopt;
    }
    RecordingReader reader(std::move(*bytes));
    if (!reader.readHeader(header)) {
        std::cerr << "chronocell: cannot replay " << path << ": " << reader.problem() << "\n";
        return std::nullopt;
    }
    RecordedPass pass;
    RecordingReader::Next next = RecordingReader::Next::Pass;
    while ((next = reader.next(pass)) == RecordingReader::Next::Pass) {
    }
    if (next == RecordingReader::Next::Damaged) {
        std::cerr << "chronocell: cannot replay " << path << ": damaged after pass "
                  << reader.passesRead() << ": " << reader.problem() << "\n";
        return std::nullopt;
    }
    reader.rewind();
    return reader;
}
