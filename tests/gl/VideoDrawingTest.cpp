// A video's pictures against the game's own drawing of the same passes: the drawing run skips
// the passes between frames, but what it shows of a pass must be what a replay drawing every pass
// shows of it.
#include "export/VideoDrawing.h"
#include "export/VideoPlanning.h"
#include "game/CommandEffects.h"
#include "game/GameContext.h"
#include "game/StatePass.h"
#include "model/Model.h"
#include "replay/ReplaySession.h"
#include "scene/GameFrameOutput.h"
#include "scene/GameResources.h"
#include "support/GlTestEnvironment.h"
#include "video/TimelineAnimationClock.h"

#include <glad/gl.h>

#include <GLFW/glfw3.h>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <vector>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
const std::string kLost = std::string(CHRONOCELL_SOURCE_DIR) + "/tests/replays/lost.ccr";
using Picture = std::vector<std::uint8_t>;

Picture readPicture(GLenum buffer) {
    Picture pixels(static_cast<std::size_t>(kWidth) * kHeight * 4);
    glReadBuffer(buffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// The game's drawing into the window's back buffer, left there to be read.
class UnswappedOutput : public GameFrameOutput {
  public:
    using GameFrameOutput::GameFrameOutput;
    void swapBuffers() override {}
};

// Every pass replayed and drawn, as the window replay draws them; the pictures of `wanted`.
std::map<std::uint64_t, Picture> drawnEveryPass(const std::vector<std::uint64_t>& wanted) {
    RecordingHeader header;
    std::ostringstream errors;
    std::optional<RecordingReader> reader = openRecording(kLost, header, errors);
    EXPECT_TRUE(reader) << errors.str();
    auto context = std::make_unique<GameContext>();
    applyRecordedSettings(header, context->settings);
    std::unique_ptr<GameResources> resources = createGameResources(*context);
    std::ostringstream summaries;
    ReplaySession session(std::move(*reader), header.gameVersion, summaries, errors);
    session.clock().paceOnTimeline();
    TimelineAnimationClock animation(session.clock());
    resources->characterModel->animationClock = &animation;
    UnswappedOutput output(glTestWindow(), *resources);
    CommandEffects noWindow;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, kWidth, kHeight);
    prepareFirstPass(*context, output);
    std::map<std::uint64_t, Picture> pictures;
    while (pictures.size() < wanted.size() &&
           session.playPass(*context, output, noWindow) == ReplaySession::Step::Played) {
        if (std::find(wanted.begin(), wanted.end(), session.passNumber()) != wanted.end()) {
            pictures[session.passNumber()] = readPicture(GL_BACK);
        }
    }
    resources->characterModel->animationClock = nullptr;
    context->unlinkResources();
    return pictures;
}

// Offscreen and in the window, llvmpipe rounds a colour to 8 bits a few steps apart now and then
// (up to 7 seen); a picture of another moment differs by far more wherever anything moved.
constexpr int kRoundingSteps = 8;

// How many pixels differ by more than rounding in any channel.
int differingPixels(const Picture& a, const Picture& b) {
    int differing = 0;
    for (std::size_t i = 0; i + 3 < a.size(); i += 4) {
        for (std::size_t c = 0; c < 3; ++c) {
            if (std::abs(int(a[i + c]) - int(b[i + c])) > kRoundingSteps) {
                ++differing;
                break;
            }
        }
    }
    return differing;
}

} // namespace

// Catches a drawing run that shows the wrong pass for a frame (one early or late), leaves a
// pass's clear colour or raster state behind with the undrawn passes, or poses the character by
// the wall clock.
TEST(VideoDrawing, EachFrameIsThePictureOfItsPassAsAReplayDrawsIt) {
    // At half the recording's rate, so that every other pass runs undrawn.
    PlannedVideo video(30);
    std::ostringstream errors;
    ASSERT_EQ(planVideo(kLost, Settings{}, video, errors), ExportOutcome::Done) << errors.str();
    // The start screen, a frame of play, and one shortly before the end.
    const std::vector<std::size_t> shownAt = {0, 30, video.frames.shown().size() - 10};
    std::vector<std::uint64_t> passes;
    for (std::size_t index : shownAt) {
        passes.push_back(video.frames.shown()[index].pass);
    }

    std::map<std::uint64_t, Picture> captured;
    {
        FrameCapture capture(kWidth, kHeight);
        ASSERT_TRUE(capture.valid());
        std::size_t delivered = 0;
        const FrameCapture::Deliver keep = [&](const std::uint8_t* rgba, std::uint64_t) {
            const std::uint64_t pass = video.frames.shown()[delivered++].pass;
            if (std::find(passes.begin(), passes.end(), pass) != passes.end()) {
                captured[pass].assign(rgba, rgba + static_cast<std::size_t>(kWidth) * kHeight * 4);
            }
            return captured.size() < passes.size();
        };
        drawVideo(
            kLost, Settings{}, video.frames, capture, keep, [](std::uint64_t) {}, errors);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    ASSERT_EQ(captured.size(), passes.size()) << errors.str();

    const std::map<std::uint64_t, Picture> drawn = drawnEveryPass(passes);
    ASSERT_EQ(drawn.size(), passes.size());
    for (std::uint64_t pass : passes) {
        EXPECT_LE(differingPixels(captured[pass], drawn.at(pass)), kWidth * kHeight / 10000)
            << "pass " << pass;
    }
    EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
}
