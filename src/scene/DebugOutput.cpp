#include "scene/DebugOutput.h"

#include "scene/DebugMessageLimiter.h"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>

namespace {

constexpr GLuint kBufferInfoId = 131185;
constexpr GLuint kShaderRecompileId = 131218;

// Drivers may call back from threads of their own.
std::mutex& outputMutex() {
    static std::mutex mutex;
    return mutex;
}

DebugMessageLimiter& limiter() {
    static DebugMessageLimiter instance;
    return instance;
}

double secondsNow() {
    using Seconds = std::chrono::duration<double>;
    return Seconds(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string formatMessage(GLenum type, GLenum severity, const GLchar* message) {
    const char* format = "GL CALLBACK: %s type = 0x%x, severity = 0x%x, message = %s\n";
    const char* mark = type == GL_DEBUG_TYPE_ERROR ? "** GL ERROR **" : "";
    const int length = std::snprintf(nullptr, 0, format, mark, type, severity, message);
    std::string line(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    std::snprintf(line.data(), line.size() + 1, format, mark, type, severity, message);
    return line;
}

void printSummary(long repeats) {
    std::fprintf(stderr, "GL CALLBACK: %ld repeats of the messages above left out\n", repeats);
}

} // namespace

void GLAPIENTRY debugMessageCallback(GLenum /*source*/, GLenum type, GLuint id, GLenum severity,
                                     GLsizei /*length*/, const GLchar* message,
                                     const void* /*userParam*/) {
    if (id == kBufferInfoId || id == kShaderRecompileId) {
        return;
    }
    const std::string line = formatMessage(type, severity, message != nullptr ? message : "");
    const std::lock_guard lock(outputMutex());
    const DebugMessageLimiter::Verdict verdict = limiter().onMessage(line, secondsNow());
    if (verdict.summarizedRepeats > 0) {
        printSummary(verdict.summarizedRepeats);
    }
    if (verdict.show) {
        std::fputs(line.c_str(), stderr);
    }
}

void reportHeldBackDebugMessages() {
    const std::lock_guard lock(outputMutex());
    const long repeats = limiter().takeUnreportedRepeats();
    if (repeats > 0) {
        printSummary(repeats);
    }
}
