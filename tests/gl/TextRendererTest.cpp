#include "text/TextRenderer.h"

#include "TextFrame.h"
#include "support/GlTestEnvironment.h"

#include <glad/gl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using namespace textframe;

namespace {

const char* const kGlyphMessage = "ERROR::FREETYTPE: Failed to load Glyph\n";
const char* const kFontMessage = "ERROR::FREETYPE: Failed to load font\n";
const glm::vec3 kRed(1.0f, 0.0f, 0.0f);
const glm::vec3 kGreen(0.0f, 1.0f, 0.0f);

int occurrences(const std::string& haystack, const std::string& needle) {
    int found = 0;
    for (size_t at = haystack.find(needle); at != std::string::npos;
         at = haystack.find(needle, at + needle.size())) {
        ++found;
    }
    return found;
}

const std::pair<GLenum, GLint> kGlyphTextureParameters[] = {
    {GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE},
    {GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE},
    {GL_TEXTURE_MIN_FILTER, GL_LINEAR},
    {GL_TEXTURE_MAG_FILTER, GL_LINEAR},
};

float penStep(const Character& glyph, float scale) {
    return static_cast<float>(glyph.advance >> 6) * scale;
}

class TextRendererTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { renderer = std::make_unique<TextRenderer>(); }
    static void TearDownTestSuite() { renderer.reset(); }
    void SetUp() override {
        takeGlError();
        clearTo(0.0f, 0.0f, 0.0f);
    }
    static std::unique_ptr<TextRenderer> renderer;
};

std::unique_ptr<TextRenderer> TextRendererTest::renderer;

} // namespace

TEST(TextRendererLoad, BuildsAGlyphForEveryOneOfTheFirst128Codes) {
    testing::internal::CaptureStdout();
    const TextRenderer loaded;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_EQ(loaded.characters.size(), 128u);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 1) << "glyph rows are tightly packed bytes";

    for (int code = 33; code <= 126; ++code) {
        const Character& glyph = loaded.characters.at(static_cast<char>(code));
        SCOPED_TRACE(static_cast<char>(code));
        EXPECT_GT(glyph.size.x, 0);
        EXPECT_GT(glyph.size.y, 0);
        EXPECT_GT(glyph.advance, 0u);
        ASSERT_TRUE(glIsTexture(glyph.textureId));
        glBindTexture(GL_TEXTURE_2D, glyph.textureId);
        GLint width = 0;
        GLint height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        EXPECT_EQ(width, glyph.size.x);
        EXPECT_EQ(height, glyph.size.y);
        GLint format = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        EXPECT_TRUE(format == GL_RED || format == GL_R8) << format;
        for (const auto& [parameter, value] : kGlyphTextureParameters) {
            GLint actual = 0;
            glGetTexParameteriv(GL_TEXTURE_2D, parameter, &actual);
            EXPECT_EQ(actual, value) << parameter;
        }
    }
    glBindTexture(GL_TEXTURE_2D, 0);

    const Character& space = loaded.characters.at(' ');
    EXPECT_EQ(space.size, glm::ivec2(0, 0));
    EXPECT_GT(space.advance >> 6, 0u);
    // Capitals at 48 px stand well above the baseline and sit on it.
    const Character& capital = loaded.characters.at('H');
    EXPECT_GT(capital.bearing.y, 25);
    EXPECT_LT(capital.bearing.y, 48);
    EXPECT_EQ(capital.bearing.y, capital.size.y);
    EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
}

TEST_F(TextRendererTest, GlyphsBlendTheirCoverageWhereTheirBearingsPlaceThem) {
    // Red over blue at scale 1 from whole-pixel pens: each pixel centre samples one texel centre,
    // so each pixel is that texel's coverage of red blended over blue. Depth testing is on, as
    // in the game.
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    clearTo(0.0f, 0.0f, 1.0f);
    const int baseline = 200;
    const std::pair<char, int> glyphs[] = {{'H', 100}, {'p', 300}};
    for (const auto& [code, pen] : glyphs) {
        renderer->renderText(std::string(1, code), static_cast<float>(pen), baseline, 1.0f, kRed);
    }
    EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
    const Frame frame;
    std::vector<float> depth(static_cast<size_t>(kWidth) * kHeight);
    glReadPixels(0, 0, kWidth, kHeight, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());

    int wrongPixels = 0;
    int inkedTexels = 0;
    int faintTexels = 0;
    for (const auto& [code, pen] : glyphs) {
        const Character& glyph = renderer->characters.at(code);
        std::vector<unsigned char> coverage(static_cast<size_t>(glyph.size.x) * glyph.size.y);
        glBindTexture(GL_TEXTURE_2D, glyph.textureId);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RED, GL_UNSIGNED_BYTE, coverage.data());
        // The bitmap's first row is its top row, bearing.y pixels above the baseline.
        for (int row = 0; row < glyph.size.y; ++row) {
            for (int column = 0; column < glyph.size.x; ++column) {
                const int x = pen + glyph.bearing.x + column;
                const int y = baseline + glyph.bearing.y - 1 - row;
                const int c = coverage[static_cast<size_t>(row * glyph.size.x + column)];
                const Rgb pixel = frame.at(x, y);
                wrongPixels += std::abs(pixel.r - c) > 2 || std::abs(pixel.b - (255 - c)) > 2;
                inkedTexels += c > 2;
                // Empty and faint texels write no depth, so nothing drawn behind them later,
                // such as the overlapping edge of the next letter, is cut.
                faintTexels += c > 0 && c < 3;
                const bool depthWritten = depth[static_cast<size_t>(y) * kWidth + x] < 1.0f;
                wrongPixels += depthWritten != (c > 2);
            }
        }
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(wrongPixels, 0);
    ASSERT_GT(faintTexels, 0) << "the glyphs must have faint edges to test";
    EXPECT_EQ(frame.countAll([](const Rgb& p) { return p.r > 2 || p.b < 253; }), inkedTexels)
        << "nothing drawn outside the glyph boxes";
    // The p's descender reaches below the baseline, the H's cap well above it.
    const Box ink = frame.box([](const Rgb& p) { return p.r > 128; });
    EXPECT_LT(ink.bottom, baseline - 5);
    EXPECT_GT(ink.top, baseline + 25);

    // Scaled, the glyph box grows from the scaled bearing.
    clearTo(0.0f, 0.0f, 0.0f);
    const float scale = 2.0f;
    renderer->renderText("p", 300.0f, baseline, scale, kRed);
    const Character& p = renderer->characters.at('p');
    const Box scaled = Frame().box(differsFrom(0, 0, 0));
    const float left = 300.0f + static_cast<float>(p.bearing.x) * scale;
    const float bottom = baseline - static_cast<float>(p.size.y - p.bearing.y) * scale;
    EXPECT_NEAR(scaled.left, left, 2.0);
    EXPECT_NEAR(scaled.right + 1, left + static_cast<float>(p.size.x) * scale, 2.0);
    EXPECT_NEAR(scaled.bottom, bottom, 2.0);
    EXPECT_NEAR(scaled.top + 1, bottom + static_cast<float>(p.size.y) * scale, 2.0);
}

TEST_F(TextRendererTest, PenMovesByWholePixelAdvancesTimesScale) {
    const float x = 40.7f;
    const float y = 300.0f;
    const float scale = 1.37f;
    renderer->renderText("AVA", x, y, scale, kGreen);
    const Frame together;

    clearTo(0.0f, 0.0f, 0.0f);
    const Character& a = renderer->characters.at('A');
    const Character& v = renderer->characters.at('V');
    renderer->renderText("A", x, y, scale, kGreen);
    renderer->renderText("V", x + penStep(a, scale), y, scale, kGreen);
    renderer->renderText("A", x + penStep(a, scale) + penStep(v, scale), y, scale, kGreen);
    const Frame apart;

    EXPECT_TRUE(together == apart);
    const Box ink = together.box(differsFrom(0, 0, 0));
    EXPECT_GT(ink.right - ink.left, 2 * static_cast<int>(penStep(a, scale)));
}

TEST_F(TextRendererTest, CodesWithoutGlyphsDrawNothingAndKeepThePen) {
    const size_t before = renderer->characters.size();
    renderer->renderText("A\xC3\xA9V", 100.0f, 200.0f, 1.0f, kGreen);
    const Frame withUtf8;
    clearTo(0.0f, 0.0f, 0.0f);
    renderer->renderText("AV", 100.0f, 200.0f, 1.0f, kGreen);
    const Frame plain;
    EXPECT_TRUE(withUtf8 == plain);

    EXPECT_EQ(renderer->characters.size(), before + 2);
    for (const char code : {'\xC3', '\xA9'}) {
        const Character& added = renderer->characters.at(code);
        EXPECT_EQ(added.textureId, 0u);
        EXPECT_EQ(added.size, glm::ivec2(0, 0));
        EXPECT_EQ(added.bearing, glm::ivec2(0, 0));
        EXPECT_EQ(added.advance, 0u);
    }
    EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));

    clearTo(0.0f, 0.0f, 0.0f);
    renderer->renderText("", 100.0f, 200.0f, 1.0f, kGreen);
    EXPECT_EQ(Frame().countAll(differsFrom(0, 0, 0)), 0);
    EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
}

namespace {

// Runs a renderer in a scratch folder holding the text shaders and the given font bytes
// (no font file at all when the content is null), the way the game would meet them.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string* fontBytes) : previous(fs::current_path()) {
        std::string pattern = (fs::temp_directory_path() / "chronocell-text-XXXXXX").string();
        const char* made = mkdtemp(pattern.data());
        if (made == nullptr) {
            throw std::runtime_error("cannot make a scratch folder under " + pattern);
        }
        folder = made;
        fs::create_directories(folder / "assets" / "shader");
        fs::create_directories(folder / "assets" / "fonts");
        const fs::path source = fs::path(CHRONOCELL_SOURCE_DIR) / "assets" / "shader";
        for (const char* name : {"textVertexShader.vert", "textFragmentShader.frag"}) {
            fs::copy_file(source / name, folder / "assets" / "shader" / name);
        }
        if (fontBytes != nullptr) {
            std::ofstream(folder / "assets" / "fonts" / "Ansley_Display_Regular.ttf",
                          std::ios::binary)
                << *fontBytes;
        }
        fs::current_path(folder);
    }
    ~ScratchFolder() {
        fs::current_path(previous);
        fs::remove_all(folder);
    }

  private:
    fs::path previous;
    fs::path folder;
};

std::string shippedFontBytes() {
    std::ifstream file(fs::path(CHRONOCELL_SOURCE_DIR) / "assets" / "fonts" /
                           "Ansley_Display_Regular.ttf",
                       std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(TextRendererBadFont, MissingOrGarbageFontReportsAndDrawsNothing) {
    const std::string garbage(4096, '\x5A');
    for (const std::string* font : {static_cast<const std::string*>(nullptr), &garbage}) {
        SCOPED_TRACE(font == nullptr ? "missing font" : "garbage font");
        const ScratchFolder scratch(font);
        testing::internal::CaptureStdout();
        TextRenderer broken;
        const std::string output = testing::internal::GetCapturedStdout();

        EXPECT_EQ(output.find(kFontMessage), 0u) << output.substr(0, 200);
        EXPECT_EQ(occurrences(output, kGlyphMessage), 128);
        EXPECT_EQ(occurrences(output, "ERROR"), 129) << "the shaders themselves load";
        EXPECT_TRUE(broken.characters.empty());

        clearTo(0.0f, 0.0f, 0.0f);
        broken.renderText("Hello", 100.0f, 300.0f, 1.0f, kRed);
        EXPECT_EQ(Frame().countAll(differsFrom(0, 0, 0)), 0);
        EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
    }
}

TEST(TextRendererBadFont, TruncatedFontNeverCrashesAndAccountsForEveryCode) {
    const std::string whole = shippedFontBytes();
    ASSERT_GT(whole.size(), 10000u);
    for (const size_t kept : {whole.size() / 2, whole.size() / 8, size_t{200}}) {
        SCOPED_TRACE(kept);
        const std::string truncated = whole.substr(0, kept);
        const ScratchFolder scratch(&truncated);
        testing::internal::CaptureStdout();
        TextRenderer partial;
        const std::string output = testing::internal::GetCapturedStdout();

        // Each code either got a glyph or said that it did not.
        EXPECT_EQ(partial.characters.size() + occurrences(output, kGlyphMessage), 128u);
        clearTo(0.0f, 0.0f, 0.0f);
        partial.renderText("Chronocell", 100.0f, 300.0f, 1.0f, kRed);
        EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
    }
}
