#include "scene/DriverWarmUp.h"

#include "text/TextRenderer.h"

#include <glad/gl.h>

#include <string>

namespace {
constexpr char kFirstPrintable = ' ';
constexpr char kLastPrintable = '~';
const glm::vec3 kAnyColor{1.0f, 1.0f, 1.0f};
} // namespace

void warmUpTextDrawing(TextRenderer& text) {
    std::string everyGlyph;
    for (char code = kFirstPrintable; code <= kLastPrintable; ++code) {
        everyGlyph += code;
    }
    text.renderText(everyGlyph, 0.0f, 0.0f, 1.0f, kAnyColor);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
