#pragma once

#include <vector>

struct Application;
class InputSource;
struct PassInput;
struct GameContext;
struct GLFWwindow;

// Told of every pass once it is over, with the input it took: a recording writes it down, a
// replay checks itself against it.
class PassObserver {
  public:
    virtual ~PassObserver() = default;
    virtual void passDone(const PassInput& pass, const GameContext& context) = 0;
};

// One pass of the loop: the held keys, the pass's commands in order, clear, the state's work.
// `window` is null when no window exists (a headless replay). `pass` is reused from pass to pass.
void runLoopPass(GLFWwindow* window, Application& application, InputSource& input, PassInput& pass);

// Runs passes until the window is asked to close; `observer`, when given, hears of each.
void runMainLoop(GLFWwindow* window, Application& application, InputSource& input,
                 PassObserver* observer = nullptr);
