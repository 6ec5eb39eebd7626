#pragma once

struct Application;
struct FrameClock;
struct GameResources;
struct GLFWwindow;
struct HeldKeys;

// What the loop starts from: a white first clear, and no frames counted towards the frame rate.
void prepareFirstPass(FrameClock& clock);

// Runs passes until the window is asked to close: held keys and pad actions, events, pad
// commands, clear, the state's work.
void runMainLoop(GLFWwindow* window, Application& application, GameResources& resources);

// One pass of the loop with the movement keys given rather than read from the window, for
// programs that drive the game themselves (the soak run).
void runLoopPass(Application& application, GameResources& resources, const HeldKeys& keys);
