#pragma once

class TextRenderer;

enum class Screen { Start, Won, Lost };

// The title, win and loss screens' texts, drawn over the screen's clear colour.
void drawScreenTexts(TextRenderer& renderer, Screen screen);

// The countdown, the relics found and the frame rate over a frame of play; nothing when the
// player has hidden them.
void drawStatusTexts(TextRenderer& renderer, bool hudVisible, int remainingSeconds, int relicCount,
                     int displayedFps);

// The flashing invitation to use the time relic.
void drawRelicHint(TextRenderer& renderer);
