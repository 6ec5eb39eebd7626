// Feeds arbitrary bytes to the settings reader as the settings file, and checks that whatever
// it reads is a window the game can open.
#include "app/SettingsFile.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

constexpr int kMaxWindowSide = 16384;

std::string settingsPath() {
    static const std::string path =
        (std::filesystem::temp_directory_path() /
         ("chronocell-settings-fuzz-" + std::to_string(getpid()) + ".ini"))
            .string();
    return path;
}

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "settings out of range: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    // The reader reports unreadable files on standard output; millions of runs need not.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) {
        return 1;
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        std::ofstream file(settingsPath(), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const Settings settings = readSettings(settingsPath());
    require(settings.width >= 1 && settings.width <= kMaxWindowSide, "width");
    require(settings.height >= 1 && settings.height <= kMaxWindowSide, "height");
    require(std::isfinite(settings.shaderBrightness), "brightness is not a number");
    require(settings.shaderBrightness >= 0.0f && settings.shaderBrightness <= 1.0f, "brightness");
    return 0;
}
