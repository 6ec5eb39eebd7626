#include "text/ScreenTexts.h"

#include "TextFrame.h"
#include "support/GlTestEnvironment.h"
#include "support/Screenshot.h"
#include "text/TextRenderer.h"

#include <glad/gl.h>

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace textframe;

namespace {

class ScreenTextsTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { renderer = std::make_unique<TextRenderer>(); }
    static void TearDownTestSuite() { renderer.reset(); }
    void SetUp() override { takeGlError(); }

    static std::unique_ptr<TextRenderer> renderer;
};

std::unique_ptr<TextRenderer> ScreenTextsTest::renderer;

std::vector<TextLine> shownLines(const StatusTextLines& lines) {
    return {lines.begin(), lines.end()};
}

} // namespace

// The wording and placement of every line are checked against the table in the unit tests; here
// the draw functions must render exactly those lines, and nothing when the status is hidden.
TEST_F(ScreenTextsTest, ScreensAndStatusTextsDrawExactlyTheirLines) {
    struct Case {
        const char* shot;
        std::function<void()> draw;
        std::vector<TextLine> lines;
    };
    const Case cases[] = {
        {"start_screen", [] { drawScreenTexts(*renderer, Screen::Start); },
         screenTextLines(Screen::Start)},
        {"won_screen", [] { drawScreenTexts(*renderer, Screen::Won); },
         screenTextLines(Screen::Won)},
        {"lost_screen", [] { drawScreenTexts(*renderer, Screen::Lost); },
         screenTextLines(Screen::Lost)},
        {"status_texts", [] { drawStatusTexts(*renderer, true, 90, 1, 60); },
         shownLines(statusTextLines(true, 90, 1, 60))},
        {"status_hidden", [] { drawStatusTexts(*renderer, false, 90, 1, 60); }, {}},
    };
    for (const Case& c : cases) {
        clearTo(0.2f, 0.2f, 0.2f);
        c.draw();
        EXPECT_FALSE(saveScreenshot(c.shot).empty());
        const Frame drawn;
        clearTo(0.2f, 0.2f, 0.2f);
        for (const TextLine& line : c.lines) {
            renderer->renderText(line.text, line.x, line.y, line.scale, line.color);
        }
        EXPECT_TRUE(drawn == Frame()) << c.shot;
        EXPECT_EQ(drawn.countAll(differsFrom(51, 51, 51)) > 0, !c.lines.empty()) << c.shot;
    }
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
