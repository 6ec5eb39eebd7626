#pragma once

#include <array>
#include <cstddef>
#include <glm/glm.hpp>
#include <string>
#include <vector>

class TextRenderer;

enum class Screen { Start, Won, Lost };

// One line of text as renderText draws it: baseline start, scale and colour.
struct TextLine {
    std::string text;
    float x = 0.0f;
    float y = 0.0f;
    float scale = 1.0f;
    glm::vec3 color{0.0f};

    bool operator==(const TextLine&) const = default;
};

// The lines of the title, win or loss screen, in drawing order.
std::vector<TextLine> screenTextLines(Screen screen);

// The status lines of one frame. They are built every frame of play, so they are held in place
// rather than on the heap.
struct StatusTextLines {
    static constexpr std::size_t kMostLines = 3;

    std::array<TextLine, kMostLines> lines{};
    std::size_t count = 0;

    const TextLine* begin() const { return lines.data(); }
    const TextLine* end() const { return lines.data() + count; }
};

// The countdown, the relics found and the frame rate, or no line when the player has hidden them.
StatusTextLines statusTextLines(bool hudVisible, int remainingSeconds, int relicCount,
                                int displayedFps);

// The title, win and loss screens' texts, drawn over the screen's clear colour.
void drawScreenTexts(TextRenderer& renderer, Screen screen);

// The status texts over a frame of play.
void drawStatusTexts(TextRenderer& renderer, bool hudVisible, int remainingSeconds, int relicCount,
                     int displayedFps);

// The flashing invitation to use the time relic.
void drawRelicHint(TextRenderer& renderer);
