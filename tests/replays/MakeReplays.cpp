// Writes the recorded games the tests replay: won.ccr, a game won with three clocks by the
// benchmark's scripted player (it steers round the stones and walks to the clocks), and
// lost.ccr, a game in which nobody touches a key. The player leaves the relic hint alone once
// it holds three clocks. Both run headless with a fixed frame time,
// quit with Escape on their last screen, and leave their summary lines beside them (.txt), as
// a headless replay must print them again. The start screen is held for a few more passes each
// try (the idle trail draws from the random generator) until the scripted player wins.
//
// Usage: chronocell_make_replays FOLDER
//        chronocell_make_replays --lost FILE PASSES_PER_SECOND
// The second form writes only the untouched lost game, at another fixed rate: the video export's
// benchmark compares recordings of one game made at different rates.
#include "BenchClock.h"
#include "ScriptedPlayer.h"

#include "game/GameContext.h"
#include "game/StatePass.h"
#include "input/Application.h"
#include "replay/HeadlessFrameOutput.h"
#include "session/GameRecorder.h"
#include "session/MainLoop.h"
#include "world/ParticleSystem.h"

#include <GLFW/glfw3.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

constexpr double kFrameSeconds = 1.0 / 60.0;
constexpr int kHighestRate = 1000;
constexpr int kMostTries = 200;
constexpr int kScreenPassesAfterTheEnd = 3;
constexpr int kClocksToWin = 3;

// The scripted player, or nobody, at the keys; Enter after the start screen's idle passes,
// Escape a few passes after the game has ended.
class AutopilotInput : public InputSource {
  public:
    AutopilotInput(const GameContext& context, bool playing, int idlePasses, double frameSeconds)
        : context_(context), player_(frameSeconds), playing_(playing), idlePasses_(idlePasses) {}

    // Once three clocks are in, the relic hint is no longer taken.
    HeldKeys sampleHeldKeys() override {
        if (!playing_ || context_.state != GameState::Playing) {
            return HeldKeys{};
        }
        HeldKeys keys = player_.keysFor(context_);
        keys.t = keys.t && context_.game.relicCount < kClocksToWin;
        return keys;
    }

    void collectCommands(std::vector<PassCommand>& commands) override {
        ++passes_;
        if (context_.state == GameState::StartScreen && passes_ > idlePasses_) {
            commands.push_back(PassCommand::keyReleased(GLFW_KEY_ENTER));
        } else if (context_.state == GameState::Won || context_.state == GameState::Lost) {
            if (++passesAfterTheEnd_ == kScreenPassesAfterTheEnd) {
                commands.push_back(PassCommand::keyReleased(GLFW_KEY_ESCAPE));
                quit_ = true;
            }
        }
    }

    bool quit() const { return quit_; }

  private:
    const GameContext& context_;
    ScriptedPlayer player_;
    bool playing_;
    int idlePasses_;
    int passes_ = 0;
    int passesAfterTheEnd_ = 0;
    bool quit_ = false;
};

// Plays one recorded game to `path`; its summary lines.
std::string recordGame(const std::string& path, bool playing, int idlePasses,
                       double frameSeconds = kFrameSeconds) {
    auto context = std::make_unique<GameContext>();
    ParticleSystem playerParticles = ParticleSystem::withoutGpu();
    ParticleSystem clockParticles = ParticleSystem::withoutGpu();
    context->links.playerParticles = &playerParticles;
    context->links.clockParticles = &clockParticles;
    BenchClock fixedSteps(frameSeconds);
    std::ostringstream summaries;
    GameRecorder recorder(fixedSteps, summaries);
    recorder.start(path, recordingHeaderFor(context->settings));
    HeadlessFrameOutput output;
    Application application{*context, recorder.clock(), output};
    AutopilotInput input(*context, playing, idlePasses, frameSeconds);
    PassInput pass;
    prepareFirstPass(*context, output);
    while (!input.quit()) {
        fixedSteps.advanceFrame();
        runLoopPass(nullptr, application, input, pass);
        recorder.passDone(pass, *context);
    }
    recorder.finish(*context);
    context->unlinkResources();
    return summaries.str();
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--lost") {
        const int rate = std::atoi(argv[3]);
        if (rate < 1 || rate > kHighestRate) {
            std::fprintf(stderr, "%s: a rate from 1 to %d passes a second\n", argv[0],
                         kHighestRate);
            return 2;
        }
        std::printf("%s", recordGame(argv[2], false, 1, 1.0 / rate).c_str());
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n       %s --lost FILE PASSES_PER_SECOND\n", argv[0],
                     argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    writeText(folder + "/lost.txt", recordGame(folder + "/lost.ccr", false, 1));
    for (int idlePasses = 1; idlePasses <= kMostTries; ++idlePasses) {
        const std::string summary = recordGame(folder + "/won.ccr", true, idlePasses);
        if (summary.find(": won, 3 clocks") != std::string::npos) {
            writeText(folder + "/won.txt", summary);
            std::printf("won after %d idle passes: %s", idlePasses, summary.c_str());
            return 0;
        }
    }
    std::fprintf(stderr, "the scripted player won no game\n");
    return 1;
}
