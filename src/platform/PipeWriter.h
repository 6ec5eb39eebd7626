#pragma once

#include "platform/FileDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The writing end of a pipe, written by one thread, whose wait for room another thread can end:
// a reader that stops reading must not hold the game in a write it can never finish. A write to
// a pipe whose reader has gone fails instead of ending the process.
class PipeWriter {
  public:
    enum class Result { Written, ReaderGone, Cancelled };

    explicit PipeWriter(FileDescriptor pipe);
    ~PipeWriter();
    PipeWriter(const PipeWriter&) = delete;
    PipeWriter& operator=(const PipeWriter&) = delete;

    // Empty when the writer is ready, otherwise why it cannot write.
    std::string setupFailure() const;
    // Called once on the thread that writes, before its first write.
    void prepareWriterThread();
    // Writes every byte, waiting for room; on ReaderGone, `reason` is the system's.
    Result writeAll(const std::uint8_t* bytes, std::size_t count, std::string& reason);
    // From any thread: a write waiting for room, and every later one, ends as Cancelled.
    void cancel();
    void close();

  private:
    struct State;
    std::unique_ptr<State> state_;
};
