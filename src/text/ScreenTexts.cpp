#include "text/ScreenTexts.h"

#include "text/TextRenderer.h"

#include <array>
#include <sstream>

namespace {

struct ScreenText {
    Screen screen;
    const char* text;
    float x;
    float y;
    float scale;
    glm::vec3 color;
};

constexpr glm::vec3 kBlack(0.0f, 0.0f, 0.0f);
constexpr glm::vec3 kWhite(1.0f, 1.0f, 1.0f);
constexpr glm::vec3 kRed(1.0f, 0.0f, 0.0f);
constexpr glm::vec3 kGreen(0.0f, 1.0f, 0.0f);

// Every line of the three text screens, in drawing order within each screen. The start
// screen keeps the game's own name even when the window title is configured.
constexpr std::array kScreenTexts{
    ScreenText{Screen::Start, "Chronocell", 140.0f, 500.0f, 0.8f, kGreen},
    ScreenText{Screen::Start, "Press Enter to Start the Game", 25.0f, 300.0f, 0.6f, kWhite},
    ScreenText{Screen::Start, "Press ESC to Exit the Game", 180.0f, 150.0f, 0.4f, kWhite},
    ScreenText{Screen::Won, "Congrats!", 230.0f, 450.0f, 0.8f, kBlack},
    ScreenText{Screen::Won, "You won the game", 100.0f, 350.0f, 0.8f, kBlack},
    ScreenText{Screen::Won, "Press Enter to restart the Game", 120.0f, 150.0f, 0.4f, kBlack},
    ScreenText{Screen::Won, "Press ESC to Exit the Game", 160.0f, 100.0f, 0.4f, kBlack},
    ScreenText{Screen::Lost, "You lost!", 230.0f, 450.0f, 0.8f, kBlack},
    ScreenText{Screen::Lost, "Press Enter to restart the Game", 120.0f, 150.0f, 0.4f, kBlack},
    ScreenText{Screen::Lost, "Press ESC to Exit the Game", 160.0f, 100.0f, 0.4f, kBlack},
};

constexpr const char* kRelicHintText = "TIMERELIC - Press T";
constexpr float kRelicHintX = 200.0f;
constexpr float kRelicHintY = 400.0f;
constexpr float kRelicHintScale = 0.6f;

// Status texts: the number each shows is filled in at draw time.
constexpr float kStatusY = 560.0f;
constexpr float kStatusScale = 0.8f;
constexpr float kCountdownX = 20.0f;
constexpr float kRelicsX = 100.0f;
constexpr float kFpsX = 600.0f;
constexpr int kRelicsToWin = 3;

// Formatted the way an output stream writes an int, fresh for every frame.
std::string formatInt(int value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

// Renders the lines one after the other, each over what the previous ones drew.
template <typename Lines> void drawLines(TextRenderer& renderer, const Lines& lines) {
    for (const TextLine& line : lines) {
        renderer.renderText(line.text, line.x, line.y, line.scale, line.color);
    }
}

} // namespace

std::vector<TextLine> screenTextLines(Screen screen) {
    std::vector<TextLine> lines;
    for (const ScreenText& line : kScreenTexts) {
        if (line.screen == screen) {
            lines.push_back({line.text, line.x, line.y, line.scale, line.color});
        }
    }
    return lines;
}

StatusTextLines statusTextLines(bool hudVisible, int remainingSeconds, int relicCount,
                                int displayedFps) {
    if (!hudVisible) {
        return {};
    }
    return {{{
                {formatInt(remainingSeconds), kCountdownX, kStatusY, kStatusScale, kRed},
                {formatInt(relicCount) + "/" + formatInt(kRelicsToWin), kRelicsX, kStatusY,
                 kStatusScale, kGreen},
                {formatInt(displayedFps) + " FPS", kFpsX, kStatusY, kStatusScale, kGreen},
            }},
            StatusTextLines::kMostLines};
}

void drawScreenTexts(TextRenderer& renderer, Screen screen) {
    drawLines(renderer, screenTextLines(screen));
}

void drawStatusTexts(TextRenderer& renderer, bool hudVisible, int remainingSeconds, int relicCount,
                     int displayedFps) {
    drawLines(renderer, statusTextLines(hudVisible, remainingSeconds, relicCount, displayedFps));
}

void drawRelicHint(TextRenderer& renderer) {
    renderer.renderText(kRelicHintText, kRelicHintX, kRelicHintY, kRelicHintScale, kRed);
}
