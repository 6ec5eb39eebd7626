#include "scene/DrawingState.h"

#include <glad/gl.h>

#include <stb/stb_image.h>

void setUpDrawingState() {
    stbi_set_flip_vertically_on_load(true);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_CULL_FACE);
}
