// Frame benchmark: loads the game's real resources in a game window, plays a scripted game with
// the real frame procedures and a fixed frame time, and compares its frame times with two
// reference loops drawn in the same window during the same run.
#include "AllocationCounter.h"
#include "BareSceneOutput.h"
#include "BenchOptions.h"
#include "BenchReport.h"
#include "ProcessStats.h"
#include "ScriptedGame.h"

#include "app/SettingsFile.h"
#include "app/Startup.h"
#include "game/GameContext.h"
#include "input/Application.h"
#include "replay/HeadlessFrameOutput.h"
#include "scene/GameFrameOutput.h"
#include "scene/GameResources.h"
#include "sound/GameSounds.h"
#include "world/ParticleSystem.h"

#include <glad/gl.h>

#include <GLFW/glfw3.h>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>

namespace {

using Stopwatch = std::chrono::steady_clock;

// About the frame rate this machine reaches, so a run of a few thousand frames covers a whole
// game: phases both ways, a relic walk, a restart.
constexpr double kFrameSeconds = 1.0 / 30.0;
// The loops take turns in blocks of frames, so load from other programs on the machine falls
// on all of them alike.
constexpr int kBlockFrames = 100;
constexpr int kExitBadArguments = 2;
constexpr int kExitNoWindow = 1;
constexpr double kSoakSampleSeconds = 5.0;
constexpr double kSecondsPerMinute = 60.0;
constexpr const char* kSettingsPath = "assets/settings.ini";

double millisecondsSince(Stopwatch::time_point start) {
    return std::chrono::duration<double, std::milli>(Stopwatch::now() - start).count();
}

// One pass of the main loop while playing: held keys, events, clear, frame clock, frame.
LoopSample timedPass(ScriptedGame& game) {
    const unsigned long allocationsBefore = allocationCount();
    const double cpuBefore = threadCpuMilliseconds();
    const auto start = Stopwatch::now();
    game.prepare();
    glfwPollEvents();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const PassEvents events = game.play();
    return LoopSample{millisecondsSince(start), threadCpuMilliseconds() - cpuBefore, events,
                      allocationCount() - allocationsBefore};
}

LoopSample timedClearAndSwap(GLFWwindow* window) {
    const double cpuBefore = threadCpuMilliseconds();
    const auto start = Stopwatch::now();
    glfwPollEvents();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glfwSwapBuffers(window);
    return LoopSample{millisecondsSince(start), threadCpuMilliseconds() - cpuBefore, PassEvents{},
                      0};
}

// The same script on its own context with no drawing at all: the CPU cost of the rules.
LoopSample timedRulesPass(ScriptedGame& game) {
    const unsigned long allocationsBefore = allocationCount();
    const auto start = Stopwatch::now();
    game.prepare();
    const PassEvents events = game.play();
    const double elapsed = millisecondsSince(start);
    return LoopSample{elapsed, elapsed, events, allocationCount() - allocationsBefore};
}

// A second game context for a loop that is not the game's own: same settings, same models,
// its own light and particle trails so it cannot disturb the game's.
struct ShadowWorld {
    DirectionalLight light;
    ParticleSystem playerParticles;
    ParticleSystem clockParticles;
    std::unique_ptr<GameContext> context = std::make_unique<GameContext>();

    ShadowWorld(const GameContext& game, ParticleSystem playerTrail, ParticleSystem clockTrail)
        : playerParticles(std::move(playerTrail)), clockParticles(std::move(clockTrail)) {
        context->settings = game.settings;
        context->links = game.links;
        context->links.directionalLight = &light;
        context->links.playerParticles = &playerParticles;
        context->links.clockParticles = &clockParticles;
        // Only the game's own loop is heard.
        context->links.events = nullptr;
    }
};

// Plays on for the given wall time, sampling resident memory, to show it stays flat.
SoakResult soak(ScriptedGame& game, double minutes) {
    SoakResult result;
    result.minutes = minutes;
    const auto start = Stopwatch::now();
    auto nextSample = start;
    const auto end = start + std::chrono::duration_cast<Stopwatch::duration>(
                                 std::chrono::duration<double>(minutes * kSecondsPerMinute));
    while (Stopwatch::now() < end) {
        timedPass(game);
        ++result.frames;
        if (Stopwatch::now() >= nextSample) {
            result.residentKib.push_back(residentKib());
            nextSample += std::chrono::duration_cast<Stopwatch::duration>(
                std::chrono::duration<double>(kSoakSampleSeconds));
        }
    }
    result.residentKib.push_back(residentKib());
    return result;
}

} // namespace

int main(int argc, char** argv) {
    const auto mainEntered = Stopwatch::now();
    BenchReport report;
    report.startup.push_back(
        {"before main (loader)", secondsSinceProcessStart() * 1000.0, residentKib()});

    const std::optional<BenchOptions> options =
        parseBenchOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!options) {
        std::fprintf(stderr, "usage: chronocell-bench [--frames N] [--csv FILE] [--soak MINUTES] "
                             "[--record FILE] [--sound]\n");
        return kExitBadArguments;
    }
    report.frames = options->frames;
    report.frameSeconds = kFrameSeconds;

    auto gameContext = std::make_unique<GameContext>();
    gameContext->settings = readSettings(kSettingsPath);
    GLFWwindow* window = createGameWindow(gameContext->settings);
    if (window == nullptr) {
        return kExitNoWindow;
    }
    if (!loadOpenGlFunctions()) {
        glfwTerminate();
        return kExitNoWindow;
    }
    configureOpenGl(window, gameContext->settings);
    report.startup.push_back(
        {"window and GL context", millisecondsSince(mainEntered), residentKib()});
    const std::unique_ptr<GameSounds> sounds =
        options->sound ? GameSounds::open(gameContext->settings, std::cerr) : nullptr;
    report.renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    report.glVersion = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    {
        auto lap = Stopwatch::now();
        std::unique_ptr<GameResources> resources =
            createGameResources(*gameContext, [&](const char* group) {
                report.startup.push_back({group, millisecondsSince(lap), residentKib()});
                lap = Stopwatch::now();
            });
        GameFrameOutput gameOutput(window, *resources);
        ScriptedGame game(*gameContext, gameOutput, kFrameSeconds);
        if (!options->recordPath.empty()) {
            game.record(options->recordPath);
        }
        gameContext->links.events = sounds.get();
        Application application{*gameContext, game.clock(), gameOutput, {}, sounds.get()};
        glfwSetWindowUserPointer(window, &application);
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);

        timedPass(game);
        report.startup.push_back({"first frame", millisecondsSince(lap), residentKib()});
        report.startupTotal = secondsSinceProcessStart() * 1000.0;

        ShadowWorld bareWorld(*gameContext, ParticleSystem(), ParticleSystem());
        ShadowWorld rulesWorld(*gameContext, ParticleSystem::withoutGpu(),
                               ParticleSystem::withoutGpu());
        BareSceneOutput bareOutput(window, *resources);
        ScriptedGame bare(*bareWorld.context, bareOutput, kFrameSeconds);
        HeadlessFrameOutput nullOutput;
        ScriptedGame rules(*rulesWorld.context, nullOutput, kFrameSeconds);
        // Each loop's first pass starts its game, as the game's own first frame did.
        timedPass(bare);
        timedRulesPass(rules);

        for (int done = 0; done < options->frames; done += kBlockFrames) {
            const int block = std::min(kBlockFrames, options->frames - done);
            for (int i = 0; i < block; ++i) {
                report.game.push_back(timedPass(game));
            }
            for (int i = 0; i < block; ++i) {
                report.bareDraw.push_back(timedPass(bare));
            }
            for (int i = 0; i < block; ++i) {
                report.clearSwap.push_back(timedClearAndSwap(window));
            }
        }
        for (int i = 0; i < options->frames; ++i) {
            report.rules.push_back(timedRulesPass(rules));
        }
        report.coverage = game.coverage();
        report.sameGame =
            sameGame(game.context(), rules.context()) && sameGame(game.context(), bare.context());
        report.peakResidentKib = peakResidentKib();
        report.residentKib = residentKib();
        if (options->soakMinutes > 0.0) {
            report.soak = soak(game, options->soakMinutes);
            report.peakResidentKib = peakResidentKib();
        }
        printReport(report);
        if (!options->csvPath.empty() && !writeCsv(report, options->csvPath)) {
            std::fprintf(stderr, "could not write %s\n", options->csvPath.c_str());
        }
        glfwSetWindowUserPointer(window, nullptr);
        gameContext->links = WorldLinks{};
    }
    glfwTerminate();
    return 0;
}
