// Writes a corpus of recorded games, game-NNN.ccr, each with its summary lines beside it (.txt),
// which a headless replay must print again. won.ccr and lost.ccr beside this file hold one steady
// game each; a replay fault tends to hide in what they never do: long and uneven frames, stalls
// of seconds, a second game in the same file, keys mashed on every screen, wheel turns, a game
// left or cut off half way. Each recording draws its player, its clock and its games from a
// generator seeded by its number alone (not the game's own generator, whose draws the games must
// be free to change), so a run writes the same games every time; only the wall-time fields, taken
// from the steady clock, differ. All recordings are made in one process and each is replayed in a
// fresh one, so anything of the rules that outlives a game context shows as a diverging replay.
//
// Usage: chronocell_make_corpus FOLDER [COUNT]
#include "ScriptedPlayer.h"

#include "game/GameClock.h"
#include "game/GameContext.h"
#include "game/StatePass.h"
#include "input/Application.h"
#include "replay/HeadlessFrameOutput.h"
#include "session/GameRecorder.h"
#include "session/MainLoop.h"
#include "world/ParticleSystem.h"

#include <GLFW/glfw3.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kDefaultCount = 120;
constexpr double kMillisecondsPerSecond = 1000.0;
// Keeps every recording bounded even if the keys keep starting games the plan did not ask for.
constexpr long kMostPasses = 120000;

// SplitMix64: small, fast, and its stream depends on the seed alone.
class SplitMix {
  public:
    explicit SplitMix(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        constexpr std::uint64_t kGolden = 0x9e3779b97f4a7c15ULL;
        constexpr std::uint64_t kMixA = 0xbf58476d1ce4e5b9ULL;
        constexpr std::uint64_t kMixB = 0x94d049bb133111ebULL;
        constexpr int kShiftA = 30;
        constexpr int kShiftB = 27;
        constexpr int kShiftC = 31;
        std::uint64_t z = (state_ += kGolden);
        z = (z ^ (z >> kShiftA)) * kMixA;
        z = (z ^ (z >> kShiftB)) * kMixB;
        return z ^ (z >> kShiftC);
    }
    // In [0, 1), from the top 53 bits.
    double unit() {
        constexpr int kDropped = 11;
        constexpr double kScale = 1.0 / 9007199254740992.0;
        return static_cast<double>(next() >> kDropped) * kScale;
    }
    double between(double low, double high) { return low + (high - low) * unit(); }
    int below(int count) { return static_cast<int>(unit() * count); }
    bool chance(double probability) { return unit() < probability; }
    // Spread evenly over the orders of magnitude from `low` to `high`.
    double logBetween(double low, double high) {
        return std::exp(between(std::log(low), std::log(high)));
    }

  private:
    std::uint64_t state_;
};

// An index into `weights`, each drawn with its share of their sum.
template <std::size_t N>
std::size_t pickWeighted(SplitMix& random, const std::array<int, N>& weights) {
    int total = 0;
    for (const int weight : weights) {
        total += weight;
    }
    int pick = random.below(total);
    std::size_t index = 0;
    while (pick >= weights[index]) {
        pick -= weights[index];
        ++index;
    }
    return index;
}

// ---- The clock ----

struct ClockPlan {
    double frameSeconds = 1.0 / 60.0;
    // Each frame drawn from [shortest, longest] instead of frameSeconds.
    bool jittery = false;
    double shortest = 0.0;
    double longest = 0.0;
    // The chance, per pass, of a stall of half a second to three.
    double stallChance = 0.0;

    double meanFrameSeconds() const { return jittery ? (shortest + longest) / 2.0 : frameSeconds; }
};

constexpr std::array<double, 4> kSteadyFrames{1.0 / 60.0, 1.0 / 144.0, 1.0 / 30.0, 1.0 / 300.0};
constexpr double kWideShortest = 0.002;
constexpr double kWideLongest = 0.050;
// A machine that mostly keeps 60 Hz but misses by up to this fraction either way.
constexpr double kNarrowSpread = 0.3;
constexpr double kShortestStall = 0.5;
constexpr double kLongestStall = 3.0;
// Per pass, so a fast machine stalls more often per second than a slow one.
constexpr double kStallChance = 0.0008;
// A real sleep wakes up late by up to this much.
constexpr double kMostOversleep = 0.003;

// Game time as an uneven machine would show it. The game's one-second freezes go through
// sleepMilliseconds and move time on by their length (and, on a jittery clock, a late wake-up)
// without waiting, as BenchClock does.
class CorpusClock : public GameClock {
  public:
    CorpusClock(const ClockPlan& plan, SplitMix& random) : plan_(plan), random_(random) {}

    double now() override { return time_; }
    void setTime(double seconds) override { time_ = seconds; }
    void sleepMilliseconds(int milliseconds) override {
        time_ += milliseconds / kMillisecondsPerSecond;
        if (plan_.jittery) {
            time_ += random_.between(0.0, kMostOversleep);
        }
    }

    void advanceFrame() {
        time_ +=
            plan_.jittery ? random_.between(plan_.shortest, plan_.longest) : plan_.frameSeconds;
        if (plan_.stallChance > 0.0 && random_.chance(plan_.stallChance)) {
            time_ += random_.between(kShortestStall, kLongestStall);
        }
    }

  private:
    ClockPlan plan_;
    SplitMix& random_;
    double time_ = 0.0;
};

enum class ClockKind { Steady, SteadyStalling, WideJitter, NarrowJitter };
constexpr std::array<int, 4> kClockKindWeights{50, 10, 25, 15};
constexpr std::array<int, 4> kSteadyFrameWeights{1, 1, 1, 1};

ClockPlan drawClockPlan(SplitMix& random) {
    ClockPlan plan;
    const auto kind = static_cast<ClockKind>(pickWeighted(random, kClockKindWeights));
    plan.frameSeconds = kSteadyFrames[pickWeighted(random, kSteadyFrameWeights)];
    if (kind == ClockKind::WideJitter) {
        plan.jittery = true;
        plan.shortest = kWideShortest;
        plan.longest = kWideLongest;
    } else if (kind == ClockKind::NarrowJitter) {
        plan.jittery = true;
        plan.shortest = kSteadyFrames[0] * (1.0 - kNarrowSpread);
        plan.longest = kSteadyFrames[0] * (1.0 + kNarrowSpread);
    }
    if (kind != ClockKind::Steady) {
        plan.stallChance = kStallChance;
    }
    return plan;
}

// ---- The hands at the keys ----

enum class Hands { Nobody, Scripted, Masher, Mixed };

// In the order of Hands.
constexpr std::array<int, 4> kHandsWeights{10, 50, 20, 20};

// The released keys and the wheel, and how often each comes up. Escape is rare: during play it
// leaves the game, on a screen it ends the recording.
constexpr int kWheel = GLFW_KEY_UNKNOWN;
constexpr std::array<int, 12> kCommandKeys{
    GLFW_KEY_ENTER, GLFW_KEY_ESCAPE, GLFW_KEY_F,  GLFW_KEY_O,  GLFW_KEY_L, GLFW_KEY_UP,
    GLFW_KEY_DOWN,  GLFW_KEY_F1,     GLFW_KEY_F2, GLFW_KEY_F3, GLFW_KEY_M, kWheel};
constexpr std::array<int, 12> kCommandWeights{3, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 4};
constexpr double kWholeNotchChance = 0.5;
constexpr double kCommandsPerSecond = 1.5;
constexpr double kMostWheelSteps = 3.0;
constexpr double kShortestHold = 0.02;
constexpr double kLongestHold = 1.0;
constexpr double kShortestRest = 0.05;
constexpr double kLongestRest = 3.0;
constexpr std::size_t kHeldKeyCount = 6;

// Presses the six held keys on and off for random lengths and lets go of random keys.
class KeyMasher {
  public:
    KeyMasher(SplitMix& random, double meanFrameSeconds)
        : random_(random), meanFrameSeconds_(meanFrameSeconds) {}

    HeldKeys held() {
        std::array<bool, kHeldKeyCount> down{};
        for (std::size_t key = 0; key < kHeldKeyCount; ++key) {
            down[key] = advance(keys_[key]);
        }
        return HeldKeys{down[0], down[1], down[2], down[3], down[4], down[5]};
    }

    void addCommands(std::vector<PassCommand>& commands) {
        if (random_.chance(kCommandsPerSecond * meanFrameSeconds_)) {
            commands.push_back(drawCommand());
        }
    }

  private:
    struct HeldKey {
        bool down = false;
        long passesLeft = 0;
    };

    bool advance(HeldKey& key) {
        if (--key.passesLeft <= 0) {
            key.down = !key.down;
            const double seconds = key.down ? random_.logBetween(kShortestHold, kLongestHold)
                                            : random_.logBetween(kShortestRest, kLongestRest);
            key.passesLeft = std::max(1L, std::lround(seconds / meanFrameSeconds_));
        }
        return key.down;
    }

    PassCommand drawCommand() {
        const int key = kCommandKeys[pickWeighted(random_, kCommandWeights)];
        return key == kWheel ? drawWheelTurn() : PassCommand::keyReleased(key);
    }

    // Whole notches from a mouse wheel, fractions from a touchpad.
    PassCommand drawWheelTurn() {
        const double sign = random_.chance(kWholeNotchChance) ? 1.0 : -1.0;
        const double steps = random_.chance(kWholeNotchChance)
                                 ? 1.0 + random_.below(static_cast<int>(kMostWheelSteps))
                                 : random_.between(0.0, kMostWheelSteps);
        return PassCommand::zoom(sign * steps);
    }

    SplitMix& random_;
    double meanFrameSeconds_;
    std::array<HeldKey, kHeldKeyCount> keys_{};
};

// ---- The games of a recording ----

enum class Ending { PlayOut, Leave, Stop };

struct GamePlan {
    // Passes on the screen before Enter starts this game.
    long screenPasses = 0;
    Ending ending = Ending::PlayOut;
    // Game time at which the game is left or the recording stops.
    float atSeconds = 0.0f;
};

struct RecordingPlan {
    Hands hands = Hands::Nobody;
    ClockPlan clock;
    std::vector<GamePlan> games;
    // Passes on the last screen before Escape ends the recording.
    long closingPasses = 0;
    // Whether the scripted player keeps taking the relic after the third clock.
    bool greedy = false;
};

constexpr long kMostScreenPasses = 3000;
constexpr double kNoScreenPassesChance = 0.1;
// Games are left or cut off at the first frame now and then, otherwise anywhere in the first
// minute, early times as often as late ones.
constexpr double kFirstFrameCutChance = 0.1;
constexpr double kEarliestCut = 0.05;
constexpr double kLatestCut = 60.0;
// In the order of Ending; only the last game of a recording can be cut off.
constexpr std::array<int, 3> kEndingWeights{70, 30, 0};
constexpr std::array<int, 3> kLastEndingWeights{40, 25, 35};
// One, two or three games in a recording.
constexpr std::array<int, 3> kGameCountWeights{55, 30, 15};
constexpr double kGreedyChance = 0.3;
// 90 seconds at 300 frames a second are ~27000 frames, about half the size one file may have.
constexpr double kShortestFrameForSeveralGames = 1.0 / 200.0;

long drawScreenPasses(SplitMix& random) {
    if (random.chance(kNoScreenPassesChance)) {
        return 0;
    }
    return std::lround(random.logBetween(1.0, static_cast<double>(kMostScreenPasses)));
}

GamePlan drawGamePlan(SplitMix& random, bool last) {
    GamePlan game;
    game.screenPasses = drawScreenPasses(random);
    game.ending =
        static_cast<Ending>(pickWeighted(random, last ? kLastEndingWeights : kEndingWeights));
    game.atSeconds = random.chance(kFirstFrameCutChance)
                         ? 0.0f
                         : static_cast<float>(random.logBetween(kEarliestCut, kLatestCut));
    return game;
}

RecordingPlan drawRecordingPlan(SplitMix& random) {
    RecordingPlan plan;
    plan.hands = static_cast<Hands>(pickWeighted(random, kHandsWeights));
    plan.clock = drawClockPlan(random);
    plan.greedy = random.chance(kGreedyChance);
    int gameCount = 1 + static_cast<int>(pickWeighted(random, kGameCountWeights));
    if (plan.clock.meanFrameSeconds() < kShortestFrameForSeveralGames) {
        gameCount = 1;
    }
    for (int game = 0; game < gameCount; ++game) {
        plan.games.push_back(drawGamePlan(random, game + 1 == gameCount));
    }
    plan.closingPasses = drawScreenPasses(random);
    return plan;
}

constexpr int kClocksToWin = 3;
constexpr double kShortestStretch = 1.0;
constexpr double kLongestStretch = 8.0;

// Plays a recording's plan: the hands at the held keys, and the Enter, Escape and stop that
// start, leave and cut off its games. Mixed hands switch between the scripted player and the
// masher in stretches of a few seconds.
class CorpusInput : public InputSource {
  public:
    CorpusInput(const GameContext& context, const RecordingPlan& plan, SplitMix& random)
        : context_(context), plan_(plan), random_(random), scripted_(plan.clock.meanFrameSeconds()),
          masher_(random, plan.clock.meanFrameSeconds()) {}

    HeldKeys sampleHeldKeys() override {
        const bool playing = context_.state == GameState::Playing;
        switch (plan_.hands) {
        case Hands::Nobody:
            return HeldKeys{};
        case Hands::Scripted:
            return playing ? scriptedKeys() : HeldKeys{};
        case Hands::Masher:
            return masher_.held();
        case Hands::Mixed:
            return playing && !mashingStretch() ? scriptedKeys() : masher_.held();
        }
        return HeldKeys{};
    }

    void collectCommands(std::vector<PassCommand>& commands) override {
        ++passes_;
        if (context_.state == GameState::Playing) {
            endGameIfDue(commands);
        } else {
            leaveScreenIfDue(commands);
        }
        if (plan_.hands == Hands::Masher || plan_.hands == Hands::Mixed) {
            masher_.addCommands(commands);
        }
        followCommands(commands);
    }

    bool quit() const { return quit_ || passes_ >= kMostPasses; }

  private:
    HeldKeys scriptedKeys() const {
        HeldKeys keys = scripted_.keysFor(context_);
        keys.t = keys.t && (plan_.greedy || context_.game.relicCount < kClocksToWin);
        return keys;
    }

    bool mashingStretch() {
        if (--stretchPassesLeft_ <= 0) {
            mashing_ = !mashing_;
            const double seconds = random_.between(kShortestStretch, kLongestStretch);
            stretchPassesLeft_ =
                std::max(1L, std::lround(seconds / plan_.clock.meanFrameSeconds()));
        }
        return mashing_;
    }

    // The plan of the game in progress; games the masher started beyond the plan play out.
    const GamePlan* currentGame() const {
        const auto index = static_cast<std::size_t>(context_.tally.gamesStarted - 1);
        return index < plan_.games.size() ? &plan_.games[index] : nullptr;
    }

    void endGameIfDue(std::vector<PassCommand>& commands) {
        screenPasses_ = 0;
        const GamePlan* game = currentGame();
        if (game == nullptr || game->ending == Ending::PlayOut ||
            context_.clock.currentTime < game->atSeconds) {
            return;
        }
        if (game->ending == Ending::Leave) {
            commands.push_back(PassCommand::keyReleased(GLFW_KEY_ESCAPE));
        } else {
            quit_ = true;
        }
    }

    void leaveScreenIfDue(std::vector<PassCommand>& commands) {
        const auto started = static_cast<std::size_t>(context_.tally.gamesStarted);
        const bool gamesLeft = started < plan_.games.size();
        const long due = gamesLeft ? plan_.games[started].screenPasses : plan_.closingPasses;
        if (screenPasses_++ >= due) {
            commands.push_back(
                PassCommand::keyReleased(gamesLeft ? GLFW_KEY_ENTER : GLFW_KEY_ESCAPE));
        }
    }

    // The game would close its window after a pass with Escape on a screen, so the recording
    // ends there; the pass's commands are followed through the states they lead to.
    void followCommands(const std::vector<PassCommand>& commands) {
        bool playing = context_.state == GameState::Playing;
        for (const PassCommand& command : commands) {
            if (command.kind != PassCommand::Kind::Key) {
                continue;
            }
            if (command.key == GLFW_KEY_ENTER) {
                playing = true;
            } else if (command.key == GLFW_KEY_ESCAPE) {
                quit_ = quit_ || !playing;
                playing = false;
            }
        }
    }

    const GameContext& context_;
    const RecordingPlan& plan_;
    SplitMix& random_;
    ScriptedPlayer scripted_;
    KeyMasher masher_;
    long passes_ = 0;
    long screenPasses_ = 0;
    long stretchPassesLeft_ = 0;
    bool mashing_ = true;
    bool quit_ = false;
};

// Draws a plan from the recording's own seed and records its games to `path`; their summary
// lines, or nothing when the file cannot be written (the recorder has said why).
std::optional<std::string> recordPlannedGames(const std::string& path, std::uint64_t seed) {
    SplitMix random(seed);
    const RecordingPlan plan = drawRecordingPlan(random);
    auto context = std::make_unique<GameContext>();
    ParticleSystem playerParticles = ParticleSystem::withoutGpu();
    ParticleSystem clockParticles = ParticleSystem::withoutGpu();
    context->links.playerParticles = &playerParticles;
    context->links.clockParticles = &clockParticles;
    CorpusClock clock(plan.clock, random);
    std::ostringstream summaries;
    GameRecorder recorder(clock, summaries);
    if (!recorder.start(path, recordingHeaderFor(context->settings))) {
        return std::nullopt;
    }
    HeadlessFrameOutput output;
    Application application{*context, recorder.clock(), output};
    CorpusInput input(*context, plan, random);
    PassInput pass;
    prepareFirstPass(*context, output);
    while (!input.quit()) {
        clock.advanceFrame();
        runLoopPass(nullptr, application, input, pass);
        recorder.passDone(pass, *context);
    }
    recorder.finish(*context);
    context->unlinkResources();
    return summaries.str();
}

// ---- The corpus ----

constexpr std::array<const char*, 4> kOutcomes{"won", "lost", "left", "unfinished"};

// Counts the outcomes in summary lines such as "game 2: left, 0 clocks, ...".
void countOutcomes(const std::string& summaries, std::map<std::string, int>& tally) {
    std::istringstream lines(summaries);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t colon = line.find(": ");
        const std::size_t comma = line.find(',', colon);
        if (colon != std::string::npos && comma != std::string::npos) {
            ++tally[line.substr(colon + 2, comma - colon - 2)];
        }
    }
}

std::string corpusFileName(const std::string& folder, int index) {
    constexpr std::size_t kLength = 32;
    std::array<char, kLength> name{};
    std::snprintf(name.data(), name.size(), "/game-%03d.ccr", index);
    return folder + name.data();
}

void printTally(const std::map<std::string, int>& tally, int count, std::uintmax_t bytes) {
    int games = 0;
    for (const auto& [outcome, number] : tally) {
        games += number;
    }
    std::printf("%d recordings, %d games:", count, games);
    for (const char* outcome : kOutcomes) {
        const auto found = tally.find(outcome);
        std::printf(" %d %s", found == tally.end() ? 0 : found->second, outcome);
    }
    constexpr double kBytesPerKilobyte = 1024.0;
    std::printf("; %.0f KB\n", static_cast<double>(bytes) / kBytesPerKilobyte);
}

int parseCount(const char* text) {
    char* end = nullptr;
    const long count = std::strtol(text, &end, 10);
    constexpr long kMostRecordings = 999;
    return *end == '\0' && count > 0 && count <= kMostRecordings ? static_cast<int>(count) : 0;
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc == 3 ? parseCount(argv[2]) : kDefaultCount;
    if ((argc != 2 && argc != 3) || count == 0) {
        std::fprintf(stderr, "usage: %s FOLDER [COUNT (1 to 999)]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    std::map<std::string, int> tally;
    std::uintmax_t bytes = 0;
    for (int index = 1; index <= count; ++index) {
        const std::string path = corpusFileName(folder, index);
        const auto summaries = recordPlannedGames(path, static_cast<std::uint64_t>(index));
        if (!summaries) {
            return 1;
        }
        std::ofstream(path + ".txt") << *summaries;
        countOutcomes(*summaries, tally);
        bytes += std::filesystem::file_size(path);
    }
    printTally(tally, count, bytes);
    return 0;
}
