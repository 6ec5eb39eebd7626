#pragma once

struct GameContext;

// Everything a frame of play shows goes through here: the application draws with OpenGL, tests
// record what would have been drawn and in which order.
class FrameOutput {
  public:
    virtual ~FrameOutput() = default;
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
