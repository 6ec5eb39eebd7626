#pragma once

struct GLFWwindow;

// The window and OpenGL 4.3 core context shared by every GL test of one test program.
GLFWwindow* glTestWindow();

// Reads the current framebuffer back; returns RGB at (x, y) with y measured from the bottom.
struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
};
Rgb readPixel(int x, int y);

// Drains the GL error queue and returns the first error seen (GL_NO_ERROR when clean).
unsigned int takeGlError();
