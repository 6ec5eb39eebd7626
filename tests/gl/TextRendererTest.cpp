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

TEST_F(TextRendererTest, GlyphIsDrawnUprightWhereItsMetricsPlaceIt) {
    const float x = 100.0f;
    const float y = 120.0f;
    const float scale = 2.0f;
    renderer->renderText("T", x, y, scale, kRed);
    EXPECT_EQ(takeGlError(), static_cast<unsigned int>(GL_NO_ERROR));
    const Frame frame;

    const Character& glyph = renderer->characters.at('T');
    const Box ink = frame.box(differsFrom(0, 0, 0));
    ASSERT_FALSE(ink.empty());
    const float left = x + static_cast<float>(glyph.bearing.x) * scale;
    const float bottom = y - static_cast<float>(glyph.size.y - glyph.bearing.y) * scale;
    EXPECT_NEAR(ink.left, left, 2.0);
    EXPECT_NEAR(ink.right + 1, left + static_cast<float>(glyph.size.x) * scale, 2.0);
    EXPECT_NEAR(ink.bottom, bottom, 2.0);
    EXPECT_NEAR(ink.top + 1, bottom + static_cast<float>(glyph.size.y) * scale, 2.0);

    // A T's bar is at the top: the row just under the top is inked across, the bottom row
    // only at the stem. Upside-down texture coordinates would swap the two.
    const int topRow = frame.count(0, ink.top - 3, kWidth, ink.top - 2, differsFrom(0, 0, 0));
    const int bottomRow =
        frame.count(0, ink.bottom + 2, kWidth, ink.bottom + 3, differsFrom(0, 0, 0));
    EXPECT_GT(topRow, 3 * bottomRow);
    // Fully covered texels give the text colour itself, with nothing else mixed in.
    EXPECT_GT(frame.countAll(exactly(255, 0, 0)), 200);
    EXPECT_EQ(frame.countAll([](const Rgb& p) { return p.g != 0 || p.b != 0; }), 0);
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

TEST_F(TextRendererTest, OverlappingGlyphBoxesDoNotHideEachOtherUnderDepthTesting) {
    // The game keeps depth testing on while drawing text, and every glyph lies at the same
    // depth: the empty corner of a V's box must not swallow a dot drawn into it.
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    const float scale = 3.0f;
    const float x = 200.0f;
    const float y = 200.0f;
    const Character& v = renderer->characters.at('V');
    const Character& dot = renderer->characters.at('.');
    const float vLeft = x + static_cast<float>(v.bearing.x) * scale;
    const float dotX = vLeft - static_cast<float>(dot.bearing.x) * scale + 1.0f;
    renderer->renderText(".", dotX, y, scale, kGreen);
    const int dotAlone = Frame().countAll(exactly(0, 255, 0));
    ASSERT_GT(dotAlone, 50);

    clearTo(0.0f, 0.0f, 0.0f);
    renderer->renderText("V", x, y, scale, kRed);
    renderer->renderText(".", dotX, y, scale, kGreen);
    EXPECT_EQ(Frame().countAll(exactly(0, 255, 0)), dotAlone);
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
