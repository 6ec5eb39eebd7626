#include "replay/RecordingEncoder.h"

#include "game/BitCast.h"

#include <type_traits>

using recording::RecordKind;

namespace {

constexpr std::uint8_t kContinuation = 0x80;
constexpr std::uint8_t kLowSeven = 0x7F;
constexpr int kKindShift = 6;

// Maps small negative and positive numbers alike to small unsigned ones.
std::uint64_t zigzag(std::int64_t value) {
    return (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
}

} // namespace

void RecordingEncoder::writeVarint(std::uint64_t value) {
    while (value >= kContinuation) {
        out_.push_back(static_cast<std::uint8_t>(value & kLowSeven) | kContinuation);
        value >>= 7;
    }
    out_.push_back(static_cast<std::uint8_t>(value));
}

void RecordingEncoder::writeSigned(std::int64_t value) {
    writeVarint(zigzag(value));
}

// Floats and doubles are stored as their bit patterns, lowest byte first.
template <typename Value> void RecordingEncoder::writeLittleEndian(Value value) {
    using Bits = std::conditional_t<sizeof(Value) == 4, std::uint32_t, std::uint64_t>;
    const auto bits = bitCast<Bits>(value);
    for (std::size_t shift = 0; shift < 8 * sizeof(Bits); shift += 8) {
        out_.push_back(static_cast<std::uint8_t>(bits >> shift));
    }
}

void RecordingEncoder::writeFloat(float value) {
    writeLittleEndian(value);
}

void RecordingEncoder::writeDouble(double value) {
    writeLittleEndian(value);
}

void RecordingEncoder::writeTag(RecordKind kind, const HeldKeys& keys) {
    out_.push_back(static_cast<std::uint8_t>(static_cast<int>(kind) << kKindShift) |
                   recording::packHeldKeys(keys));
}

void RecordingEncoder::writeClockRead(std::int64_t ticks) {
    const std::int64_t step = ticks - lastRead_;
    writeSigned(step - lastStep_);
    lastStep_ = step;
    lastRead_ = ticks;
}

void RecordingEncoder::writeHeader(const RecordingHeader& header) {
    out_.insert(out_.end(), recording::kMagic.begin(), recording::kMagic.end());
    writeVarint(recording::kFormatVersion);
    writeVarint(header.gameVersion.size());
    out_.insert(out_.end(), header.gameVersion.begin(), header.gameVersion.end());
    writeVarint(static_cast<std::uint64_t>(header.width));
    writeVarint(static_cast<std::uint64_t>(header.height));
    // Any refresh rate the settings hold, as the 32 bits of the int: the rates up to 1000 that
    // older readers take are stored as before.
    writeVarint(static_cast<std::uint32_t>(header.refreshRate));
    out_.push_back(header.fullscreen ? 1 : 0);
    writeFloat(header.shaderBrightness);
}

bool RecordingEncoder::writePass(const RecordedPass& pass) {
    if (pass.isQuiet()) {
        if (quietPasses_ == quietPassLimit_) {
            return false;
        }
        if (runLength_ > 0 && (pass.held != runKeys_ || runLength_ == recording::kMaxQuietRun)) {
            finishRun();
        }
        runKeys_ = pass.held;
        ++runLength_;
        ++quietPasses_;
        return true;
    }
    finishRun();
    if (pass.isPlainFrame()) {
        writeTag(RecordKind::Frame, pass.held);
        writeClockRead(pass.clockReads.front());
    } else {
        writeFullPass(pass);
    }
    return true;
}

void RecordingEncoder::writeFullPass(const RecordedPass& pass) {
    writeTag(RecordKind::FullPass, pass.held);
    writeVarint(pass.wallMilliseconds - lastWall_);
    lastWall_ = pass.wallMilliseconds;
    writeVarint(pass.commands.size());
    for (const PassCommand& command : pass.commands) {
        if (command.kind == PassCommand::Kind::Key) {
            out_.push_back(0);
            writeSigned(command.key);
        } else {
            out_.push_back(1);
            writeDouble(command.steps);
        }
    }
    writeVarint(pass.clockReads.size());
    for (const std::int64_t ticks : pass.clockReads) {
        writeClockRead(ticks);
    }
    out_.push_back(pass.checkpoint ? 1 : 0);
    if (pass.checkpoint) {
        writeVarint(pass.checkpoint->randomState);
        writeFloat(pass.checkpoint->phaseDuration);
        writeFloat(pass.checkpoint->stoneSpawnInterval);
        writeFloat(pass.checkpoint->relicHintInterval);
    }
}

void RecordingEncoder::finishRun() {
    if (runLength_ == 0) {
        return;
    }
    writeTag(RecordKind::QuietRun, runKeys_);
    writeVarint(runLength_);
    runLength_ = 0;
}

void RecordingEncoder::writeClosing() {
    finishRun();
    writeTag(RecordKind::Closing, HeldKeys{});
}
