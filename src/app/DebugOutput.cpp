#include "app/DebugOutput.h"

#include <cstdio>

namespace {
constexpr GLuint kBufferInfoId = 131185;
constexpr GLuint kShaderRecompileId = 131218;
} // namespace

void GLAPIENTRY debugMessageCallback(GLenum /*source*/, GLenum type, GLuint id, GLenum severity,
                                     GLsizei /*length*/, const GLchar* message,
                                     const void* /*userParam*/) {
    if (id == kBufferInfoId || id == kShaderRecompileId) {
        return;
    }
    std::fprintf(stderr, "GL CALLBACK: %s type = 0x%x, severity = 0x%x, message = %s\n",
                 type == GL_DEBUG_TYPE_ERROR ? "** GL ERROR **" : "", type, severity, message);
}
