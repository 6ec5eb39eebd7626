#include "render/Texture.h"
#include "support/GlTestEnvironment.h"

#include <glad/gl.h>

#include <filesystem>
#include <gtest/gtest.h>
#include <stb/stb_image_write.h>
#include <string>
#include <vector>

namespace {

class TextureFiles : public testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / "chronocell-texture-test";
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        glDeleteTextures(static_cast<GLsizei>(made.size()), made.data());
        std::filesystem::remove_all(folder);
    }

    // Writes a PNG whose top row comes first, as image files store it.
    std::string writePng(const std::string& name, int width, int height, int channels,
                         const std::vector<unsigned char>& pixels) const {
        const std::string path = (folder / name).string();
        stbi_write_png(path.c_str(), width, height, channels, pixels.data(), width * channels);
        return path;
    }

    GLuint load(const std::string& path) {
        const GLuint name = loadTexture(path.c_str());
        made.push_back(name);
        return name;
    }

    // Level 0 of the bound texture as tightly packed RGB rows, bottom row first.
    static std::vector<unsigned char> readRgb(int width, int height) {
        std::vector<unsigned char> pixels(static_cast<std::size_t>(width * height * 3), 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    std::filesystem::path folder;
    std::vector<GLuint> made;
};

GLint textureParameter(GLenum parameter) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    return value;
}

TEST_F(TextureFiles, MissingFileReportsOnceAndStillGivesFreshNames) {
    testing::internal::CaptureStdout();
    const GLuint first = load((folder / "absent.jpg").string());
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output, "Failed to load texture\n");
    EXPECT_NE(first, 0u);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), first);

    testing::internal::CaptureStdout();
    const GLuint second = load((folder / "absent.jpg").string());
    testing::internal::GetCapturedStdout();
    EXPECT_NE(second, first) << "no cache: every call makes a new texture";
    EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST_F(TextureFiles, SetsFilteringWrappingAndMipmaps) {
    const std::vector<unsigned char> pixels(8 * 8 * 3, 128);
    testing::internal::CaptureStdout();
    load(writePng("plain.png", 8, 8, 3, pixels));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(textureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_R), GL_REPEAT);
    GLint smallestWidth = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &smallestWidth);
    EXPECT_EQ(smallestWidth, 1) << "mipmaps down to 1x1";
}

TEST_F(TextureFiles, OddWidthGreyImageUploadsRowByRowAndFlipped) {
    // 5 x 3, one channel: 5 bytes a row, not a multiple of 4.
    constexpr int kWidth = 5;
    constexpr int kHeight = 3;
    std::vector<unsigned char> grey(kWidth * kHeight);
    for (int i = 0; i < kWidth * kHeight; ++i) {
        grey[static_cast<std::size_t>(i)] = static_cast<unsigned char>(10 + 15 * i);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    load(writePng("grey.png", kWidth, kHeight, 1, grey));
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4) << "the caller's unpack alignment is restored";

    const std::vector<unsigned char> texels = readRgb(kWidth, kHeight);
    for (int row = 0; row < kHeight; ++row) {
        for (int x = 0; x < kWidth; ++x) {
            // Texture row 0 is the file's bottom row.
            const unsigned char expected =
                grey[static_cast<std::size_t>((kHeight - 1 - row) * kWidth + x)];
            for (int c = 0; c < 3; ++c) {
                EXPECT_EQ(texels[static_cast<std::size_t>((row * kWidth + x) * 3 + c)], expected)
                    << "texel " << x << "," << row << " channel " << c;
            }
        }
    }
}

TEST_F(TextureFiles, FourChannelImageKeepsItsColours) {
    constexpr int kWidth = 3;
    constexpr int kHeight = 2;
    const std::vector<unsigned char> rgba{
        255, 0,   0,  255, 0,  255, 0,  128, 0,  0,  255, 0,
        200, 100, 50, 255, 10, 20,  30, 255, 40, 50, 60,  255,
    };
    load(writePng("rgba.png", kWidth, kHeight, 4, rgba));
    const std::vector<unsigned char> texels = readRgb(kWidth, kHeight);
    for (int row = 0; row < kHeight; ++row) {
        for (int x = 0; x < kWidth; ++x) {
            const std::size_t source =
                static_cast<std::size_t>(((kHeight - 1 - row) * kWidth + x) * 4);
            const std::size_t texel = static_cast<std::size_t>((row * kWidth + x) * 3);
            for (int c = 0; c < 3; ++c) {
                EXPECT_EQ(texels[texel + c], rgba[source + c])
                    << "texel " << x << "," << row << " channel " << c;
            }
        }
    }
}

TEST_F(TextureFiles, ShippedGroundTexturesLoadAsTileableRgb) {
    for (const char* path :
         {"assets\\textures\\grasTexture.jpg", "assets\\textures\\pathTex.jpg"}) {
        testing::internal::CaptureStdout();
        load(path);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << path;
        GLint width = 0;
        GLint height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        EXPECT_GE(width, 128) << path;
        EXPECT_EQ(width % 4, 0) << path;
        EXPECT_GE(height, 128) << path;

        // Seamless: the step across the wrap-around edge is no bigger than a typical step
        // between neighbouring columns inside the image.
        const std::vector<unsigned char> texels = readRgb(width, height);
        auto columnStep = [&](int a, int b) {
            long total = 0;
            for (int y = 0; y < height; ++y) {
                for (int c = 0; c < 3; ++c) {
                    total += std::abs(texels[static_cast<std::size_t>((y * width + a) * 3 + c)] -
                                      texels[static_cast<std::size_t>((y * width + b) * 3 + c)]);
                }
            }
            return static_cast<double>(total) / height;
        };
        auto rowStep = [&](int a, int b) {
            long total = 0;
            for (int x = 0; x < width * 3; ++x) {
                total += std::abs(texels[static_cast<std::size_t>(a * width * 3 + x)] -
                                  texels[static_cast<std::size_t>(b * width * 3 + x)]);
            }
            return static_cast<double>(total) / width;
        };
        double insideColumns = 0.0;
        double insideRows = 0.0;
        for (int i = 0; i + 1 < width; ++i) {
            insideColumns += columnStep(i, i + 1);
        }
        for (int i = 0; i + 1 < height; ++i) {
            insideRows += rowStep(i, i + 1);
        }
        insideColumns /= width - 1;
        insideRows /= height - 1;
        EXPECT_LT(columnStep(width - 1, 0), insideColumns * 1.5) << path;
        EXPECT_LT(rowStep(height - 1, 0), insideRows * 1.5) << path;
    }
}

} // namespace
