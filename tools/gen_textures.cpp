// Writes the ground textures: grasTexture.jpg (grass blades over soil) and pathTex.jpg (packed
// earth with gravel). Everything comes from a fixed-seed generator, so two runs give
// byte-identical files, and every feature wraps around the image edges so the textures tile
// without seams.
//
// Usage: gen_textures OUTPUT_DIR
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 256;
constexpr int kJpegQuality = 92;
constexpr float kPi = 3.14159265f;

// SplitMix64: small, fast and the same on every platform, unlike rand().
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    float unit() { return static_cast<float>(next() >> 40) / static_cast<float>(1ull << 24); }
    float range(float low, float high) { return low + (high - low) * unit(); }

  private:
    std::uint64_t state_;
};

struct Color {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

Color mix(const Color& a, const Color& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Color scale(const Color& c, float s) {
    return {c.r * s, c.g * s, c.b * s};
}

int wrap(int value, int period) {
    return ((value % period) + period) % period;
}

// A square image whose pixel addressing wraps, so anything painted across an edge continues
// on the opposite side.
class Canvas {
  public:
    Canvas() : pixels_(static_cast<std::size_t>(kSize) * kSize) {}

    Color& at(int x, int y) { return pixels_[index(x, y)]; }

    // Blends `color` over the pixel with the given coverage.
    void blend(int x, int y, const Color& color, float coverage) {
        Color& pixel = at(x, y);
        pixel = mix(pixel, color, std::clamp(coverage, 0.0f, 1.0f));
    }

    std::vector<unsigned char> toBytes() const {
        std::vector<unsigned char> bytes;
        bytes.reserve(pixels_.size() * 3);
        for (const Color& c : pixels_) {
            for (float channel : {c.r, c.g, c.b}) {
                bytes.push_back(static_cast<unsigned char>(
                    std::lround(std::clamp(channel, 0.0f, 1.0f) * 255.0f)));
            }
        }
        return bytes;
    }

  private:
    static std::size_t index(int x, int y) {
        return static_cast<std::size_t>(wrap(y, kSize)) * kSize + wrap(x, kSize);
    }
    std::vector<Color> pixels_;
};

// Value noise on a lattice of cellsX x cellsY points that wraps around, so the noise is
// periodic over the image and tiles seamlessly.
class TileNoise {
  public:
    TileNoise(int cellsX, int cellsY, Random& random)
        : cellsX_(cellsX), cellsY_(cellsY), values_(static_cast<std::size_t>(cellsX * cellsY)) {
        for (float& v : values_) {
            v = random.unit();
        }
    }

    // Smoothly interpolated value in [0, 1] at pixel (x, y).
    float at(float x, float y) const {
        const float fx = x * static_cast<float>(cellsX_) / kSize;
        const float fy = y * static_cast<float>(cellsY_) / kSize;
        const int x0 = static_cast<int>(std::floor(fx));
        const int y0 = static_cast<int>(std::floor(fy));
        const float tx = smooth(fx - static_cast<float>(x0));
        const float ty = smooth(fy - static_cast<float>(y0));
        const float top = lerp(lattice(x0, y0), lattice(x0 + 1, y0), tx);
        const float bottom = lerp(lattice(x0, y0 + 1), lattice(x0 + 1, y0 + 1), tx);
        return lerp(top, bottom, ty);
    }

  private:
    static float smooth(float t) { return t * t * (3.0f - 2.0f * t); }
    static float lerp(float a, float b, float t) { return a + (b - a) * t; }
    float lattice(int x, int y) const {
        return values_[static_cast<std::size_t>(wrap(y, cellsY_) * cellsX_ + wrap(x, cellsX_))];
    }

    int cellsX_;
    int cellsY_;
    std::vector<float> values_;
};

// Several octaves of tiling noise, each twice as fine and half as strong. `stretch` multiplies
// the cells across, so a texture that is widened on the ground gets round features.
class Fractal {
  public:
    Fractal(int baseCells, int octaves, int stretch, Random& random) {
        for (int o = 0; o < octaves; ++o) {
            layers_.emplace_back((baseCells << o) * stretch, baseCells << o, random);
        }
    }

    float at(float x, float y) const {
        float sum = 0.0f;
        float weight = 1.0f;
        float total = 0.0f;
        for (const TileNoise& layer : layers_) {
            sum += layer.at(x, y) * weight;
            total += weight;
            weight *= 0.5f;
        }
        return sum / total;
    }

  private:
    std::vector<TileNoise> layers_;
};

// Paints a round spot, squeezed by `xScale` across, with wrap-around. Coverage is measured
// on a grid of sub-samples so even spots thinner than a pixel keep smooth edges.
void paintSpot(Canvas& canvas, float cx, float cy, float radius, float xScale, const Color& color,
               float opacity) {
    constexpr int kSubSamples = 4;
    const int reachX = static_cast<int>(std::ceil(radius * xScale)) + 1;
    const int reachY = static_cast<int>(std::ceil(radius)) + 1;
    const int baseX = static_cast<int>(std::floor(cx));
    const int baseY = static_cast<int>(std::floor(cy));
    for (int y = -reachY; y <= reachY; ++y) {
        for (int x = -reachX; x <= reachX; ++x) {
            int inside = 0;
            for (int sy = 0; sy < kSubSamples; ++sy) {
                for (int sx = 0; sx < kSubSamples; ++sx) {
                    const float px = static_cast<float>(baseX + x) + (sx + 0.5f) / kSubSamples;
                    const float py = static_cast<float>(baseY + y) + (sy + 0.5f) / kSubSamples;
                    const float dx = (px - cx) / xScale;
                    const float dy = py - cy;
                    inside += dx * dx + dy * dy <= radius * radius ? 1 : 0;
                }
            }
            if (inside > 0) {
                const float coverage = static_cast<float>(inside) / (kSubSamples * kSubSamples);
                canvas.blend(baseX + x, baseY + y, color, coverage * opacity);
            }
        }
    }
}

// Paints a tapering grass blade from its root along `angle`, curving slightly as it goes.
void paintBlade(Canvas& canvas, float rootX, float rootY, float length, float angle, float bend,
                float width, const Color& baseColor, const Color& tipColor) {
    constexpr float kStep = 0.5f;
    const int steps = static_cast<int>(length / kStep);
    float x = rootX;
    float y = rootY;
    for (int s = 0; s <= steps; ++s) {
        const float t = static_cast<float>(s) / static_cast<float>(std::max(steps, 1));
        const float heading = angle + bend * t;
        const float radius = std::max(0.35f, width * (1.0f - 0.8f * t));
        paintSpot(canvas, x, y, radius, 1.0f, mix(baseColor, tipColor, t), 0.85f);
        x += std::cos(heading) * kStep;
        y += std::sin(heading) * kStep;
    }
}

Canvas makeGrass() {
    Random random(0xC4A0C311u);
    Canvas canvas;
    const Fractal patches(4, 4, 1, random);
    const Fractal soilNoise(16, 3, 1, random);
    const Color soil{0.30f, 0.24f, 0.13f};
    const Color darkGrass{0.36f, 0.56f, 0.17f};
    const Color lightGrass{0.62f, 0.80f, 0.28f};

    // Under the blades: a dense green mat with darker soil showing through in places.
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float patch = patches.at(static_cast<float>(x), static_cast<float>(y));
            const float ground = soilNoise.at(static_cast<float>(x), static_cast<float>(y));
            const Color green = mix(darkGrass, lightGrass, 0.3f + 0.4f * patch);
            canvas.at(x, y) = mix(green, soil, std::clamp((ground - 0.58f) * 2.5f, 0.0f, 0.7f));
        }
    }

    // Soil specks and tiny pebbles between the blades.
    constexpr int kSpecks = 160;
    for (int i = 0; i < kSpecks; ++i) {
        const Color speck = scale(soil, random.range(0.6f, 1.3f));
        paintSpot(canvas, random.range(0, kSize), random.range(0, kSize), random.range(0.6f, 1.6f),
                  1.0f, speck, 0.8f);
    }

    // Blades seen from above lie in every direction; lighter ones are painted last so they
    // read as the top layer.
    constexpr int kBlades = 2600;
    for (int i = 0; i < kBlades; ++i) {
        const float x = random.range(0, kSize);
        const float y = random.range(0, kSize);
        const float shade = static_cast<float>(i) / kBlades;
        const float patch = patches.at(x, y);
        const Color base = mix(darkGrass, lightGrass, 0.5f * shade + 0.4f * patch);
        const Color dry{0.78f, 0.76f, 0.36f};
        const Color tip = mix(scale(lightGrass, 1.0f + 0.25f * shade), dry, random.unit() * 0.35f);
        paintBlade(canvas, x, y, random.range(7.0f, 18.0f), random.range(0.0f, 2.0f * kPi),
                   random.range(-0.6f, 0.6f), random.range(0.8f, 1.4f), base, tip);
    }
    return canvas;
}

// The path texture spans the 3-unit path width once but repeats every unit along it, so its
// features are drawn three times narrower across to come out round on the ground.
constexpr int kPathStretch = 3;
constexpr float kPathAcross = 1.0f / kPathStretch;

Canvas makePath() {
    Random random(0x9A7E5011u);
    Canvas canvas;
    const Fractal earth(4, 5, kPathStretch, random);
    const Fractal grit(16, 2, kPathStretch, random);
    const Color darkEarth{0.44f, 0.35f, 0.23f};
    const Color lightEarth{0.68f, 0.57f, 0.40f};

    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float tone = earth.at(static_cast<float>(x), static_cast<float>(y));
            const float fine = grit.at(static_cast<float>(x), static_cast<float>(y));
            canvas.at(x, y) =
                scale(mix(darkEarth, lightEarth, 0.25f + 0.5f * tone), 0.88f + 0.24f * fine);
        }
    }

    // Gravel: each stone gets a soft shadow below it, a body and a lit top.
    constexpr int kPebbles = 700;
    for (int i = 0; i < kPebbles; ++i) {
        const float x = random.range(0, kSize);
        const float y = random.range(0, kSize);
        const float radius = random.range(2.0f, 5.5f);
        const float grey = random.range(0.45f, 0.75f);
        const Color body{grey, grey * 0.93f, grey * 0.84f};
        paintSpot(canvas, x, y - 0.8f, radius + 0.6f, kPathAcross, scale(darkEarth, 0.6f), 0.45f);
        paintSpot(canvas, x, y, radius, kPathAcross, body, 0.9f);
        paintSpot(canvas, x, y + radius * 0.3f, radius * 0.45f, kPathAcross, scale(body, 1.25f),
                  0.6f);
    }
    return canvas;
}

bool writeJpeg(const std::string& path, const Canvas& canvas) {
    const std::vector<unsigned char> bytes = canvas.toBytes();
    if (stbi_write_jpg(path.c_str(), kSize, kSize, 3, bytes.data(), kJpegQuality) == 0) {
        std::fprintf(stderr, "gen_textures: could not write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_textures OUTPUT_DIR\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool grassOk = writeJpeg(folder + "/grasTexture.jpg", makeGrass());
    const bool pathOk = writeJpeg(folder + "/pathTex.jpg", makePath());
    return grassOk && pathOk ? 0 : 1;
}
