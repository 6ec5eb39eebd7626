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
// a pass of the main loop runs them, whatever source they came from, through the rules' own
// commands, with their effects on this window and the application's sounds.
void runCommands(GLFWwindow* window, Application& application,
                 const std::vector<PassCommand>& commands);

// One released key, as runCommands runs it.
void runKeyCommand(GLFWwindow* window, Application& application, int key);
