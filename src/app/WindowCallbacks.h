#pragma once

struct GLFWwindow;

// Registers the key, framebuffer-size, cursor and scroll callbacks. The window's user pointer
// must hold the Application they act on.
void registerWindowCallbacks(GLFWwindow* window);

void keyCallback(GLFWwindow* window, int key, int scancode, int action, int modifiers);
void framebufferSizeCallback(GLFWwindow* window, int width, int height);
void cursorPositionCallback(GLFWwindow* window, double x, double y);
void scrollCallback(GLFWwindow* window, double xOffset, double yOffset);
