#include "text/TextRenderer.h"

#include "render/AssetPath.h"
#include "render/TriangleDraw.h"

#include <glad/gl.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <glm/gtc/matrix_transform.hpp>
#include <iostream>

namespace {

constexpr const char* kVertexShaderPath = "assets\\shader\\textVertexShader.vert";
constexpr const char* kFragmentShaderPath = "assets\\shader\\textFragmentShader.frag";
constexpr const char* kFontPath = "assets\\fonts\\Ansley_Display_Regular.ttf";

constexpr FT_Long kFaceIndex = 0;
constexpr FT_UInt kPixelHeight = 48;
// A pixel width of 0 tells FreeType to use the height.
constexpr FT_UInt kPixelWidth = 0;
constexpr unsigned int kGlyphCount = 128;

constexpr int kVerticesPerQuad = 6;
constexpr int kFloatsPerVertex = 4;
constexpr GLsizeiptr kQuadBytes = kVerticesPerQuad * kFloatsPerVertex * sizeof(float);

// FreeType advances are 26.6 fixed point; the pen only moves by whole pixels.
constexpr unsigned int kAdvanceFractionBits = 6;

constexpr float kTextSpaceWidth = 800.0f;
constexpr float kTextSpaceHeight = 600.0f;

// glTexImage2D reads width x rows tightly packed bytes. Anything else FreeType may hand back
// (1-bit bitmaps from embedded strikes, padded or bottom-up rows) would be read out of
// bounds, so such a glyph is treated as one that failed to load.
bool isTightCoverageBitmap(const FT_Bitmap& bitmap) {
    if (bitmap.width == 0 || bitmap.rows == 0) {
        return true;
    }
    return bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.buffer != nullptr &&
           bitmap.pitch == static_cast<int>(bitmap.width);
}

Character uploadGlyph(const FT_GlyphSlot slot) {
    const FT_Bitmap& bitmap = slot->bitmap;
    const auto width = static_cast<GLsizei>(bitmap.width);
    const auto rows = static_cast<GLsizei>(bitmap.rows);

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, width, rows, 0, GL_RED, GL_UNSIGNED_BYTE, bitmap.buffer);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

    Character glyph;
    glyph.textureId = texture;
    glyph.size = glm::ivec2(width, rows);
    glyph.bearing = glm::ivec2(slot->bitmap_left, slot->bitmap_top);
    glyph.advance = static_cast<unsigned int>(slot->advance.x);
    return glyph;
}

} // namespace

TextRenderer::TextRenderer() : shader(kVertexShaderPath, kFragmentShaderPath) {
    loadGlyphs();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    createQuadBuffer();
}

TextRenderer::~TextRenderer() {
    for (const auto& [code, glyph] : characters) {
        // Codes first seen at draw time carry texture 0, which is not ours to delete.
        if (glyph.textureId != 0) {
            glDeleteTextures(1, &glyph.textureId);
        }
    }
    glDeleteBuffers(1, &vbo);
    glDeleteVertexArrays(1, &vao);
}

namespace {

// Why FreeType could not open the font, in words.
std::string fontProblem(const std::string& fileName, FT_Error error) {
    if (std::optional<std::string> missing = missingFileProblem(fileName)) {
        return *missing;
    }
    if (error == FT_Err_Unknown_File_Format) {
        return "not a font FreeType knows";
    }
    return "FreeType error " + std::to_string(error);
}

} // namespace

void TextRenderer::loadGlyphs() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        std::cout << "ERROR::FREETYPE: Could not init FreeType Library" << std::endl;
        library = nullptr;
    }

    // Without a library there is nothing to open the face with, and without a face every
    // glyph fails; both report their own messages below but never touch a null handle.
    FT_Face face = nullptr;
    const FT_Error faceError =
        library == nullptr ? FT_Err_Invalid_Library_Handle
                           : FT_New_Face(library, assetPath(kFontPath).c_str(), kFaceIndex, &face);
    if (faceError != 0) {
        std::cout << "ERROR::FREETYPE: Failed to load font" << std::endl;
        std::cerr << "chronocell: cannot load the font " << assetPath(kFontPath) << ": "
                  << fontProblem(assetPath(kFontPath), faceError) << std::endl;
        face = nullptr;
    }
    if (face != nullptr) {
        FT_Set_Pixel_Sizes(face, kPixelWidth, kPixelHeight);
    }

    // Glyph rows are tightly packed bytes; the alignment stays 1 for the rest of the run.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (unsigned int code = 0; code < kGlyphCount; ++code) {
        if (face == nullptr || FT_Load_Char(face, code, FT_LOAD_RENDER) != 0 ||
            !isTightCoverageBitmap(face->glyph->bitmap)) {
            std::cout << "ERROR::FREETYTPE: Failed to load Glyph" << std::endl;
            continue;
        }
        characters.emplace(static_cast<char>(code), uploadGlyph(face->glyph));
    }

    if (face != nullptr) {
        FT_Done_Face(face);
    }
    if (library != nullptr) {
        FT_Done_FreeType(library);
    }
}

void TextRenderer::createQuadBuffer() {
    glGenVertexArrays(1, &vao);
    glGenBuffers(1, &vbo);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, kQuadBytes, nullptr, GL_DYNAMIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, kFloatsPerVertex, GL_FLOAT, GL_FALSE, kFloatsPerVertex * sizeof(float),
                          nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}

void TextRenderer::renderText(std::string text, float x, float y, float scale,
                              const glm::vec3& color) {
    glUseProgram(shader.id);
    shader.setVec3("textColor", color);
    shader.setMat4("projection",
                   glm::ortho(0.0f, kTextSpaceWidth, 0.0f, kTextSpaceHeight, -1.0f, 1.0f));
    glActiveTexture(GL_TEXTURE0);
    glBindVertexArray(vao);

    for (const char code : text) {
        // An unknown code gains an all-zero entry: an empty quad that leaves the pen in place.
        const Character& glyph = characters[code];
        drawGlyph(glyph, x, y, scale);
        x += static_cast<float>(glyph.advance >> kAdvanceFractionBits) * scale;
    }

    glBindVertexArray(0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void TextRenderer::drawGlyph(const Character& glyph, float x, float y, float scale) {
    const float xpos = x + static_cast<float>(glyph.bearing.x) * scale;
    const float ypos = y - static_cast<float>(glyph.size.y - glyph.bearing.y) * scale;
    const float w = static_cast<float>(glyph.size.x) * scale;
    const float h = static_cast<float>(glyph.size.y) * scale;

    // The bitmap's first row is its top row, so v = 0 sits on the quad's top edge.
    const float vertices[kVerticesPerQuad][kFloatsPerVertex] = {
        {xpos, ypos + h, 0.0f, 0.0f}, {xpos, ypos, 0.0f, 1.0f},
        {xpos + w, ypos, 1.0f, 1.0f}, {xpos, ypos + h, 0.0f, 0.0f},
        {xpos + w, ypos, 1.0f, 1.0f}, {xpos + w, ypos + h, 1.0f, 0.0f},
    };

    glBindTexture(GL_TEXTURE_2D, glyph.textureId);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(vertices), vertices);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    drawTriangleList(kVerticesPerQuad);
}
