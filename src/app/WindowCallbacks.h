#pragma once

struct Application;
struct GLFWwindow;

// Registers the key, framebuffer-size, cursor and scroll callbacks. The window's user pointer
// must hold the Application they act on.
void registerWindowCallbacks(GLFWwindow* window);

void keyCallback(GLFWwindow* window, int key, int scancode, int action, int modifiers);
void framebufferSizeCallback(GLFWwindow* window, int width, int height);
void cursorPositionCallback(GLFWwindow* window, double x, double y);
void scrollCallback(GLFWwindow* window, double xOffset, double yOffset);

// What a released key does (start, leave, fullscreen, brightness, refresh rate, F1 to F3), for
// every source of key commands: the keyboard's callback and any other input that stands for keys.
void runKeyCommand(GLFWwindow* window, Application& application, int key);

// Moves the camera closer (positive steps) or farther, as the wheel does.
void zoomCamera(Application& application, double steps);
