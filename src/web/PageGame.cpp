#include "web/PageGame.h"

#include "platform/UserSettings.h"
#include "web/PageAudio.h"
#include "web/PageBridge.h"
#include "web/PageSession.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <system_error>

namespace {

bool endsWith(const std::string& text, const std::string& ending) {
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

} // namespace

PageGame::PageGame(GLFWwindow* window) : window_(window) {
    startPlaying();
}

PageGame::~PageGame() {
    endSession();
}

void PageGame::frame() {
    pumpPageAudio();
    for (std::string dropped = page::nextDroppedFile(); !dropped.empty();
         dropped = page::nextDroppedFile()) {
        takeDroppedFile(dropped);
    }
    if (page::sessionEndRequested() || !session_->frame()) {
        endSession();
        startPlaying();
    }
}

void PageGame::takeDroppedFile(const std::string& name) {
    if (endsWith(name, ".ini")) {
        std::error_code error;
        std::filesystem::copy_file(name, userSettings::path(),
                                   std::filesystem::copy_options::overwrite_existing, error);
        if (error) {
            std::cerr << "chronocell: " << name
                      << ": cannot be kept in this browser: " << error.message() << std::endl;
        } else {
            page::keepSettings();
        }
        std::filesystem::remove(name, error);
        endSession();
        startPlaying();
        return;
    }
    if (!endsWith(name, ".ccr")) {
        std::cerr << "chronocell: " << name << ": not a recording (.ccr) or a settings file (.ini)"
                  << std::endl;
        std::error_code error;
        std::filesystem::remove(name, error);
        return;
    }
    // An unreadable recording leaves the game as it was, after the reader's line.
    RecordingHeader header;
    std::optional<RecordingReader> recording = openRecording(name, header, std::cerr);
    if (recording) {
        endSession();
        session_ = PageSession::replay(window_, std::move(*recording), header);
        page::showSession("replaying " + name);
    }
    std::error_code error;
    std::filesystem::remove(name, error);
}

void PageGame::endSession() {
    if (session_ == nullptr) {
        return;
    }
    session_->end();
    const std::string recording = session_->recordingPath();
    session_.reset();
    if (!recording.empty()) {
        page::offerRecording(recording);
    }
}

void PageGame::startPlaying() {
    session_ = PageSession::play(window_, nextRecordingPath());
    page::showSession("playing");
}

std::string PageGame::nextRecordingPath() {
    std::error_code error;
    std::filesystem::create_directories("/recordings", error);
    return "/recordings/game-" + std::to_string(++recordings_) + ".ccr";
}
