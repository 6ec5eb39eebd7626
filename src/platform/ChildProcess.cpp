#include "platform/ChildProcess.h"

#include <utility>

ChildProcess::~ChildProcess() {
    stop();
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : process_(std::exchange(other.process_, 0)), input_(std::move(other.input_)),
      errorLog_(std::move(other.errorLog_)) {}

FileDescriptor ChildProcess::takeInput() {
    return std::move(input_);
}

std::string ChildProcess::lastLineOf(std::string tail) {
    const std::size_t end = tail.find_last_not_of(" \t\r\n");
    if (end == std::string::npos) {
        return {};
    }
    tail.erase(end + 1);
    const std::size_t start = tail.find_last_of("\r\n");
    return start == std::string::npos ? tail : tail.substr(start + 1);
}
