#pragma once

#include "replay/RecordingEncoder.h"

#include <cstdio>
#include <string>
#include <vector>

// Writes a recording to its file as the game goes: passes are encoded into a buffer that goes
// to the file whenever it fills, after every checkpoint and at least once a second of wall time,
// whole records at a time, so a crash leaves a file that replays up to about the last second. A
// failed write reports itself once on standard error and the game goes on without recording.
class RecordingWriter {
  public:
    RecordingWriter();
    ~RecordingWriter();
    RecordingWriter(const RecordingWriter&) = delete;
    RecordingWriter& operator=(const RecordingWriter&) = delete;

    bool open(const std::string& path, const RecordingHeader& header);
    void write(const RecordedPass& pass);
    // Puts every pass written so far into the file now, as at the end of a game.
    void flushAt(std::uint64_t wallMilliseconds);
    void close();

  private:
    void flush();
    void giveUp();

    std::string path_;
    std::FILE* file_ = nullptr;
    std::vector<std::uint8_t> buffer_;
    RecordingEncoder encoder_{buffer_};
    std::uint64_t flushedAt_ = 0;
};
