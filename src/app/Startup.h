#pragma once

struct GLFWwindow;
struct Settings;

// Initialises GLFW and opens the game window with an OpenGL 4.3 core context made current.
// A size larger than the primary monitor is first brought down to the monitor's size.
// Reports "Failes to create GLFW window", terminates GLFW and returns null on failure.
GLFWwindow* createGameWindow(Settings& settings);

// Brings a window size down to fit a screen of the given size; a side that fits is kept.
void fitWindowToScreen(Settings& settings, int screenWidth, int screenHeight);

// Loads the OpenGL functions; reports "Failes to initialize GLAD" and returns false on failure.
bool loadOpenGlFunctions();

// The fixed start-up state of the game's window: its viewport and callbacks, and the drawing
// state below.
void configureOpenGl(GLFWwindow* window, const Settings& settings);

// The fixed drawing state of any context, with or without a window: flipped image decoding,
// depth test, back-face culling and the debug-output callback.
void configureDrawingState();
