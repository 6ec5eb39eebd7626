#pragma once

#include <vector>

struct Application;
struct GLFWwindow;
struct PassCommand;

// Registers the key, framebuffer-size, cursor and scroll callbacks. The window's user pointer
// must hold the Application they act on.
void registerWindowCallbacks(GLFWwindow* window);

void keyCallback(GLFWwindow* window, int key, int scancode, int action, int modifiers);
void framebufferSizeCallback(GLFWwindow* window, int width, int height);
void cursorPositionCallback(GLFWwindow* window, double x, double y);
void scrollCallback(GLFWwindow* window, double xOffset, double yOffset);

// The key and wheel callbacks only gather their commands in the application's windowCommands;
// a pass of the main loop runs them, whatever source they came from, through the two below.
void runCommands(GLFWwindow* window, Application& application,
                 const std::vector<PassCommand>& commands);

// What a released key does (start, leave, fullscreen, brightness, refresh rate, F1 to F3). With
// no window (a headless replay) the keys that act on the window change the settings alone.
void runKeyCommand(GLFWwindow* window, Application& application, int key);

// Moves the camera closer (positive steps) or farther, as the wheel does.
void zoomCamera(Application& application, double steps);
