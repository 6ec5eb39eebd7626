#include "app/GameSession.h"

#include "app/Application.h"
#include "app/GameRecorder.h"
#include "app/GameReplay.h"
#include "app/GlfwGameClock.h"
#include "app/MainLoop.h"
#include "app/PlayerInput.h"
#include "game/GameContext.h"
#include "game/StatePass.h"
#include "replay/HeadlessFrameOutput.h"
#include "world/ParticleSystem.h"

#include <GLFW/glfw3.h>
#include <iostream>

namespace {

// Plays a replay to its end, its divergence, or the player leaving.
GameReplay::Step playReplay(GameReplay& replay, Application& application) {
    prepareFirstPass(application.context, application.output);
    GameReplay::Step step = replay.playPass(application);
    while (step == GameReplay::Step::Played) {
        step = replay.playPass(application);
    }
    if (step == GameReplay::Step::Diverged) {
        std::cerr << "replay diverged at frame " << replay.passNumber() << "\n";
    } else {
        replay.finish(application.context);
    }
    return step;
}

int exitCodeOf(GameReplay::Step step) {
    return step == GameReplay::Step::Diverged ? kExitReplayDiverged : kExitPlayed;
}

} // namespace

int playGame(GLFWwindow* window, GameContext& context, FrameOutput& output, GameSounds* sounds,
             const std::optional<std::string>& recordPath) {
    GlfwGameClock realClock;
    GameRecorder recorder(realClock, std::cout);
    const bool recording =
        recordPath && recorder.start(*recordPath, recordingHeaderFor(context.settings));
    Application application{context, recording ? recorder.clock() : realClock, output, {}, sounds};
    glfwSetWindowUserPointer(window, &application);
    PlayerInput player(window, application);
    prepareFirstPass(context, output);
    runMainLoop(window, application, player, recording ? &recorder : nullptr);
    if (recording) {
        recorder.finish(context);
    }
    glfwSetWindowUserPointer(window, nullptr);
    return kExitPlayed;
}

int replayInWindow(GLFWwindow* window, GameContext& context, FrameOutput& output,
                   GameSounds* sounds, GameReplay& replay) {
    Application application{context, replay.clock(), output, {}, sounds};
    glfwSetWindowUserPointer(window, &application);
    replay.showIn(window, application);
    const GameReplay::Step step = playReplay(replay, application);
    if (step == GameReplay::Step::Ended) {
        replay.waitForLeave();
    }
    glfwSetWindowUserPointer(window, nullptr);
    return exitCodeOf(step);
}

int replayHeadless(const std::string& path) {
    RecordingHeader header;
    std::optional<RecordingReader> reader = openRecording(path, header);
    if (!reader) {
        return kExitUnreadableRecording;
    }
    auto context = std::make_unique<GameContext>();
    applyRecordedSettings(header, context->settings);
    // The trails draw from the random generator, so they are simulated without their upload.
    ParticleSystem playerParticles = ParticleSystem::withoutGpu();
    ParticleSystem clockParticles = ParticleSystem::withoutGpu();
    context->links.playerParticles = &playerParticles;
    context->links.clockParticles = &clockParticles;
    GameReplay replay(std::move(*reader), std::cout);
    HeadlessFrameOutput output;
    Application application{*context, replay.clock(), output};
    const GameReplay::Step step = playReplay(replay, application);
    context->unlinkResources();
    return exitCodeOf(step);
}
