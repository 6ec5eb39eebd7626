#pragma once

#include "game/FrameOutput.h"

// The game's drawing for the passes that become frames of a video, and none for the others: the
// passes in between only run their rules. State that outlives a pass (the clear colour, the
// raster mode, the camera the player's drawing places) is kept up by every pass, as the next
// picture relies on it.
class VideoFrameOutput : public FrameOutput {
  public:
    explicit VideoFrameOutput(FrameOutput& drawing) : drawing_(drawing) {}

    // Whether the coming pass is drawn.
    void drawNextPass(bool drawn);
    // The pass drew a whole picture (it reached the swap).
    bool pictureDrawn() const { return pictureDrawn_; }

    void clearFrame() override;
    void setClearColor(const glm::vec4& colour) override;
    void drawScreenTexts(Screen screen) override;
    void drawScene(GameContext& context) override;
    void drawRelicScene(GameContext& context) override;
    void drawStatusTexts(const GameContext& context) override;
    void drawRelicHint() override;
    // The picture stays in the offscreen framebuffer for capture; nothing is shown.
    void swapBuffers() override;
    void applyRasterState(bool wireframe, bool cullingEnabled) override;

  private:
    FrameOutput& drawing_;
    bool drawn_ = false;
    bool pictureDrawn_ = false;
};
