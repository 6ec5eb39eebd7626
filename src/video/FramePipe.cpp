#include "video/FramePipe.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

namespace {

// Enough to ride out a frame that takes the encoder longer than the others, few enough that
// 8K frames stay within half a gigabyte.
constexpr std::size_t kQueuedFrames = 3;

// A write to a pipe whose reader has gone raises SIGPIPE, which ends the process by default.
// It is blocked on the writer thread alone, where the write then fails with EPIPE and the
// signal left pending is taken: the game's other threads and any program it starts keep the
// usual behaviour, which ignoring SIGPIPE for the whole process would change.
void blockBrokenPipeSignal() {
    sigset_t brokenPipe;
    sigemptyset(&brokenPipe);
    sigaddset(&brokenPipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &brokenPipe, nullptr);
}

void takePendingBrokenPipeSignal() {
    sigset_t brokenPipe;
    sigemptyset(&brokenPipe);
    sigaddset(&brokenPipe, SIGPIPE);
    const timespec noWait{0, 0};
    while (::sigtimedwait(&brokenPipe, nullptr, &noWait) == SIGPIPE) {
    }
}

} // namespace

FramePipe::FramePipe(FileDescriptor pipe, std::size_t frameBytes)
    : pipe_(std::move(pipe)), buffers_(kQueuedFrames, std::vector<std::uint8_t>(frameBytes)) {
    // Non-blocking, so that a wait for room is a poll that a cancel can end.
    ::fcntl(pipe_.get(), F_SETFL, ::fcntl(pipe_.get(), F_GETFL) | O_NONBLOCK);
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) == 0) {
        cancelRead_ = FileDescriptor(ends[0]);
        cancelWrite_ = FileDescriptor(ends[1]);
    } else {
        failure_ = std::string("cannot make a pipe: ") + std::strerror(errno);
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
    if (cancelWrite_.isOpen()) {
        const char wake = 1;
        [[maybe_unused]] const ssize_t written = ::write(cancelWrite_.get(), &wake, 1);
    }
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
    blockBrokenPipeSignal();
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
    pollfd waits[] = {{pipe_.get(), POLLOUT, 0}, {cancelRead_.get(), POLLIN, 0}};
    while (count > 0) {
        const ssize_t written = ::write(pipe_.get(), bytes, count);
        if (written > 0) {
            bytes += written;
            count -= static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno != EAGAIN && errno != EINTR) {
            const int error = errno;
            takePendingBrokenPipeSignal();
            const std::lock_guard lock(mutex_);
            failure_ = std::string("the encoder stopped taking frames: ") + std::strerror(error);
            return false;
        }
        if (::poll(waits, 2, -1) > 0 && (waits[1].revents & POLLIN) != 0) {
            const std::lock_guard lock(mutex_);
            failure_ = "the export was abandoned";
            return false;
        }
    }
    return true;
}
