#pragma once

#include "replay/RecordingEncoder.h"

#include <cstdio>
#include <iostream>
#include <ostream>
#include <string>
#include <vector>

// Writes a recording to its file as the game goes: passes are encoded into a buffer that goes
// to the file whenever it fills, after every checkpoint and at least once a second of wall time,
// whole records at a time, so a crash leaves a file that replays up to about the last second.
// Closing it writes the closing record, which tells a whole recording from a cut one. A failed
// write reports itself once on `errors` and the game goes on without recording; so does a
// recording that reaches the most quiet passes a file may hold, closed whole before it.
class RecordingWriter {
  public:
    explicit RecordingWriter(std::ostream& errors = std::cerr,
                             std::uint64_t quietPassLimit = recording::kMaxQuietPasses);
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
    void stopAtQuietPassLimit();

    std::ostream& errors_;
    std::uint64_t quietPassLimit_;
    std::string path_;
    std::FILE* file_ = nullptr;
    std::vector<std::uint8_t> buffer_;
    RecordingEncoder encoder_;
    std::uint64_t flushedAt_ = 0;
};
