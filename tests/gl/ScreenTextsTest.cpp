#include "text/ScreenTexts.h"

#include "TextFrame.h"
#include "support/GlTestEnvironment.h"
#include "support/Screenshot.h"
#include "text/TextRenderer.h"

#include <glad/gl.h>

#include <gtest/gtest.h>
#include <memory>

using namespace textframe;

namespace {

bool isGreenText(const Rgb& p) {
    return p.r == 0 && p.g > 128 && p.b == 0;
}
bool isWhiteText(const Rgb& p) {
    return p.r > 200 && p.r == p.g && p.g == p.b;
}
bool isRedText(const Rgb& p) {
    return p.r > 128 && p.g == 0 && p.b == 0;
}
bool isBlack(const Rgb& p) {
    return p.r == 0 && p.g == 0 && p.b == 0;
}

class ScreenTextsTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { renderer = std::make_unique<TextRenderer>(); }
    static void TearDownTestSuite() { renderer.reset(); }
    void SetUp() override { takeGlError(); }

    // The main loop's work on a text screen: its clear colour, then its texts.
    static Frame showScreen(Screen screen, float r, float g, float b, const char* shot) {
        clearTo(r, g, b);
        drawScreenTexts(*renderer, screen);
        EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
        EXPECT_FALSE(saveScreenshot(shot).empty());
        return Frame();
    }

    static std::unique_ptr<TextRenderer> renderer;
};

std::unique_ptr<TextRenderer> ScreenTextsTest::renderer;

} // namespace

TEST_F(ScreenTextsTest, StartScreenShowsGreenTitleOverWhitePrompts) {
    const Frame frame = showScreen(Screen::Start, 0.0f, 0.0f, 0.0f, "start_screen");

    // Title near the top, starting at its pen position; nothing green anywhere else.
    const Box title = frame.box(isGreenText);
    ASSERT_FALSE(title.empty());
    EXPECT_GE(title.left, 140);
    EXPECT_GE(title.bottom, 480);
    EXPECT_LE(title.top, 560);
    EXPECT_GT(title.right - title.left, 200);

    // The larger prompt across the middle, the smaller one lower down.
    EXPECT_GT(frame.count(25, 280, 800, 340, isWhiteText), 500);
    EXPECT_GT(frame.count(180, 135, 800, 180, isWhiteText), 200);
    EXPECT_EQ(frame.count(0, 180, 800, 280, isWhiteText), 0);
    EXPECT_EQ(frame.count(0, 0, 800, 130, isWhiteText), 0);
    EXPECT_EQ(frame.count(0, 0, 25, 600, isWhiteText), 0);
    // Only black, greys of the white texts and greens of the title.
    EXPECT_EQ(frame.countAll([](const Rgb& p) {
        return !(p.r == p.g && p.g == p.b) && !(p.r == 0 && p.b == 0);
    }),
              0);
}

TEST_F(ScreenTextsTest, WonScreenShowsBlackTextOnGreen) {
    const Frame frame = showScreen(Screen::Won, 0.0f, 1.0f, 0.0f, "won_screen");

    EXPECT_TRUE(exactly(0, 255, 0)(frame.at(5, 5)));
    EXPECT_TRUE(exactly(0, 255, 0)(frame.at(795, 595)));
    EXPECT_GT(frame.count(230, 440, 800, 490, isBlack), 300); // "Congrats!"
    EXPECT_GT(frame.count(100, 340, 800, 390, isBlack), 300); // "You won the game"
    EXPECT_GT(frame.count(120, 140, 800, 170, isBlack), 100); // restart prompt
    EXPECT_GT(frame.count(160, 90, 800, 120, isBlack), 100);  // exit prompt
    EXPECT_EQ(frame.count(0, 400, 800, 435, isBlack), 0);     // gaps between the lines
    EXPECT_EQ(frame.count(0, 180, 800, 330, isBlack), 0);
    EXPECT_EQ(frame.countAll([](const Rgb& p) { return p.r != 0 || p.b != 0; }), 0);
}

TEST_F(ScreenTextsTest, LostScreenShowsBlackTextOnRedWithoutTheWinLine) {
    const Frame frame = showScreen(Screen::Lost, 1.0f, 0.0f, 0.0f, "lost_screen");

    EXPECT_TRUE(exactly(255, 0, 0)(frame.at(5, 5)));
    EXPECT_GT(frame.count(230, 440, 800, 490, isBlack), 300); // "You lost!"
    EXPECT_EQ(frame.count(0, 330, 800, 400, isBlack), 0);     // no "You won the game"
    EXPECT_GT(frame.count(120, 140, 800, 170, isBlack), 100);
    EXPECT_GT(frame.count(160, 90, 800, 120, isBlack), 100);
    EXPECT_EQ(frame.countAll([](const Rgb& p) { return p.g != 0 || p.b != 0; }), 0);
}

TEST_F(ScreenTextsTest, StatusTextsOnlyWhenTheHudIsVisible) {
    const float grey = 0.2f;
    const int greyByte = 51;
    clearTo(grey, grey, grey);
    drawStatusTexts(*renderer, false, 90, 0, 0);
    EXPECT_EQ(Frame().countAll(differsFrom(greyByte, greyByte, greyByte)), 0);

    clearTo(0.0f, 0.0f, 0.0f);
    drawStatusTexts(*renderer, true, 90, 1, 60);
    EXPECT_FALSE(saveScreenshot("status_texts").empty());
    const Frame frame;
    const Box countdown = frame.box(isRedText);
    ASSERT_FALSE(countdown.empty());
    EXPECT_GE(countdown.left, 20);
    EXPECT_LT(countdown.right, 100);
    EXPECT_GE(countdown.bottom, 550);
    EXPECT_GT(frame.count(100, 550, 250, 600, isGreenText), 100); // "1/3"
    EXPECT_GT(frame.count(600, 550, 800, 600, isGreenText), 200); // "60 FPS"
    EXPECT_EQ(frame.count(0, 0, 800, 545, differsFrom(0, 0, 0)), 0);
    EXPECT_EQ(frame.count(250, 0, 600, 600, differsFrom(0, 0, 0)), 0);

    // The number is formatted afresh: one digit is narrower than two.
    clearTo(0.0f, 0.0f, 0.0f);
    drawStatusTexts(*renderer, true, 7, 1, 60);
    const Box oneDigit = Frame().box(isRedText);
    ASSERT_FALSE(oneDigit.empty());
    EXPECT_LT(oneDigit.right - oneDigit.left, countdown.right - countdown.left - 10);
    EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
}

TEST_F(ScreenTextsTest, RelicHintIsRedAcrossTheUpperMiddle) {
    clearTo(0.0f, 0.0f, 0.0f);
    drawRelicHint(*renderer);
    EXPECT_FALSE(saveScreenshot("relic_hint").empty());
    const Frame frame;
    const Box hint = frame.box(differsFrom(0, 0, 0));
    ASSERT_FALSE(hint.empty());
    EXPECT_GE(hint.left, 200);
    EXPECT_GE(hint.bottom, 390);
    EXPECT_LE(hint.top, 440);
    EXPECT_GT(hint.right - hint.left, 250);
    EXPECT_EQ(frame.countAll([](const Rgb& p) { return p.g != 0 || p.b != 0; }), 0);
}
