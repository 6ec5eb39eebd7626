#pragma once

#include "game/FrameOutput.h"

// Draws nothing: the rules of a frame run alone, so their CPU time can be measured apart from
// the GL work.
class NullFrameOutput : public FrameOutput {
  public:
    void drawScene(GameContext& /*context*/) override {}
    void drawRelicScene(GameContext& /*context*/) override {}
    void drawStatusTexts(const GameContext& /*context*/) override {}
    void drawRelicHint() override {}
    void swapBuffers() override {}
    void applyRasterState(bool /*wireframe*/, bool /*cullingEnabled*/) override {}
};
