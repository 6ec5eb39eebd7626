#pragma once

#include "game/PassInput.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The recorded-game file (docs/replay-format.md): a header, then one record per pass or per run
// of quiet passes. The rules keep every clock value in single precision the moment they read
// it, so a clock value is stored as the bit pattern of that float ("ticks"): the replay hands
// back a value that narrows to the very same float, and recording changes nothing in a game.
namespace recording {

inline constexpr std::array<std::uint8_t, 8> kMagic = {'C', 'C', 'R', 'E', 'C', 0x0D, 0x0A, 0x1A};
// The version this game writes. Version 1 (game 1.0.0) has no closing record, so a file of it cut
// at a record's end cannot be told from a whole one; from version 2 on a recording that was
// closed ends with one, and a file without it was cut.
inline constexpr std::uint64_t kFormatVersion = 2;
inline constexpr std::uint64_t kOldestFormatVersion = 1;
inline constexpr std::uint64_t kFirstVersionWithClosingRecord = 2;

// The two high bits of a record's first byte; the six low bits are the held keys, or 0 in the
// closing record.
enum class RecordKind : std::uint8_t { QuietRun = 0, Frame = 1, FullPass = 2, Closing = 3 };

// Bounds a reader holds every file to, so a damaged one cannot ask for absurd work.
inline constexpr std::size_t kMaxFileBytes = 64u << 20;
inline constexpr std::size_t kMaxVersionLength = 64;
inline constexpr std::uint64_t kMaxWindowSide = 1u << 16;
inline constexpr std::uint64_t kMaxQuietRun = 1u << 24;
// All quiet passes of a file together: 4.6 hours of text screens at 1000 passes a second. A
// quiet pass is the only work a byte can ask for many times over, so this bounds the work of a
// small file (about 6 s for the largest quiet run on the machine that set it). The recorder
// closes a recording that reaches it, so it never writes a file the reader refuses.
inline constexpr std::uint64_t kMaxQuietPasses = 1u << 24;
// A pass reads the clock once per game it starts (one for each command at most), once for its
// frame and once after a freeze; this leaves room to spare.
inline constexpr std::uint64_t kMaxReadsBeyondCommands = 8;
// The game takes no more commands in one pass (PassInput::kMostCommands).
inline constexpr std::uint64_t kMaxCommandsPerPass = PassInput::kMostCommands;
// The wall time of a whole recording: 49 days, far beyond any session, and far below where a
// wait for it could overflow. The recorder stops its wall time there.
inline constexpr std::uint64_t kMaxWallMilliseconds = 1ull << 32;
// Far beyond any game, and below where a float time would overflow an int second count.
inline constexpr float kMaxClockSeconds = 1e9f;
inline constexpr int kMaxKeyCode = PassInput::kHighestKeyCode;
inline constexpr double kMaxZoomSteps = PassInput::kMostZoomSteps;

std::int64_t ticksOf(double seconds);
double secondsOf(std::int64_t ticks);
// Whether stored ticks are a finite time within kMaxClockSeconds either way.
bool isPlausibleClockValue(std::int64_t ticks);

std::uint8_t packHeldKeys(const HeldKeys& keys);
HeldKeys unpackHeldKeys(std::uint8_t bits);

} // namespace recording

// The settings that change what the rules or the picture do, and the game that wrote the file.
struct RecordingHeader {
    std::string gameVersion;
    int width = 0;
    int height = 0;
    int refreshRate = 0;
    bool fullscreen = false;
    float shaderBrightness = 0.0f;

    bool operator==(const RecordingHeader&) const = default;
};

struct Settings;

// The header a recording made with these settings starts with.
RecordingHeader recordingHeaderFor(const Settings& settings);

// The recorded settings replace the ones read from the settings file.
void applyRecordedSettings(const RecordingHeader& header, Settings& settings);

// Taken after every pass that started a game or spawned a stone: where the random generator
// stands and the rhythms it drew.
struct Checkpoint {
    std::uint32_t randomState = 0;
    float phaseDuration = 0.0f;
    float stoneSpawnInterval = 0.0f;
    float relicHintInterval = 0.0f;

    bool operator==(const Checkpoint&) const = default;
};

// Everything one pass took from outside the rules.
struct RecordedPass {
    HeldKeys held;
    std::vector<PassCommand> commands;
    // Every value the game clock returned, as ticks.
    std::vector<std::int64_t> clockReads;
    std::optional<Checkpoint> checkpoint;
    // Wall time since the recording began; kept with passes that carry more than a frame time,
    // so a replay can hold the text screens as long as the player did.
    std::uint64_t wallMilliseconds = 0;

    // No commands, no clock read and no checkpoint: such passes are stored as runs.
    bool isQuiet() const { return commands.empty() && clockReads.empty() && !checkpoint; }
    bool isPlainFrame() const { return commands.empty() && clockReads.size() == 1 && !checkpoint; }
    bool operator==(const RecordedPass&) const = default;
};
