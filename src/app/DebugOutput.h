#pragma once

#include <glad/gl.h>

// Writes OpenGL's debug messages to standard error, errors marked "** GL ERROR **"; two ids that
// only report buffer placement and shader recompiles are dropped as noise.
void GLAPIENTRY debugMessageCallback(GLenum source, GLenum type, GLuint id, GLenum severity,
                                     GLsizei length, const GLchar* message, const void* userParam);
