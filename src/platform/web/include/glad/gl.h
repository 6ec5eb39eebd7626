#pragma once

// The OpenGL the game draws with, in a browser: WebGL 2, which emscripten offers as OpenGL ES 3.0.
// The desktop game includes glad's OpenGL 4.3 core loader under this name; a page has no loader
// to run, and ES 3.0 is the part of 4.3 the game's drawing keeps to. Wireframe, which ES lacks,
// is drawn as lines by render/webgl/TriangleDraw.cpp.
#include <GLES3/gl3.h>

// The polygon modes, for the code that records which one is wanted.
#ifndef GL_LINE
#define GL_LINE 0x1B01
#endif
#ifndef GL_FILL
#define GL_FILL 0x1B02
#endif

// glad's loader type, so that window set-up names it as on the desktop.
typedef void (*GLADapiproc)(void);
typedef GLADapiproc (*GLADloadfunc)(const char* name);
