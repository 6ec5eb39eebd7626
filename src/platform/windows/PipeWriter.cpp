#include "platform/PipeWriter.h"

#include "platform/windows/WindowsErrors.h"

#include <atomic>
#include <io.h>
#include <windows.h>

// An anonymous pipe takes no overlapped writes, so a write waiting for room is ended by
// cancelling the writer thread's synchronous I/O. The cancel repeats until the writer is out of
// WriteFile: one sent just before the writer enters it would otherwise be lost.
struct PipeWriter::State {
    FileDescriptor pipe;
    std::atomic<bool> cancelled{false};
    std::atomic<bool> writing{false};
    HANDLE writerThread = nullptr;

    ~State() {
        if (writerThread != nullptr) {
            ::CloseHandle(writerThread);
        }
    }
};

namespace {

// Small enough that a cancel never waits on a write of a whole 8K frame.
constexpr DWORD kLargestWrite = 1 << 20;
constexpr DWORD kCancelRetryMilliseconds = 1;

} // namespace

PipeWriter::PipeWriter(FileDescriptor pipe) : state_(std::make_unique<State>()) {
    state_->pipe = std::move(pipe);
}

PipeWriter::~PipeWriter() = default;

std::string PipeWriter::setupFailure() const {
    return {};
}

void PipeWriter::prepareWriterThread() {
    ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(),
                      &state_->writerThread, 0, FALSE, DUPLICATE_SAME_ACCESS);
}

PipeWriter::Result PipeWriter::writeAll(const std::uint8_t* bytes, std::size_t count,
                                        std::string& reason) {
    HANDLE pipe = reinterpret_cast<HANDLE>(::_get_osfhandle(state_->pipe.get()));
    while (count > 0) {
        state_->writing = true;
        if (state_->cancelled) {
            state_->writing = false;
            return Result::Cancelled;
        }
        const DWORD some = count > kLargestWrite ? kLargestWrite : static_cast<DWORD>(count);
        DWORD written = 0;
        const BOOL ok = ::WriteFile(pipe, bytes, some, &written, nullptr);
        const DWORD error = ok ? ERROR_SUCCESS : ::GetLastError();
        state_->writing = false;
        if (!ok) {
            if (error == ERROR_OPERATION_ABORTED || state_->cancelled) {
                return Result::Cancelled;
            }
            reason = windowsErrors::describe(error);
            return Result::ReaderGone;
        }
        bytes += written;
        count -= written;
    }
    return Result::Written;
}

void PipeWriter::cancel() {
    state_->cancelled = true;
    while (state_->writing) {
        if (state_->writerThread != nullptr) {
            ::CancelSynchronousIo(state_->writerThread);
        }
        ::Sleep(kCancelRetryMilliseconds);
    }
}

void PipeWriter::close() {
    state_->pipe.close();
}
