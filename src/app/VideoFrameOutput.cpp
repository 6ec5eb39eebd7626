#include "app/VideoFrameOutput.h"

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

void VideoFrameOutput::drawScene(GameContext& context) {
    if (drawn_) {
        drawing_.drawScene(context);
    }
}

void VideoFrameOutput::drawRelicScene(GameContext& context) {
    if (drawn_) {
        drawing_.drawRelicScene(context);
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
