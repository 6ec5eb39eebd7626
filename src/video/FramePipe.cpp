#include "video/FramePipe.h"

#include <cstring>

namespace {

// Enough to ride out a frame that takes the encoder longer than the others, few enough that
// 8K frames stay within half a gigabyte.
constexpr std::size_t kQueuedFrames = 3;

} // namespace

FramePipe::FramePipe(FileDescriptor pipe, std::size_t frameBytes)
    : pipe_(std::move(pipe)), buffers_(kQueuedFrames, std::vector<std::uint8_t>(frameBytes)) {
    failure_ = pipe_.setupFailure();
    if (!failure_.empty()) {
        return;
    }
    writer_ = std::thread([this] { writeQueued(); });
}

FramePipe::~FramePipe() {
    cancel();
}

bool FramePipe::push(const std::uint8_t* frame) {
    std::unique_lock lock(mutex_);
    bufferFree_.wait(lock, [this] { return queued_ < kQueuedFrames || !failure_.empty(); });
    if (!failure_.empty() || closing_ || cancelled_) {
        return false;
    }
    std::vector<std::uint8_t>& buffer = buffers_[(oldest_ + queued_) % kQueuedFrames];
    // The writer touches only counted buffers, so the copy needs no lock.
    lock.unlock();
    std::memcpy(buffer.data(), frame, buffer.size());
    lock.lock();
    ++queued_;
    frameQueued_.notify_one();
    return true;
}

bool FramePipe::close() {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    frameQueued_.notify_one();
    stopThread();
    const std::lock_guard lock(mutex_);
    return failure_.empty();
}

void FramePipe::cancel() {
    {
        const std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    frameQueued_.notify_one();
    pipe_.cancel();
    stopThread();
}

std::string FramePipe::failure() const {
    const std::lock_guard lock(mutex_);
    return failure_;
}

void FramePipe::stopThread() {
    if (writer_.joinable()) {
        writer_.join();
    }
    pipe_.close();
}

void FramePipe::writeQueued() {
    pipe_.prepareWriterThread();
    std::unique_lock lock(mutex_);
    while (true) {
        frameQueued_.wait(lock, [this] { return queued_ > 0 || closing_ || cancelled_; });
        if (cancelled_ || queued_ == 0) {
            return;
        }
        const std::vector<std::uint8_t>& buffer = buffers_[oldest_];
        lock.unlock();
        const bool written = writeAll(buffer.data(), buffer.size());
        lock.lock();
        if (!written) {
            bufferFree_.notify_all();
            return;
        }
        oldest_ = (oldest_ + 1) % kQueuedFrames;
        --queued_;
        bufferFree_.notify_one();
    }
}

bool FramePipe::writeAll(const std::uint8_t* bytes, std::size_t count) {
    std::string reason;
    const PipeWriter::Result result = pipe_.writeAll(bytes, count, reason);
    if (result == PipeWriter::Result::Written) {
        return true;
    }
    const std::lock_guard lock(mutex_);
    failure_ = result == PipeWriter::Result::Cancelled
                   ? "the export was abandoned"
                   : "the encoder stopped taking frames: " + reason;
    return false;
}
