#pragma once

#include <glm/glm.hpp>

struct GameContext;
enum class Screen;

// Everything a pass of the main loop shows goes through here: the application draws with
// OpenGL, a headless replay and tests record what would have been drawn and in which order.
class FrameOutput {
  public:
    virtual ~FrameOutput() = default;
    // The start of every pass: colour and depth cleared.
    virtual void clearFrame() = 0;
    // The colour the next clear fills the picture with.
    virtual void setClearColor(const glm::vec4& colour) = 0;
    // The title, win or loss screen's texts.
    virtual void drawScreenTexts(Screen screen) = 0;
    // The world in ordinary play: ground, trees, stones and clock, the player, particles.
    virtual void drawScene(GameContext& context) = 0;
    // The world in relic mode: the player first, so everything else sees this frame's camera.
    virtual void drawRelicScene(GameContext& context) = 0;
    virtual void drawStatusTexts(const GameContext& context) = 0;
    virtual void drawRelicHint() = 0;
    virtual void swapBuffers() = 0;
    // Makes the rasteriser match the wireframe and culling flags.
    virtual void applyRasterState(bool wireframe, bool cullingEnabled) = 0;
};
