#include "platform/PipeWriter.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

struct PipeWriter::State {
    FileDescriptor pipe;
    // Written to wake the writer from a wait for room in a full pipe.
    FileDescriptor cancelRead;
    FileDescriptor cancelWrite;
    std::string setupFailure;
};

namespace {

sigset_t brokenPipeSignal() {
    sigset_t brokenPipe;
    sigemptyset(&brokenPipe);
    sigaddset(&brokenPipe, SIGPIPE);
    return brokenPipe;
}

void takePendingBrokenPipeSignal() {
    const sigset_t brokenPipe = brokenPipeSignal();
    const timespec noWait{0, 0};
    while (::sigtimedwait(&brokenPipe, nullptr, &noWait) == SIGPIPE) {
    }
}

} // namespace

PipeWriter::PipeWriter(FileDescriptor pipe) : state_(std::make_unique<State>()) {
    state_->pipe = std::move(pipe);
    // Non-blocking, so that a wait for room is a poll that a cancel can end.
    const int descriptor = state_->pipe.get();
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) | O_NONBLOCK);
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) == 0) {
        state_->cancelRead = FileDescriptor(ends[0]);
        state_->cancelWrite = FileDescriptor(ends[1]);
    } else {
        state_->setupFailure = std::string("cannot make a pipe: ") + std::strerror(errno);
    }
}

PipeWriter::~PipeWriter() = default;

std::string PipeWriter::setupFailure() const {
    return state_->setupFailure;
}

// A write to a pipe whose reader has gone raises SIGPIPE, which ends the process by default.
// It is blocked on the writer thread alone, where the write then fails with EPIPE and the
// signal left pending is taken: the game's other threads and any program it starts keep the
// usual behaviour, which ignoring SIGPIPE for the whole process would change.
void PipeWriter::prepareWriterThread() {
    const sigset_t brokenPipe = brokenPipeSignal();
    pthread_sigmask(SIG_BLOCK, &brokenPipe, nullptr);
}

PipeWriter::Result PipeWriter::writeAll(const std::uint8_t* bytes, std::size_t count,
                                        std::string& reason) {
    pollfd waits[] = {{state_->pipe.get(), POLLOUT, 0}, {state_->cancelRead.get(), POLLIN, 0}};
    while (count > 0) {
        const ssize_t written = ::write(state_->pipe.get(), bytes, count);
        if (written > 0) {
            bytes += written;
            count -= static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno != EAGAIN && errno != EINTR) {
            const int error = errno;
            takePendingBrokenPipeSignal();
            reason = std::strerror(error);
            return Result::ReaderGone;
        }
        if (::poll(waits, 2, -1) > 0 && (waits[1].revents & POLLIN) != 0) {
            return Result::Cancelled;
        }
    }
    return Result::Written;
}

void PipeWriter::cancel() {
    if (state_->cancelWrite.isOpen()) {
        const char wake = 1;
        [[maybe_unused]] const ssize_t written = ::write(state_->cancelWrite.get(), &wake, 1);
    }
}

void PipeWriter::close() {
    state_->pipe.close();
}
