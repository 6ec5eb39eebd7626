#include "web/PageSession.h"

#include "app/SettingsFile.h"
#include "game/GameContext.h"
#include "game/StatePass.h"
#include "input/PlayerInput.h"
#include "platform/UserSettings.h"
#include "render/AssetPath.h"
#include "scene/GameFrameOutput.h"
#include "scene/GameResources.h"
#include "session/GameRecorder.h"
#include "session/GameReplay.h"
#include "session/MainLoop.h"
#include "sound/GameSounds.h"
#include "video/TimelineAnimationClock.h"
#include "web/PageAudio.h"
#include "web/PageBridge.h"
#include "web/PageSleep.h"

#include <GLFW/glfw3.h>
#include <glad/gl.h>
#include <iostream>

namespace {
constexpr const char* kSettingsPath = "assets/settings.ini";
}

PageSession::PageSession(GLFWwindow* window)
    : window_(window), context_(std::make_unique<GameContext>()), clock_(pumpPageAudio) {
    context_->settings = readSettings(assetPath(kSettingsPath), std::cerr);
    overlayUserSettings(context_->settings, userSettings::path(), std::cerr);
}

// The window takes the session's size and title, as a new window would.
void PageSession::open() {
    const Settings& settings = context_->settings;
    page::resizeCanvas(settings.width, settings.height);
    glfwSetWindowTitle(window_, settings.title.c_str());
    glViewport(0, 0, settings.width, settings.height);
    glfwSetWindowShouldClose(window_, GLFW_FALSE);
    sounds_ = GameSounds::open(settings, std::cerr);
    resources_ = createGameResources(*context_);
    output_ = std::make_unique<GameFrameOutput>(window_, *resources_);
    // A program starts filled and culled; the last session may have left wireframe on.
    output_->applyRasterState(context_->input.wireframe, context_->input.cullingEnabled);
    context_->links.events = sounds_.get();
}

std::unique_ptr<PageSession> PageSession::play(GLFWwindow* window,
                                               const std::string& recordingPath) {
    std::unique_ptr<PageSession> session(new PageSession(window));
    session->open();
    session->recorder_ = std::make_unique<GameRecorder>(session->clock_, std::cout);
    GameClock* clock = &session->clock_;
    if (session->recorder_->start(recordingPath, recordingHeaderFor(session->context_->settings))) {
        session->recordingPath_ = recordingPath;
        clock = &session->recorder_->clock();
    } else {
        session->recorder_.reset();
    }
    session->application_ = std::make_unique<Application>(
        Application{*session->context_, *clock, *session->output_, {}, session->sounds_.get()});
    glfwSetWindowUserPointer(window, session->application_.get());
    session->player_ =
        std::make_unique<PlayerInput>(window, *session->application_, session->pads_);
    prepareFirstPass(*session->context_, *session->output_);
    return session;
}

std::unique_ptr<PageSession> PageSession::replay(GLFWwindow* window, RecordingReader recording,
                                                 const RecordingHeader& header) {
    std::unique_ptr<PageSession> session(new PageSession(window));
    applyRecordedSettings(header, session->context_->settings);
    session->open();
    session->replay_ = std::make_unique<GameReplay>(std::move(recording), header, std::cout);
    // The waits between passes give the page back to the browser, and feed the sound.
    session->replay_->clock().sleepWith(
        [](std::chrono::steady_clock::duration length) { sleepInPage(length, pumpPageAudio); });
    // Posed at the replay's own time, as the desktop's window replay poses it.
    session->replayAnimation_ = std::make_unique<TimelineAnimationClock>(session->replay_->clock());
    session->resources_->characterModel->animationClock = session->replayAnimation_.get();
    session->application_ = std::make_unique<Application>(Application{*session->context_,
                                                                      session->replay_->clock(),
                                                                      *session->output_,
                                                                      {},
                                                                      session->sounds_.get()});
    glfwSetWindowUserPointer(window, session->application_.get());
    session->replay_->begin(window, *session->application_);
    return session;
}

PageSession::~PageSession() {
    end();
    glfwSetWindowUserPointer(window_, nullptr);
    if (resources_ != nullptr && resources_->characterModel != nullptr) {
        resources_->characterModel->animationClock = nullptr;
    }
    context_->unlinkResources();
    // The content goes before the sounds, as at the desktop game's end.
    replay_.reset();
    output_.reset();
    resources_.reset();
    sounds_.reset();
}

bool PageSession::frame() {
    if (replay_ != nullptr) {
        return replayFrame();
    }
    if (glfwWindowShouldClose(window_) == GLFW_TRUE) {
        return false;
    }
    runLoopPass(window_, *application_, *player_, pass_);
    if (recorder_ != nullptr) {
        recorder_->passDone(pass_, *context_);
    }
    return true;
}

bool PageSession::replayFrame() {
    if (replayEnded_) {
        return !replay_->playerLeft();
    }
    const ReplaySession::Step step = replay_->playPass();
    if (step == ReplaySession::Step::Played) {
        return true;
    }
    // At its end the last picture stays until the player leaves, as on the desktop.
    replayEnded_ = true;
    return step == ReplaySession::Step::Ended;
}

void PageSession::end() {
    if (ended_) {
        return;
    }
    ended_ = true;
    if (recorder_ != nullptr) {
        recorder_->finish(*context_);
    }
    if (sounds_ != nullptr) {
        sounds_->leavePlay();
    }
}
