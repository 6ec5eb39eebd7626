#include "input/GamepadMappings.h"

#include <GLFW/glfw3.h>
#include <fstream>
#include <ostream>
#include <string>
#include <utility>

namespace {

// The file's text, or why it cannot be used; nothing at all when there is no file.
struct MappingsText {
    bool present = false;
    std::string text;
    std::string problem;
};

MappingsText unusable(const std::string& problem) {
    return {true, {}, problem + "; only GLFW's own mappings are used"};
}

MappingsText readMappingsText(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_type type = std::filesystem::status(path, error).type();
    if (type == std::filesystem::file_type::not_found) {
        return {};
    }
    if (type == std::filesystem::file_type::directory) {
        return unusable("is a folder");
    }
    if (type != std::filesystem::file_type::regular) {
        return unusable(error ? "cannot be read" : "is not a plain file");
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        return unusable("cannot be read");
    }
    if (size > kMaxGamepadMappingsBytes) {
        return unusable("is larger than 4 MB");
    }
    std::ifstream file(path, std::ios::binary);
    std::string text(size, '\0');
    if (!file.read(text.data(), static_cast<std::streamsize>(size))) {
        return unusable("cannot be read");
    }
    return {true, std::move(text), {}};
}

// GLFW skips a line it cannot parse and reports it as an error rather than in its return value.
std::string refusalOf(const std::string& text) {
    glfwGetError(nullptr);
    const bool taken = glfwUpdateGamepadMappings(text.c_str()) == GLFW_TRUE;
    const char* description = nullptr;
    if (glfwGetError(&description) == GLFW_NO_ERROR && taken) {
        return {};
    }
    return std::string("has lines GLFW could not read as SDL_GameControllerDB mappings: ") +
           (description ? description : "no reason given");
}

} // namespace

void loadGamepadMappings(const std::filesystem::path& path, std::ostream& errors) {
    MappingsText mappings = readMappingsText(path);
    if (!mappings.present) {
        return;
    }
    if (mappings.problem.empty()) {
        mappings.problem = refusalOf(mappings.text);
    }
    if (!mappings.problem.empty()) {
        errors << "chronocell: gamepad mappings " << path.string() << " " << mappings.problem
               << std::endl;
    }
}
