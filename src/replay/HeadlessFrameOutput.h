#pragma once

#include "game/FrameOutput.h"

// Draws nothing and only counts the pictures that would have been shown: the rules run alone,
// for a replay without a window and for measuring the rules' own cost.
class HeadlessFrameOutput : public FrameOutput {
  public:
    void clearFrame() override {}
    void setClearColor(const glm::vec4& /*colour*/) override {}
    void drawScreenTexts(Screen /*screen*/) override {}
    void drawScene(GameContext& /*context*/) override {}
    void drawRelicScene(GameContext& /*context*/) override {}
    void drawStatusTexts(const GameContext& /*context*/) override {}
    void drawRelicHint() override {}
    void swapBuffers() override { ++pictures_; }
    void applyRasterState(bool /*wireframe*/, bool /*cullingEnabled*/) override {}

    long pictures() const { return pictures_; }

  private:
    long pictures_ = 0;
};
