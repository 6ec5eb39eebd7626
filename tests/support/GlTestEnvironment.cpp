#include "support/GlTestEnvironment.h"

#include <glad/gl.h>

#include <GLFW/glfw3.h>

GLFWwindow* gWindow = nullptr;

GLFWwindow* glTestWindow() {
    return gWindow;
}

Rgb readPixel(int x, int y) {
    unsigned char pixel[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return Rgb{pixel[0], pixel[1], pixel[2]};
}

unsigned int takeGlError() {
    GLenum first = GL_NO_ERROR;
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
        if (first == GL_NO_ERROR) {
            first = error;
        }
    }
    return first;
}
