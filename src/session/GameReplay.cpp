#include "session/GameReplay.h"

#include "game/GameContext.h"
#include "input/Application.h"
#include "input/WindowEffects.h"
#include "platform/QuitSignals.h"

#include <GLFW/glfw3.h>
#include <iostream>

namespace {

constexpr double kLeaveWaitSeconds = 0.1;

// A recorded Escape on a text screen closed the recorded window; only the player's Escape or
// close button ends this one.
class ReplayWindowEffects : public WindowEffects {
  public:
    using WindowEffects::WindowEffects;
    void quitRequested() override {}
};

} // namespace

GameReplay::GameReplay(RecordingReader reader, const RecordingHeader& header,
                       std::ostream& summaries)
    : session_(std::move(reader), header.gameVersion, summaries, std::cerr) {}

bool GameReplay::playerLeft() {
    glfwPollEvents();
    for (const PassCommand& command : application_->windowCommands) {
        left_ = left_ || (command.kind == PassCommand::Kind::Key && command.key == GLFW_KEY_ESCAPE);
    }
    application_->windowCommands.clear();
    left_ = left_ || glfwWindowShouldClose(window_) == GLFW_TRUE || quitSignals::received();
    return left_;
}

ReplaySession::Step GameReplay::playIn(GLFWwindow* window, Application& application) {
    begin(window, application);
    ReplaySession::Step step = playPass();
    while (step == ReplaySession::Step::Played) {
        step = playPass();
    }
    if (step == ReplaySession::Step::Ended) {
        waitForLeave();
    }
    return step;
}

void GameReplay::begin(GLFWwindow* window, Application& application) {
    window_ = window;
    application_ = &application;
    session_.pace([this] { return playerLeft(); });
    effects_ = std::make_unique<ReplayWindowEffects>(window, application);
    session_.begin(application.context, application.output);
}

ReplaySession::Step GameReplay::playPass() {
    const ReplaySession::Step step =
        session_.playPass(application_->context, application_->output, *effects_);
    if (step != ReplaySession::Step::Played) {
        session_.finish(step, application_->context);
    }
    return step;
}

void GameReplay::waitForLeave() {
    while (!playerLeft()) {
        glfwWaitEventsTimeout(kLeaveWaitSeconds);
    }
}
