#pragma once

#include "replay/RecordingFormat.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Reads a recording from its bytes, pass by pass. Every count is checked against the bytes left
// and every value against the bounds of recording::, so damaged or hostile bytes end in a
// problem to report, never in a crash or a large allocation.
class RecordingReader {
  public:
    // End: the closing record, or the last byte of a file of a version that has none. Cut: the
    // file ends inside a record or without its closing record, where a crash or a full disk
    // stopped the writer; every pass before it is whole.
    enum class Next { Pass, End, Cut, Damaged };

    explicit RecordingReader(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    // False, with problem() saying why, when the header is damaged or from a later version.
    bool readHeader(RecordingHeader& header);
    // The next pass into `pass` (its buffers are reused), the end of the file, a cut, or damage.
    // After a cut, every later call says Cut again.
    Next next(RecordedPass& pass);
    // Starts again after the header, for a second pass over a file already checked.
    void rewind();

    const std::string& problem() const { return problem_; }
    // The passes read so far; the damaged one is the next.
    std::uint64_t passesRead() const { return passesRead_; }
    // Where the record a cut fell into begins: the bytes of the file that replay.
    std::size_t cutAt() const { return cutAt_.value_or(bytes_.size()); }
    // Whether a cut fell inside a record rather than between two (a missing closing record).
    bool cutInsideRecord() const { return cutAt_ && *cutAt_ < bytes_.size(); }

  private:
    bool fail(const std::string& problem);
    bool ranOut();
    bool readHeaderFields(RecordingHeader& header);
    Next endOfDamage(std::size_t recordStart);
    bool readByte(std::uint8_t& value);
    bool readVarint(std::uint64_t& value);
    bool readBounded(std::uint64_t& value, std::uint64_t max, const char* what);
    bool readSigned(std::int64_t& value);
    template <typename Value> bool readLittleEndian(Value& value);
    bool readFloat(float& value);
    bool readDouble(double& value);
    bool readClockRead(std::int64_t& ticks);
    bool readCommand(PassCommand& command);
    bool readCheckpoint(Checkpoint& checkpoint);
    bool readFullPass(RecordedPass& pass);
    bool readClosing(std::uint8_t tag);
    bool readRecord(RecordedPass& pass);
    Next endOfBytes();
    std::size_t bytesLeft() const { return bytes_.size() - offset_; }

    std::vector<std::uint8_t> bytes_;
    std::size_t offset_ = 0;
    std::size_t passesStart_ = 0;
    std::uint64_t formatVersion_ = 0;
    bool closed_ = false;
    std::string problem_;
    std::uint64_t passesRead_ = 0;
    std::uint64_t quietPasses_ = 0;
    bool ranOut_ = false;
    std::optional<std::size_t> cutAt_;
    HeldKeys runKeys_;
    std::uint64_t runLeft_ = 0;
    std::int64_t lastRead_ = 0;
    std::int64_t lastStep_ = 0;
    std::uint64_t wall_ = 0;
};

// Whether opening a recording tells of a cut and of another game version, or leaves them to an
// earlier opening of the same file that has told them (a video's drawing run after its planning).
enum class RecordingNotes { Tell, AlreadyTold };

// Reads and checks a whole recording; on failure prints one line naming the file and the problem
// on `errors` and returns nothing. Unless `notes` are already told, one line there also tells of
// a file that was cut short, and one of a file recorded by another version of the game.
std::optional<RecordingReader> openRecording(const std::string& path, RecordingHeader& header,
                                             std::ostream& errors,
                                             RecordingNotes notes = RecordingNotes::Tell);

// The whole file, or nothing with `problem` naming what is wrong: missing, a folder, empty, too
// large to be a recording, unreadable.
std::optional<std::vector<std::uint8_t>> loadRecordingFile(const std::string& path,
                                                           std::string& problem);
