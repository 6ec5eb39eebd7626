#include "replay/RecordingWriter.h"

#include <cerrno>
#include <cstring>

namespace {
constexpr std::size_t kFlushBytes = 4096;
// A crash loses at most this much wall time of play or of the text screens.
constexpr std::uint64_t kFlushMilliseconds = 1000;
// Room for a full buffer and the longest pass that can follow it.
constexpr std::size_t kBufferBytes = 4 * kFlushBytes;
} // namespace

RecordingWriter::RecordingWriter(std::ostream& errors, std::uint64_t quietPassLimit)
    : errors_(errors), quietPassLimit_(quietPassLimit), encoder_(buffer_, quietPassLimit) {
    buffer_.reserve(kBufferBytes);
}

RecordingWriter::~RecordingWriter() {
    close();
}

bool RecordingWriter::open(const std::string& path, const RecordingHeader& header) {
    path_ = path;
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) {
        giveUp();
        return false;
    }
    encoder_.writeHeader(header);
    flush();
    return file_ != nullptr;
}

void RecordingWriter::write(const RecordedPass& pass) {
    if (file_ == nullptr) {
        return;
    }
    if (!encoder_.writePass(pass)) {
        stopAtQuietPassLimit();
        return;
    }
    if (buffer_.size() >= kFlushBytes || pass.checkpoint ||
        pass.wallMilliseconds - flushedAt_ >= kFlushMilliseconds) {
        flushAt(pass.wallMilliseconds);
    }
}

void RecordingWriter::flushAt(std::uint64_t wallMilliseconds) {
    if (file_ == nullptr) {
        return;
    }
    // A run of quiet passes held back would be lost with the process.
    encoder_.finishRun();
    flush();
    flushedAt_ = wallMilliseconds;
}

void RecordingWriter::close() {
    if (file_ == nullptr) {
        return;
    }
    encoder_.writeClosing();
    flush();
    if (file_ != nullptr && std::fclose(file_) != 0) {
        file_ = nullptr;
        giveUp();
    }
    file_ = nullptr;
}

void RecordingWriter::flush() {
    const bool written = std::fwrite(buffer_.data(), 1, buffer_.size(), file_) == buffer_.size();
    buffer_.clear();
    if (!written || std::fflush(file_) != 0) {
        giveUp();
    }
}

// Hours on a text screen: a file with more quiet passes would be refused whole, so the recording
// ends here, whole, with everything before it.
void RecordingWriter::stopAtQuietPassLimit() {
    errors_ << "chronocell: " << path_ << " holds the most text-screen passes a recording may ("
            << quietPassLimit_ << "); the recording ends there and the game goes on without "
            << "recording\n";
    close();
}

void RecordingWriter::giveUp() {
    errors_ << "chronocell: cannot record to " << path_ << ": " << std::strerror(errno)
            << "; the game goes on without recording\n";
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}
