#pragma once

#include "game/FrameOutput.h"

struct GLFWwindow;

// The game's real frame output: draws with OpenGL into the window and swaps its buffers.
class GameFrameOutput : public FrameOutput {
  public:
    explicit GameFrameOutput(GLFWwindow* window);

    void drawScene(GameContext& context) override;
    void drawRelicScene(GameContext& context) override;
    void drawStatusTexts(const GameContext& context) override;
    void drawRelicHint() override;
    void swapBuffers() override;
    void applyRasterState(bool wireframe, bool cullingEnabled) override;

  private:
    GLFWwindow* window_;
};
