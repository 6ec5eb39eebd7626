#pragma once

#include "render/Shader.h"
#include "text/Character.h"

#include <glm/glm.hpp>
#include <map>
#include <string>

// Draws strings in a fixed 800 x 600 space with the origin at the bottom-left, whatever the
// window size, one textured quad per byte. The first 128 codes of the game's font are
// rasterised once at construction; a failed font leaves the table empty and draws nothing.
class TextRenderer {
  public:
    std::map<char, Character> characters;
    unsigned int vao = 0;
    unsigned int vbo = 0;
    Shader shader;

    TextRenderer();
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // Draws text with its baseline starting at (x, y) over whatever is in the framebuffer.
    void renderText(std::string text, float x, float y, float scale, const glm::vec3& color);

  private:
    void loadGlyphs();
    void createQuadBuffer();
    void drawGlyph(const Character& glyph, float x, float y, float scale);
};
