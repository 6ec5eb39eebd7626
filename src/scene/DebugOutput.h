#pragma once

#include <glad/gl.h>

// Writes OpenGL's debug messages to standard error, errors marked "** GL ERROR **"; two ids that
// only report buffer placement and shader recompiles are dropped as noise. A message repeated
// over and over is shown the first few times; its repeats are then counted in at most one
// summary line a second.
void GLAPIENTRY debugMessageCallback(GLenum source, GLenum type, GLuint id, GLenum severity,
                                     GLsizei length, const GLchar* message, const void* userParam);

// Reports the repeats counted since the last summary line, if any: called once at exit.
void reportHeldBackDebugMessages();
