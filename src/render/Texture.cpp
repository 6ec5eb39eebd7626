#include "render/Texture.h"

#include "render/AssetPath.h"

#include <glad/gl.h>

#include <iostream>
#include <stb/stb_image.h>

namespace {

// Every texture is kept as RGB; the decoder converts grey, grey-alpha and RGBA files so the
// upload always reads exactly width x height x 3 bytes.
constexpr int kRgbChannels = 3;

void uploadRgb(int width, int height, const unsigned char* pixels) {
    // Decoded rows are tightly packed, which the default 4-byte alignment would misread (and
    // overrun) whenever width x 3 is not a multiple of 4; the caller's alignment is restored.
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    glGenerateMipmap(GL_TEXTURE_2D);
}

} // namespace

unsigned int loadTexture(const char* path) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_R, GL_REPEAT);

    stbi_set_flip_vertically_on_load(true);
    int width = 0;
    int height = 0;
    int fileChannels = 0;
    unsigned char* pixels =
        stbi_load(assetPath(path).c_str(), &width, &height, &fileChannels, kRgbChannels);
    if (pixels != nullptr) {
        uploadRgb(width, height, pixels);
    } else {
        std::cout << "Failed to load texture" << std::endl;
        std::cerr << "chronocell: cannot load the texture " << assetPath(path) << ": "
                  << stbi_failure_reason() << std::endl;
    }
    stbi_image_free(pixels);
    return texture;
}
