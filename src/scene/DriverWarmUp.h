#pragma once

class TextRenderer;

// Draws every glyph of the font once into the back buffer and clears it again before anything
// is shown. A software GL driver builds the code for sampling a texture of a new shape the first
// time one is drawn; without this, the first relic hint, whose letters are the first of their
// kind on screen, stalls the frame it appears in.
void warmUpTextDrawing(TextRenderer& text);
