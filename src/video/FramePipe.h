#pragma once

#include "platform/FileDescriptor.h"
#include "platform/PipeWriter.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Frames written to a pipe on a thread of its own, so that the next frame is drawn while the
// reader takes the last one. A few buffers made at the start are filled and written in turn:
// no frame allocates. One thread pushes frames.
class FramePipe {
  public:
    FramePipe(FileDescriptor pipe, std::size_t frameBytes);
    ~FramePipe();
    FramePipe(const FramePipe&) = delete;
    FramePipe& operator=(const FramePipe&) = delete;

    // Copies `frameBytes` bytes of `frame` into the queue, waiting while it is full; false once
    // a write has failed (the reader is gone), and then `failure()` says why.
    bool push(const std::uint8_t* frame);
    // Writes what is queued, then closes the pipe; false when a write failed.
    bool close();
    // Closes the pipe at once, dropping what is queued.
    void cancel();
    std::string failure() const;

  private:
    void writeQueued();
    bool writeAll(const std::uint8_t* bytes, std::size_t count);
    void stopThread();

    PipeWriter pipe_;
    std::vector<std::vector<std::uint8_t>> buffers_;

    mutable std::mutex mutex_;
    std::condition_variable frameQueued_;
    std::condition_variable bufferFree_;
    // The oldest queued frame, and how many are queued; the writer holds the oldest while it
    // writes it, so it is counted until written.
    std::size_t oldest_ = 0;
    std::size_t queued_ = 0;
    bool closing_ = false;
    bool cancelled_ = false;
    std::string failure_;
    std::thread writer_;
};
