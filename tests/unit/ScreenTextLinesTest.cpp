// Every line the text screens and the status texts draw: wording, pen position, scale, colour.
#include "text/ScreenTexts.h"

#include <gtest/gtest.h>
#include <ostream>

void PrintTo(const TextLine& line, std::ostream* out) {
    *out << '"' << line.text << "\" at (" << line.x << ", " << line.y << ") scale " << line.scale
         << " colour (" << line.color.r << ", " << line.color.g << ", " << line.color.b << ')';
}

namespace {

const glm::vec3 kBlack(0.0f, 0.0f, 0.0f);
const glm::vec3 kWhite(1.0f, 1.0f, 1.0f);
const glm::vec3 kRed(1.0f, 0.0f, 0.0f);
const glm::vec3 kGreen(0.0f, 1.0f, 0.0f);

TEST(ScreenTextLines, EachScreenHasItsLinesInDrawingOrder) {
    EXPECT_EQ(screenTextLines(Screen::Start),
              (std::vector<TextLine>{
                  {"Chronocell", 140.0f, 500.0f, 0.8f, kGreen},
                  {"Press Enter to Start the Game", 25.0f, 300.0f, 0.6f, kWhite},
                  {"Press ESC to Exit the Game", 180.0f, 150.0f, 0.4f, kWhite},
              }));
    EXPECT_EQ(screenTextLines(Screen::Won),
              (std::vector<TextLine>{
                  {"Congrats!", 230.0f, 450.0f, 0.8f, kBlack},
                  {"You won the game", 100.0f, 350.0f, 0.8f, kBlack},
                  {"Press Enter to restart the Game", 120.0f, 150.0f, 0.4f, kBlack},
                  {"Press ESC to Exit the Game", 160.0f, 100.0f, 0.4f, kBlack},
              }));
    EXPECT_EQ(screenTextLines(Screen::Lost),
              (std::vector<TextLine>{
                  {"You lost!", 230.0f, 450.0f, 0.8f, kBlack},
                  {"Press Enter to restart the Game", 120.0f, 150.0f, 0.4f, kBlack},
                  {"Press ESC to Exit the Game", 160.0f, 100.0f, 0.4f, kBlack},
              }));
}

std::vector<TextLine> statusLines(bool hudVisible, int remainingSeconds, int relicCount,
                                  int displayedFps) {
    const StatusTextLines lines =
        statusTextLines(hudVisible, remainingSeconds, relicCount, displayedFps);
    return {lines.begin(), lines.end()};
}

TEST(ScreenTextLines, StatusLinesShowTheNumbersAsTheyAreNow) {
    EXPECT_EQ(statusLines(true, 90, 0, 0), (std::vector<TextLine>{
                                               {"90", 20.0f, 560.0f, 0.8f, kRed},
                                               {"0/3", 100.0f, 560.0f, 0.8f, kGreen},
                                               {"0 FPS", 600.0f, 560.0f, 0.8f, kGreen},
                                           }));
    const std::vector<TextLine> later = statusLines(true, 7, 4, 61);
    ASSERT_EQ(later.size(), 3u);
    EXPECT_EQ(later[0].text, "7");
    EXPECT_EQ(later[1].text, "4/3");
    EXPECT_EQ(later[2].text, "61 FPS");
    EXPECT_TRUE(statusLines(false, 90, 1, 60).empty());
}

} // namespace
