#include "replay/RecordingReader.h"

#include "game/BitCast.h"
#include "replay/GameVersion.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <type_traits>

using recording::RecordKind;

namespace {

constexpr std::uint8_t kContinuation = 0x80;
constexpr std::uint8_t kLowSeven = 0x7F;
constexpr int kMaxVarintBytes = 10;
constexpr int kKindShift = 6;
constexpr std::uint8_t kHeldKeyBits = 0x3F;

std::int64_t unzigzag(std::uint64_t value) {
    return static_cast<std::int64_t>(value >> 1) ^ -static_cast<std::int64_t>(value & 1);
}

// Sums that wrap instead of overflowing: a damaged file may hold any value.
std::int64_t wrappingAdd(std::int64_t a, std::int64_t b) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}

} // namespace

bool RecordingReader::fail(const std::string& problem) {
    if (problem_.empty()) {
        problem_ = problem;
    }
    return false;
}

bool RecordingReader::ranOut() {
    ranOut_ = true;
    return fail("the file ends in the middle of a record");
}

bool RecordingReader::readByte(std::uint8_t& value) {
    if (bytesLeft() == 0) {
        return ranOut();
    }
    value = bytes_[offset_++];
    return true;
}

bool RecordingReader::readVarint(std::uint64_t& value) {
    value = 0;
    for (int i = 0; i < kMaxVarintBytes; ++i) {
        std::uint8_t byte = 0;
        if (!readByte(byte)) {
            return false;
        }
        // The last byte has room for the 64th bit alone; more would be dropped, and a damaged
        // number read as another.
        if (i == kMaxVarintBytes - 1 && byte > 1) {
            break;
        }
        value |= static_cast<std::uint64_t>(byte & kLowSeven) << (7 * i);
        if ((byte & kContinuation) == 0) {
            return true;
        }
    }
    return fail("a number is too long");
}

bool RecordingReader::readBounded(std::uint64_t& value, std::uint64_t max, const char* what) {
    if (!readVarint(value)) {
        return false;
    }
    if (value > max) {
        return fail(std::string("absurd ") + what + " " + std::to_string(value));
    }
    return true;
}

bool RecordingReader::readSigned(std::int64_t& value) {
    std::uint64_t raw = 0;
    if (!readVarint(raw)) {
        return false;
    }
    value = unzigzag(raw);
    return true;
}

// Floats and doubles are stored as their bit patterns, lowest byte first.
template <typename Value> bool RecordingReader::readLittleEndian(Value& value) {
    using Bits = std::conditional_t<sizeof(Value) == 4, std::uint32_t, std::uint64_t>;
    Bits bits = 0;
    for (std::size_t shift = 0; shift < 8 * sizeof(Bits); shift += 8) {
        std::uint8_t byte = 0;
        if (!readByte(byte)) {
            return false;
        }
        bits |= static_cast<Bits>(byte) << shift;
    }
    value = bitCast<Value>(bits);
    return true;
}

bool RecordingReader::readFloat(float& value) {
    return readLittleEndian(value);
}

bool RecordingReader::readDouble(double& value) {
    return readLittleEndian(value);
}

bool RecordingReader::readHeader(RecordingHeader& header) {
    if (readHeaderFields(header)) {
        return true;
    }
    // A file cut inside its header has no pass to replay, nor the settings to show one with.
    if (ranOut_) {
        problem_ = "the file ends inside its header";
    }
    return false;
}

bool RecordingReader::readHeaderFields(RecordingHeader& header) {
    offset_ = 0;
    // A file shorter than the magic is a cut recording as long as its bytes begin it.
    const std::size_t magicBytes = std::min(bytes_.size(), recording::kMagic.size());
    if (!std::equal(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(magicBytes),
                    recording::kMagic.begin())) {
        return fail("not a recorded game (wrong magic)");
    }
    if (magicBytes < recording::kMagic.size()) {
        return ranOut();
    }
    offset_ = recording::kMagic.size();
    if (!readVarint(formatVersion_)) {
        return false;
    }
    if (formatVersion_ < recording::kOldestFormatVersion ||
        formatVersion_ > recording::kFormatVersion) {
        return fail("recording format version " + std::to_string(formatVersion_) +
                    " is not supported (this game reads versions " +
                    std::to_string(recording::kOldestFormatVersion) + " to " +
                    std::to_string(recording::kFormatVersion) + ")");
    }
    std::uint64_t length = 0;
    if (!readBounded(length, recording::kMaxVersionLength, "version length")) {
        return false;
    }
    if (length > bytesLeft()) {
        return ranOut();
    }
    header.gameVersion.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(offset_),
                              bytes_.begin() + static_cast<std::ptrdiff_t>(offset_ + length));
    offset_ += length;
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    std::uint64_t refreshRate = 0;
    std::uint8_t fullscreen = 0;
    if (!readBounded(width, recording::kMaxWindowSide, "window width") ||
        !readBounded(height, recording::kMaxWindowSide, "window height") ||
        !readBounded(refreshRate, UINT32_MAX, "refresh rate") || !readByte(fullscreen) ||
        !readFloat(header.shaderBrightness)) {
        return false;
    }
    if (width == 0 || height == 0 || fullscreen > 1 || !std::isfinite(header.shaderBrightness)) {
        return fail("damaged settings in the header");
    }
    header.width = static_cast<int>(width);
    header.height = static_cast<int>(height);
    header.refreshRate = static_cast<std::int32_t>(static_cast<std::uint32_t>(refreshRate));
    header.fullscreen = fullscreen == 1;
    passesStart_ = offset_;
    return true;
}

void RecordingReader::rewind() {
    offset_ = passesStart_;
    passesRead_ = 0;
    quietPasses_ = 0;
    runLeft_ = 0;
    ranOut_ = false;
    closed_ = false;
    cutAt_.reset();
    lastRead_ = 0;
    lastStep_ = 0;
    wall_ = 0;
    problem_.clear();
}

bool RecordingReader::readClockRead(std::int64_t& ticks) {
    std::int64_t residual = 0;
    if (!readSigned(residual)) {
        return false;
    }
    const std::int64_t step = wrappingAdd(lastStep_, residual);
    ticks = wrappingAdd(lastRead_, step);
    if (!recording::isPlausibleClockValue(ticks)) {
        return fail("absurd clock value");
    }
    lastStep_ = step;
    lastRead_ = ticks;
    return true;
}

bool RecordingReader::readCommand(PassCommand& command) {
    std::uint8_t kind = 0;
    if (!readByte(kind)) {
        return false;
    }
    if (kind == 0) {
        std::int64_t key = 0;
        if (!readSigned(key)) {
            return false;
        }
        if (key < -1 || key > recording::kMaxKeyCode) {
            return fail("absurd key code");
        }
        command = PassCommand::keyReleased(static_cast<int>(key));
        return true;
    }
    double steps = 0.0;
    if (kind != 1 || !readDouble(steps)) {
        return fail("damaged command");
    }
    if (!std::isfinite(steps) || std::fabs(steps) > recording::kMaxZoomSteps) {
        return fail("absurd wheel turn");
    }
    command = PassCommand::zoom(steps);
    return true;
}

bool RecordingReader::readCheckpoint(Checkpoint& checkpoint) {
    std::uint64_t state = 0;
    if (!readBounded(state, UINT32_MAX, "random state")) {
        return false;
    }
    checkpoint.randomState = static_cast<std::uint32_t>(state);
    return readFloat(checkpoint.phaseDuration) && readFloat(checkpoint.stoneSpawnInterval) &&
           readFloat(checkpoint.relicHintInterval);
}

bool RecordingReader::readFullPass(RecordedPass& pass) {
    std::uint64_t wallStep = 0;
    std::uint64_t commands = 0;
    if (!readVarint(wallStep)) {
        return false;
    }
    if (wallStep > recording::kMaxWallMilliseconds - wall_) {
        return fail("absurd wall-time step " + std::to_string(wallStep));
    }
    if (!readBounded(commands, recording::kMaxCommandsPerPass, "command count")) {
        return false;
    }
    // Every command takes two bytes at least: more than the rest of the file holds is a record
    // cut short.
    if (commands > bytesLeft() / 2) {
        return ranOut();
    }
    wall_ += wallStep;
    pass.wallMilliseconds = wall_;
    for (std::uint64_t i = 0; i < commands; ++i) {
        PassCommand command;
        if (!readCommand(command)) {
            return false;
        }
        pass.commands.push_back(command);
    }
    std::uint64_t reads = 0;
    if (!readBounded(reads, commands + recording::kMaxReadsBeyondCommands, "clock read count")) {
        return false;
    }
    if (reads > bytesLeft()) {
        return ranOut();
    }
    for (std::uint64_t i = 0; i < reads; ++i) {
        std::int64_t ticks = 0;
        if (!readClockRead(ticks)) {
            return false;
        }
        pass.clockReads.push_back(ticks);
    }
    std::uint8_t hasCheckpoint = 0;
    if (!readByte(hasCheckpoint) || hasCheckpoint > 1) {
        return fail("damaged checkpoint mark");
    }
    if (hasCheckpoint == 1) {
        Checkpoint checkpoint;
        if (!readCheckpoint(checkpoint)) {
            return false;
        }
        pass.checkpoint = checkpoint;
    }
    return true;
}

bool RecordingReader::readRecord(RecordedPass& pass) {
    std::uint8_t tag = 0;
    if (!readByte(tag)) {
        return false;
    }
    pass.held = recording::unpackHeldKeys(tag & kHeldKeyBits);
    switch (static_cast<RecordKind>(tag >> kKindShift)) {
    case RecordKind::QuietRun:
        if (!readBounded(runLeft_, recording::kMaxQuietRun, "run of passes")) {
            return false;
        }
        if (runLeft_ == 0) {
            return fail("empty run of passes");
        }
        if (runLeft_ > recording::kMaxQuietPasses - quietPasses_) {
            return fail("more than " + std::to_string(recording::kMaxQuietPasses) +
                        " quiet passes in all");
        }
        quietPasses_ += runLeft_;
        runKeys_ = pass.held;
        --runLeft_;
        return true;
    case RecordKind::Frame: {
        std::int64_t ticks = 0;
        if (!readClockRead(ticks)) {
            return false;
        }
        pass.clockReads.push_back(ticks);
        return true;
    }
    case RecordKind::FullPass:
        return readFullPass(pass);
    case RecordKind::Closing:
        return readClosing(tag);
    }
    return fail("unknown record kind");
}

// The closing record has nothing after it; version 1 had none.
bool RecordingReader::readClosing(std::uint8_t tag) {
    if (formatVersion_ < recording::kFirstVersionWithClosingRecord) {
        return fail("unknown record kind");
    }
    if ((tag & kHeldKeyBits) != 0) {
        return fail("damaged closing record");
    }
    if (bytesLeft() > 0) {
        return fail(std::to_string(bytesLeft()) + " bytes after the closing record");
    }
    closed_ = true;
    return true;
}

RecordingReader::Next RecordingReader::next(RecordedPass& pass) {
    pass.commands.clear();
    pass.clockReads.clear();
    pass.checkpoint.reset();
    pass.wallMilliseconds = wall_;
    if (cutAt_) {
        return Next::Cut;
    }
    if (!problem_.empty()) {
        return Next::Damaged;
    }
    if (runLeft_ > 0) {
        --runLeft_;
        pass.held = runKeys_;
    } else if (closed_) {
        return Next::End;
    } else if (bytesLeft() == 0) {
        return endOfBytes();
    } else {
        const std::size_t recordStart = offset_;
        if (!readRecord(pass)) {
            return endOfDamage(recordStart);
        }
        if (closed_) {
            return Next::End;
        }
    }
    ++passesRead_;
    return Next::Pass;
}

// The last byte of a whole record: the end of a file whose version has no closing record, a cut
// between two records in one that has.
RecordingReader::Next RecordingReader::endOfBytes() {
    if (formatVersion_ < recording::kFirstVersionWithClosingRecord) {
        return Next::End;
    }
    cutAt_ = offset_;
    return Next::Cut;
}

// A record that runs past the end of the file is where a crash or a full disk cut the file: the
// passes before it stand. Anything else wrong is damage.
RecordingReader::Next RecordingReader::endOfDamage(std::size_t recordStart) {
    if (!ranOut_) {
        return Next::Damaged;
    }
    cutAt_ = recordStart;
    return Next::Cut;
}

namespace {

// The lines of a recording that replays, though not as recorded or not whole.
void tellOfCutAndVersion(const std::string& path, const RecordingReader& reader,
                         RecordingReader::Next end, std::size_t size, const RecordingHeader& header,
                         std::ostream& errors) {
    if (end == RecordingReader::Next::Cut && reader.cutInsideRecord()) {
        errors << "chronocell: " << path << " ends inside a record at byte " << reader.cutAt()
               << " of " << size << ", after pass " << reader.passesRead()
               << "; the passes before it are replayed\n";
    } else if (end == RecordingReader::Next::Cut) {
        errors << "chronocell: " << path << " ends early, after pass " << reader.passesRead()
               << " at byte " << size << ", with no closing record; the passes before it are "
               << "replayed\n";
    }
    if (header.gameVersion != gameVersion()) {
        errors << "chronocell: " << path << " was recorded by version " << header.gameVersion
               << "; this is version " << gameVersion() << "\n";
    }
}

} // namespace

std::optional<std::vector<std::uint8_t>> loadRecordingFile(const std::string& path,
                                                           std::string& problem) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        problem = "no such file";
        return std::nullopt;
    }
    if (!std::filesystem::is_regular_file(status)) {
        problem = "not a file";
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > recording::kMaxFileBytes) {
        problem = error ? "cannot tell its size" : "too large to be a recorded game";
        return std::nullopt;
    }
    if (size == 0) {
        problem = "the file is empty";
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        problem = "cannot be read";
        return std::nullopt;
    }
    return bytes;
}

std::optional<RecordingReader> openRecording(const std::string& path, RecordingHeader& header,
                                             std::ostream& errors, RecordingNotes notes) {
    std::string problem;
    std::optional<std::vector<std::uint8_t>> bytes = loadRecordingFile(path, problem);
    if (!bytes) {
        errors << "chronocell: cannot replay " << path << ": " << problem << "\n";
        return std::nullopt;
    }
    const std::size_t size = bytes->size();
    RecordingReader reader(std::move(*bytes));
    if (!reader.readHeader(header)) {
        errors << "chronocell: cannot replay " << path << ": " << reader.problem() << "\n";
        return std::nullopt;
    }
    RecordedPass pass;
    RecordingReader::Next next = RecordingReader::Next::Pass;
    while ((next = reader.next(pass)) == RecordingReader::Next::Pass) {
    }
    if (next == RecordingReader::Next::Damaged) {
        errors << "chronocell: cannot replay " << path << ": damaged after pass "
               << reader.passesRead() << ": " << reader.problem() << "\n";
        return std::nullopt;
    }
    if (notes == RecordingNotes::Tell) {
        tellOfCutAndVersion(path, reader, next, size, header, errors);
    }
    reader.rewind();
    return reader;
}
