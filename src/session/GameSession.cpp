#include "session/GameSession.h"

#include "game/GameContext.h"
#include "game/StatePass.h"
#include "input/Application.h"
#include "input/PlayerInput.h"
#include "session/GameRecorder.h"
#include "session/GameReplay.h"
#include "session/GlfwGameClock.h"
#include "session/MainLoop.h"

#include <GLFW/glfw3.h>
#include <iostream>

int playGame(GLFWwindow* window, GameContext& context, FrameOutput& output, GameSounds* sounds,
             GamepadStates& pads, const std::optional<std::string>& recordPath) {
    GlfwGameClock realClock;
    GameRecorder recorder(realClock, std::cout);
    const bool recording =
        recordPath && recorder.start(*recordPath, recordingHeaderFor(context.settings));
    Application application{context, recording ? recorder.clock() : realClock, output, {}, sounds};
    glfwSetWindowUserPointer(window, &application);
    PlayerInput player(window, application, pads);
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
    const ReplaySession::Step step = replay.playIn(window, application);
    glfwSetWindowUserPointer(window, nullptr);
    return step == ReplaySession::Step::Diverged ? kExitReplayDiverged : kExitPlayed;
}
