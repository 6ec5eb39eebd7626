#pragma once

// Whole-frame read-back for the text tests: one glReadPixels per frame instead of one per
// pixel, with counting and bounding-box helpers over pixels that match a colour test.

#include "support/GlTestEnvironment.h"

#include <glad/gl.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace textframe {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

using PixelTest = std::function<bool(const Rgb&)>;

struct Box {
    int left = kWidth;
    int bottom = kHeight;
    int right = -1;
    int top = -1;
    bool empty() const { return right < left; }
};

class Frame {
  public:
    Frame() : rgb(static_cast<size_t>(kWidth) * kHeight * 3) {
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    }

    Rgb at(int x, int y) const {
        const size_t i = (static_cast<size_t>(y) * kWidth + x) * 3;
        return Rgb{rgb[i], rgb[i + 1], rgb[i + 2]};
    }

    // Pixels in [x0, x1) x [y0, y1) (y from the bottom) that pass the test.
    int count(int x0, int y0, int x1, int y1, const PixelTest& test) const {
        int matches = 0;
        for (int y = std::max(y0, 0); y < std::min(y1, kHeight); ++y) {
            for (int x = std::max(x0, 0); x < std::min(x1, kWidth); ++x) {
                matches += test(at(x, y)) ? 1 : 0;
            }
        }
        return matches;
    }

    int countAll(const PixelTest& test) const { return count(0, 0, kWidth, kHeight, test); }

    Box box(const PixelTest& test) const {
        Box found;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (test(at(x, y))) {
                    found.left = std::min(found.left, x);
                    found.right = std::max(found.right, x);
                    found.bottom = std::min(found.bottom, y);
                    found.top = std::max(found.top, y);
                }
            }
        }
        return found;
    }

    bool operator==(const Frame& other) const { return rgb == other.rgb; }

  private:
    std::vector<unsigned char> rgb;
};

inline PixelTest exactly(int r, int g, int b) {
    return [=](const Rgb& p) { return p.r == r && p.g == g && p.b == b; };
}

inline PixelTest differsFrom(int r, int g, int b) {
    return [=](const Rgb& p) { return p.r != r || p.g != g || p.b != b; };
}

inline void clearTo(float r, float g, float b) {
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

} // namespace textframe
