#include "support/Screenshot.h"

#include <glad/gl.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

std::string saveScreenshot(const std::string& name) {
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int width = viewport[2];
    const int height = viewport[3];
    if (width <= 0 || height <= 0) {
        return {};
    }
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());

    const char* configured = std::getenv("CHRONOCELL_SHOTS");
    const std::filesystem::path folder = configured ? configured : "build/shots";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::filesystem::path file = folder / (name + ".png");
    stbi_flip_vertically_on_write(1);
    const int ok =
        stbi_write_png(file.string().c_str(), width, height, 3, pixels.data(), width * 3);
    stbi_flip_vertically_on_write(0);
    return ok ? file.string() : std::string{};
}
