// The offscreen picture a video is drawn into: each picture reaches the encoder whole, in order,
// one picture late, bottom row first, with the number of frames that show it.
#include "video/FrameCapture.h"

#include "support/GlTestEnvironment.h"

#include <glad/gl.h>

#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int kWidth = 6;
constexpr int kHeight = 4;

struct Colour {
    std::uint8_t r, g, b;
};

// Clears the picture to `bottom`, then its top row to `top`.
void draw(const Colour& bottom, const Colour& top) {
    glDisable(GL_SCISSOR_TEST);
    glClearColor(bottom.r / 255.0f, bottom.g / 255.0f, bottom.b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, kHeight - 1, kWidth, 1);
    glClearColor(top.r / 255.0f, top.g / 255.0f, top.b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
}

// What reached the encoder: per picture, its first and last row's first pixel and its frames.
struct Delivered {
    std::uint8_t firstRowRed;
    std::uint8_t lastRowRed;
    std::uint64_t frames;
};

} // namespace

TEST(FrameCapture, DeliversEachPictureOnePictureLateBottomRowFirst) {
    GLFWwindow* window = glTestWindow();
    ASSERT_NE(window, nullptr);
    std::vector<Delivered> delivered;
    const FrameCapture::Deliver deliver = [&](const std::uint8_t* rgba, std::uint64_t frames) {
        const std::size_t lastRow = static_cast<std::size_t>(kHeight - 1) * kWidth * 4;
        delivered.push_back({rgba[0], rgba[lastRow], frames});
        return true;
    };
    {
        FrameCapture capture(kWidth, kHeight);
        ASSERT_TRUE(capture.valid());
        capture.bind();
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], kWidth);
        EXPECT_EQ(viewport[3], kHeight);

        draw({10, 0, 0}, {20, 0, 0});
        EXPECT_TRUE(capture.capture(1, deliver));
        EXPECT_TRUE(delivered.empty()) << "the first picture is still being read";
        draw({30, 0, 0}, {40, 0, 0});
        EXPECT_TRUE(capture.capture(3, deliver));
        draw({50, 0, 0}, {60, 0, 0});
        EXPECT_TRUE(capture.capture(2, deliver));
        EXPECT_TRUE(capture.flush(deliver));
        EXPECT_TRUE(capture.flush(deliver)) << "nothing is left to deliver twice";
        const FrameCapture::Deliver failing = [](const std::uint8_t*, std::uint64_t) {
            return false;
        };
        EXPECT_TRUE(capture.capture(1, failing));
        EXPECT_FALSE(capture.capture(1, failing)) << "an encoder that fails stops the export";
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, 800, 600);

    ASSERT_EQ(delivered.size(), 3u);
    const std::uint8_t expected[][2] = {{10, 20}, {30, 40}, {50, 60}};
    const std::uint64_t frames[] = {1, 3, 2};
    for (std::size_t i = 0; i < delivered.size(); ++i) {
        EXPECT_EQ(delivered[i].firstRowRed, expected[i][0]) << i;
        EXPECT_EQ(delivered[i].lastRowRed, expected[i][1]) << i;
        EXPECT_EQ(delivered[i].frames, frames[i]) << i;
    }
    EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
}
