// A long run of scripted play through the game's own start-up, frame procedures and window
// callbacks, in one process. An autopilot reads the world and steers round the stones, so a game
// lasts long enough for phase switches; now and then it stops dodging to lose, leaves a game
// with Escape, or plays a game to its end, and it always starts the next one with Enter. It
// counts OpenGL errors and samples resident memory, and fails when either goes wrong or when a
// part of play (a lane change, a jump, a phase switch, a loss, a restart, a game left with
// Escape) never happened. A run without a memory check stops as soon as every part has happened.
//
// Usage: chronocell_soak SECONDS [MEMORY_WARMUP_SECONDS]
#include "app/SettingsFile.h"
#include "app/Startup.h"
#include "game/GameContext.h"
#include "game/PassInput.h"
#include "game/StatePass.h"
#include "input/Application.h"
#include "input/KeyboardInput.h"
#include "input/WindowCallbacks.h"
#include "scene/DebugOutput.h"
#include "scene/GameFrameOutput.h"
#include "scene/GameResources.h"
#include "session/GlfwGameClock.h"
#include "session/MainLoop.h"

#include <glad/gl.h>

#include <GLFW/glfw3.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kMemorySampleSeconds = 5.0;
constexpr long kFlatMemoryKilobytes = 2048;
// The autopilot looks this far ahead along the run, changes lane for a tall stone and jumps a
// low one once it is this close.
constexpr float kLookAhead = 6.0f;
constexpr float kJumpDistance = 2.2f;
constexpr float kLowStoneX = 1.0f;
// A game to be lost is played with care until its first phase switch; a game to be left is left
// before the first stone can reach the runner, 0.9 s in.
constexpr double kEscapeSeconds = 0.5;
constexpr double kScreenPauseSeconds = 0.5;

// The game's own debug output, with errors also counted in the int the user pointer names.
void GLAPIENTRY countingDebugCallback(GLenum source, GLenum type, GLuint id, GLenum severity,
                                      GLsizei length, const GLchar* message, const void* user) {
    if (type == GL_DEBUG_TYPE_ERROR) {
        ++*static_cast<int*>(const_cast<void*>(user));
    }
    debugMessageCallback(source, type, id, severity, length, message, nullptr);
}

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == "VmRSS:") {
            long kilobytes = 0;
            status >> kilobytes;
            return kilobytes;
        }
    }
    return -1;
}

enum class GamePlan { LoseAfterAWhile, LeaveWithEscape, PlayToTheEnd };
constexpr int kPlanCount = 3;

struct Tally {
    int games = 0;
    int laneChanges = 0;
    int jumps = 0;
    int phaseSwitches = 0;
    int losses = 0;
    int escapes = 0;
    int frames = 0;
};

// The lane the player should hold for the nearest stone ahead, and whether to jump it.
HeldKeys steer(const GameContext& context, bool careful) {
    HeldKeys keys;
    if (!careful) {
        return keys;
    }
    const Player& player = context.player;
    const float direction = player.speed >= 0.0f ? 1.0f : -1.0f;
    const Stone* nearest = nullptr;
    float nearestDistance = kLookAhead;
    for (const Stone& stone : context.stones.stones) {
        const float distance = (stone.position.z - player.z) * direction;
        if (distance > -0.5f && distance < nearestDistance) {
            nearest = &stone;
            nearestDistance = distance;
        }
    }
    if (nearest == nullptr) {
        return keys;
    }
    if (std::fabs(nearest->position.x - kLowStoneX) < 0.1f) {
        keys.space = nearestDistance < kJumpDistance && nearestDistance > 0.0f;
        return keys;
    }
    // A tall stone blocks its own lane: hold the other one. A picks the x = 2 lane running
    // forward and the x = 0 lane running back.
    const int wantedLane = nearest->position.x > 1.0f ? 0 : 1;
    if (player.lane != wantedLane) {
        const bool wantsRight = wantedLane == 1;
        const bool reversed = context.game.reversedPhase;
        keys.a = wantsRight != reversed;
        keys.d = !keys.a;
    }
    return keys;
}

// The window's events as the keyboard's, with the autopilot's keys held.
class AutopilotInput : public KeyboardInput {
  public:
    using KeyboardInput::KeyboardInput;
    HeldKeys keys;
    HeldKeys sampleHeldKeys() override { return keys; }
};

class SoakRun {
  public:
    SoakRun(GLFWwindow* window, Application& application)
        : window_(window), application_(application), input_(window, application) {}

    bool run(double seconds, double warmupSeconds) {
        glDebugMessageCallback(countingDebugCallback, &glErrors_);
        const Clock::time_point start = Clock::now();
        Clock::time_point nextSample = start;
        Clock::time_point screenSince = start;
        const bool checksMemory = warmupSeconds < seconds;
        while (secondsSince(start) < seconds && (checksMemory || !everyPartHappened())) {
            GameContext& context = application_.context;
            if (context.state == GameState::Playing) {
                playPass(context);
                screenSince = Clock::now();
            } else {
                pass(HeldKeys{});
                if (secondsSince(screenSince) > kScreenPauseSeconds) {
                    release(GLFW_KEY_ENTER);
                    startedGame();
                }
            }
            ++tally_.frames;
            if (Clock::now() >= nextSample) {
                samples_.push_back({secondsSince(start), residentKilobytes()});
                nextSample +=
                    std::chrono::milliseconds(static_cast<int>(kMemorySampleSeconds * 1000.0));
            }
        }
        return report(warmupSeconds);
    }

  private:
    struct Sample {
        double seconds;
        long kilobytes;
    };

    static double secondsSince(Clock::time_point then) {
        return std::chrono::duration<double>(Clock::now() - then).count();
    }

    // Runs a key's command at once, as a pass does with a released key.
    void release(int key) { runKeyCommand(window_, application_, key); }

    void pass(const HeldKeys& keys) {
        input_.keys = keys;
        runLoopPass(window_, application_, input_, pass_);
    }

    bool everyPartHappened() const {
        return tally_.laneChanges > 0 && tally_.jumps > 0 && tally_.phaseSwitches > 0 &&
               tally_.losses > 0 && tally_.escapes > 0 && tally_.games > 1;
    }

    void startedGame() {
        ++tally_.games;
        gameStart_ = Clock::now();
        switchedThisGame_ = false;
        // The first game loses after its first phase switch, the second is left with Escape, the
        // third runs its 90 seconds out, and so on.
        plan_ = static_cast<GamePlan>((tally_.games - 1) % kPlanCount);
    }

    void playPass(GameContext& context) {
        const double played = secondsSince(gameStart_);
        if (plan_ == GamePlan::LeaveWithEscape && played > kEscapeSeconds) {
            release(GLFW_KEY_ESCAPE);
            ++tally_.escapes;
            return;
        }
        const bool careful = plan_ != GamePlan::LoseAfterAWhile || !switchedThisGame_;
        const HeldKeys keys = steer(context, careful);
        const int lane = context.player.lane;
        const bool reversed = context.game.reversedPhase;
        const bool onGround = context.player.state != Player::kInAir;
        pass(keys);
        tally_.laneChanges += context.player.lane != lane ? 1 : 0;
        tally_.jumps += keys.space && onGround ? 1 : 0;
        const bool switched = context.game.reversedPhase != reversed;
        tally_.phaseSwitches += switched ? 1 : 0;
        switchedThisGame_ = switchedThisGame_ || switched;
        tally_.losses += context.state == GameState::Lost ? 1 : 0;
    }

    bool report(double warmupSeconds) const {
        long low = 0;
        long high = 0;
        bool first = true;
        for (const Sample& sample : samples_) {
            if (sample.seconds < warmupSeconds) {
                continue;
            }
            low = first ? sample.kilobytes : std::min(low, sample.kilobytes);
            high = first ? sample.kilobytes : std::max(high, sample.kilobytes);
            first = false;
        }
        std::printf("soak: %d frames, %d games, %d lane changes, %d jumps, %d phase switches, "
                    "%d losses, %d left with Escape, %d GL errors\n",
                    tally_.frames, tally_.games, tally_.laneChanges, tally_.jumps,
                    tally_.phaseSwitches, tally_.losses, tally_.escapes, glErrors_);
        std::printf("soak: resident memory at start %ld kB, after %.0f s from %ld to %ld kB "
                    "(spread %ld kB), at the end %ld kB\n",
                    samples_.empty() ? -1 : samples_.front().kilobytes, warmupSeconds, low, high,
                    high - low, samples_.empty() ? -1 : samples_.back().kilobytes);
        bool ok = glErrors_ == 0 && everyPartHappened();
        ok = ok && (first || high - low <= kFlatMemoryKilobytes);
        std::printf("soak: %s\n", ok ? "passed" : "FAILED");
        return ok;
    }

    GLFWwindow* window_;
    Application& application_;
    AutopilotInput input_;
    PassInput pass_;
    Tally tally_;
    int glErrors_ = 0;
    GamePlan plan_ = GamePlan::LoseAfterAWhile;
    bool switchedThisGame_ = false;
    Clock::time_point gameStart_ = Clock::now();
    std::vector<Sample> samples_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SECONDS [MEMORY_WARMUP_SECONDS]\n", argv[0]);
        return 2;
    }
    const double seconds = std::atof(argv[1]);
    const double warmup = argc > 2 ? std::atof(argv[2]) : seconds;

    auto context = std::make_unique<GameContext>();
    context->settings = readSettings("assets/settings.ini");
    GLFWwindow* window = createGameWindow(context->settings);
    if (window == nullptr || !loadOpenGlFunctions()) {
        return 1;
    }
    configureOpenGl(window, context->settings);
    bool ok = false;
    {
        std::unique_ptr<GameResources> resources = createGameResources(*context);
        GlfwGameClock clock;
        GameFrameOutput output(window, *resources);
        Application application{*context, clock, output};
        glfwSetWindowUserPointer(window, &application);
        prepareFirstPass(*context, output);
        ok = SoakRun(window, application).run(seconds, warmup);
        glfwSetWindowUserPointer(window, nullptr);
        context->unlinkResources();
    }
    glfwTerminate();
    return ok ? 0 : 1;
}
