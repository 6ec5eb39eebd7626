#pragma once

// A game played headless through the game's own loop pass and recorder with a fake clock, for
// tests that need a real recording of a scripted game.
#include "RulesTestSupport.h"
#include "game/CommandEffects.h"
#include "game/LoopPass.h"
#include "replay/HeadlessFrameOutput.h"
#include "replay/RecordingFormat.h"
#include "session/GameRecorder.h"
#include "world/ParticleSystem.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

// One pass of a script: the commands it releases.
using ScriptPass = std::vector<PassCommand>;

class ScriptInput : public InputSource {
  public:
    ScriptInput(std::vector<ScriptPass> passes, std::vector<HeldKeys> held)
        : passes_(std::move(passes)), held_(std::move(held)) {}

    HeldKeys sampleHeldKeys() override { return next_ < held_.size() ? held_[next_] : HeldKeys{}; }
    void collectCommands(std::vector<PassCommand>& commands) override {
        if (next_ < passes_.size()) {
            commands = passes_[next_];
        }
        ++next_;
    }

  private:
    std::vector<ScriptPass> passes_;
    std::vector<HeldKeys> held_;
    std::size_t next_ = 0;
};

// The game clock under the recorder: every value it returned in the pass, as the pass's record
// must hold them.
class ClockLog : public GameClock {
  public:
    explicit ClockLog(GameClock& inner) : inner_(inner) {}

    double now() override {
        const double seconds = inner_.now();
        reads.push_back(recording::ticksOf(seconds));
        return seconds;
    }
    void setTime(double seconds) override { inner_.setTime(seconds); }
    void sleepMilliseconds(int milliseconds) override { inner_.sleepMilliseconds(milliseconds); }

    std::vector<std::int64_t> reads;

  private:
    GameClock& inner_;
};

struct RecordedGame {
    std::filesystem::path path;
    std::string summaries;
};

// A game played headless through the game's own loop pass and recorder, at 60 frames a second.
struct RecordingRun {
    GameContext context;
    ParticleSystem trail = ParticleSystem::withoutGpu();
    ParticleSystem shimmer = ParticleSystem::withoutGpu();
    FakeClock clock;
    ClockLog log{clock};
    std::ostringstream summaries;
    GameRecorder recorder{log, summaries};
    ScriptInput input;
    HeadlessFrameOutput output;
    CommandEffects effects;
    PassInput pass;
    // What each pass took, with a checkpoint where it started a game or spawned a stone: what
    // its record must hold, the wall time aside.
    std::vector<RecordedPass> taken;

    RecordingRun(const std::filesystem::path& path, const Settings& settings,
                 std::vector<ScriptPass> passes, std::vector<HeldKeys> held = {})
        : input(std::move(passes), std::move(held)) {
        context.settings = settings;
        context.links.playerParticles = &trail;
        context.links.clockParticles = &shimmer;
        EXPECT_TRUE(recorder.start(path.string(), recordingHeaderFor(settings)));
    }

    void playPass(double frameTime = kFrame) {
        log.reads.clear();
        clock.time += frameTime;
        const PlayTally before = context.tally;
        runLoopPass(context, recorder.clock(), output, effects, input, pass);
        recorder.passDone(pass, context);
        RecordedPass& record = taken.emplace_back();
        record.held = pass.held;
        record.commands = pass.commands;
        record.clockReads = log.reads;
        if (context.tally.gamesStarted != before.gamesStarted ||
            context.tally.stonesSpawned != before.stonesSpawned) {
            record.checkpoint =
                Checkpoint{context.random.state(), context.timing.phaseDuration,
                           context.timing.stoneSpawnInterval, context.timing.relicHintInterval};
        }
    }

    void finish() {
        recorder.finish(context);
        context.unlinkResources();
    }
};
