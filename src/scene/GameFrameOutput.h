#pragma once

#include "game/FrameOutput.h"

struct GameResources;
struct GLFWwindow;

// The game's real frame output: draws the resources with OpenGL and swaps the window's buffers;
// without a window (drawing offscreen) it swaps nothing.
class GameFrameOutput : public FrameOutput {
  public:
    GameFrameOutput(GLFWwindow* window, GameResources& resources);

    void clearFrame() override;
    void setClearColor(const glm::vec4& colour) override;
    void drawScreenTexts(Screen screen) override;
    void drawScene(GameContext& context) override;
    void drawRelicScene(GameContext& context) override;
    void drawStatusTexts(const GameContext& context) override;
    void drawRelicHint() override;
    void swapBuffers() override;
    void applyRasterState(bool wireframe, bool cullingEnabled) override;

  private:
    GLFWwindow* window_;
    GameResources& resources_;
};
