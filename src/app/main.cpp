// Chronocell: a 3D runner. Reads the command line, finds the game's content, reads the settings,
// opens the window, creates the game's content, plays (recording if asked) or replays a recorded
// game, and shuts down in order. A headless replay needs neither content nor a window.
#include "app/CommandLine.h"
#include "app/ContentRoot.h"
#include "app/SettingsFile.h"
#include "app/Startup.h"
#include "app/VideoExport.h"
#include "game/GameContext.h"
#include "input/GamepadMappings.h"
#include "input/GlfwGamepadStates.h"
#include "model/Model.h"
#include "platform/Console.h"
#include "platform/QuitSignals.h"
#include "platform/UserSettings.h"
#include "render/AssetPath.h"
#include "scene/DebugOutput.h"
#include "scene/GameFrameOutput.h"
#include "scene/GameResources.h"
#include "session/GameRecorder.h"
#include "session/GameReplay.h"
#include "session/GameSession.h"
#include "sound/GameSounds.h"
#include "video/TimelineAnimationClock.h"

#include <GLFW/glfw3.h>
#include <algorithm>
#include <cstdlib>
#include <iostream>

namespace {
constexpr int kSetupFailed = -1;
constexpr const char* kSettingsPath = "assets/settings.ini";
constexpr const char* kGamepadMappingsPath = "assets/gamecontrollerdb.txt";

int run(int argc, char** argv) {
    const CommandLine commandLine = parseCommandLine({argv + std::min(argc, 1), argv + argc});
    if (commandLine.request != CommandLine::Request::Play) {
        const int exitCode = answerCommandLine(commandLine);
        if (commandLine.request == CommandLine::Request::ShowHelp) {
            std::cout << describeSettingsFiles(userSettings::path()) << "\n"
                      << describeContentRoot(searchForThisProgram(commandLine.dataFolder)) << "\n";
        }
        return exitCode;
    }
    if (commandLine.replayFile && commandLine.headless) {
        return replayHeadless(*commandLine.replayFile, std::cout, std::cerr);
    }
    // A headless replay keeps the default: the signal ends it at once.
    quitSignals::install();
    if (!useContentRoot(searchForThisProgram(commandLine.dataFolder))) {
        return kSetupFailed;
    }

    auto context = std::make_unique<GameContext>();
    context->settings = readSettings(assetPath(kSettingsPath), std::cerr);
    overlayUserSettings(context->settings, userSettings::path(), std::cerr);
    if (commandLine.videoFile) {
        return exportVideo(commandLine, context->settings, std::cerr);
    }
    std::optional<RecordingReader> recording;
    RecordingHeader header;
    if (commandLine.replayFile) {
        recording = openRecording(*commandLine.replayFile, header, std::cerr);
        if (!recording) {
            return kExitUnreadableRecording;
        }
        applyRecordedSettings(header, context->settings);
    }

    GLFWwindow* window = createGameWindow(context->settings);
    if (window == nullptr) {
        return kSetupFailed;
    }
    if (!loadOpenGlFunctions()) {
        glfwTerminate();
        return kSetupFailed;
    }
    configureOpenGl(window, context->settings);
    loadGamepadMappings(assetPath(kGamepadMappingsPath), std::cerr);
    int exitCode = kExitPlayed;
    {
        // Closed last in this block, after everything that could still start a sound.
        const std::unique_ptr<GameSounds> sounds = GameSounds::open(context->settings, std::cerr);
        std::unique_ptr<GameResources> resources = createGameResources(*context);
        GameFrameOutput output(window, *resources);
        context->links.events = sounds.get();
        if (recording) {
            GameReplay replay(std::move(*recording), header, std::cout);
            // Posed at the replay's own time, as a video of the recording poses it.
            TimelineAnimationClock animation(replay.clock());
            resources->characterModel->animationClock = &animation;
            exitCode = replayInWindow(window, *context, output, sounds.get(), replay);
            resources->characterModel->animationClock = nullptr;
        } else {
            GlfwGamepadStates pads;
            exitCode =
                playGame(window, *context, output, sounds.get(), pads, commandLine.recordFile);
        }
        context->unlinkResources();
    }
    reportHeldBackDebugMessages();
    glfwTerminate();
    return exitCode;
}

} // namespace

int main(int argc, char** argv) {
    platform::attachConsole();
    const int exitCode = run(argc, argv);
    // Only now may a console closing on Windows end the process: the recording is closed.
    quitSignals::shutdownDone();
    return exitCode;
}
