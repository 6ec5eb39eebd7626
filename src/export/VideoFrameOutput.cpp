#include "export/VideoFrameOutput.h"

#include "game/GameContext.h"

void VideoFrameOutput::drawNextPass(bool drawn) {
    drawn_ = drawn;
    pictureDrawn_ = false;
}

void VideoFrameOutput::clearFrame() {
    if (drawn_) {
        drawing_.clearFrame();
    }
}

void VideoFrameOutput::setClearColor(const glm::vec4& colour) {
    drawing_.setClearColor(colour);
}

void VideoFrameOutput::drawScreenTexts(Screen screen) {
    if (drawn_) {
        drawing_.drawScreenTexts(screen);
    }
}

// Drawing the player places the camera, which the ground and props of the next picture are drawn
// with in ordinary play: an undrawn pass still places it, so the next drawn picture sees the
// camera a window replay's would.
void VideoFrameOutput::drawScene(GameContext& context) {
    if (drawn_) {
        drawing_.drawScene(context);
    } else {
        context.player.placeCamera(context.relic.relicMode);
    }
}

void VideoFrameOutput::drawRelicScene(GameContext& context) {
    if (drawn_) {
        drawing_.drawRelicScene(context);
    } else {
        context.player.placeCamera(context.relic.relicMode);
    }
}

void VideoFrameOutput::drawStatusTexts(const GameContext& context) {
    if (drawn_) {
        drawing_.drawStatusTexts(context);
    }
}

void VideoFrameOutput::drawRelicHint() {
    if (drawn_) {
        drawing_.drawRelicHint();
    }
}

void VideoFrameOutput::swapBuffers() {
    pictureDrawn_ = drawn_;
}

void VideoFrameOutput::applyRasterState(bool wireframe, bool cullingEnabled) {
    drawing_.applyRasterState(wireframe, cullingEnabled);
}
