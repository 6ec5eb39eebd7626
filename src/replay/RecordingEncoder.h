#pragma once

#include "replay/RecordingFormat.h"

#include <cstdint>
#include <vector>

// Appends a recording's bytes to a buffer: the header once, then pass after pass, then the
// closing record. Quiet passes with the same held keys are held back and written as one run when
// something else comes.
class RecordingEncoder {
  public:
    // `quietPassLimit` is the most quiet passes the file may hold in all; tests lower it.
    explicit RecordingEncoder(std::vector<std::uint8_t>& out,
                              std::uint64_t quietPassLimit = recording::kMaxQuietPasses)
        : out_(out), quietPassLimit_(quietPassLimit) {}

    void writeHeader(const RecordingHeader& header);
    // False, writing nothing, for a quiet pass beyond the limit: a reader would refuse the file.
    bool writePass(const RecordedPass& pass);
    // Writes the run of quiet passes held back, if any.
    void finishRun();
    // Writes the run held back and the closing record: the recording ends here, whole.
    void writeClosing();

  private:
    void writeVarint(std::uint64_t value);
    void writeSigned(std::int64_t value);
    template <typename Value> void writeLittleEndian(Value value);
    void writeFloat(float value);
    void writeDouble(double value);
    void writeTag(recording::RecordKind kind, const HeldKeys& keys);
    void writeClockRead(std::int64_t ticks);
    void writeFullPass(const RecordedPass& pass);

    std::vector<std::uint8_t>& out_;
    std::uint64_t quietPassLimit_;
    std::uint64_t quietPasses_ = 0;
    HeldKeys runKeys_;
    std::uint64_t runLength_ = 0;
    // Each clock read is stored as its difference from the read before plus the step before.
    std::int64_t lastRead_ = 0;
    std::int64_t lastStep_ = 0;
    std::uint64_t lastWall_ = 0;
};
