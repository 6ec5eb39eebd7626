#include "scene/DriverWarmUp.h"
#include "text/TextRenderer.h"

#include "support/GlTestEnvironment.h"

#include <glad/gl.h>

#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 800;
constexpr int kStep = 4;

// Whether any pixel of the bottom rows, where the glyphs are drawn, differs from pure blue.
bool glyphsVisible() {
    for (int y = 0; y < 40; y += kStep) {
        for (int x = 0; x < kWidth; x += kStep) {
            const Rgb pixel = readPixel(x, y);
            if (pixel.r != 0 || pixel.g != 0 || pixel.b != 255) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

TEST(DriverWarmUp, DrawsEveryGlyphButLeavesNothingBehind) {
    TextRenderer text;
    ASSERT_FALSE(text.characters.empty());
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // The same text without the warm-up's clear shows, so the check below can see glyphs.
    text.renderText("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0.0f, 10.0f, 1.0f, glm::vec3(1.0f));
    EXPECT_TRUE(glyphsVisible());

    warmUpTextDrawing(text);
    EXPECT_FALSE(glyphsVisible());
    EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
}
