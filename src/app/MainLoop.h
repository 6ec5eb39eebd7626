#pragma once

struct Application;
struct GameResources;
struct GLFWwindow;

// Runs passes until the window is asked to close: held keys, events, clear, the state's work.
void runMainLoop(GLFWwindow* window, Application& application, GameResources& resources);
