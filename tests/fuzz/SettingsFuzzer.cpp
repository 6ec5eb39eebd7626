// Feeds arbitrary bytes to the settings reader as the shipped file and as the player's own, and
// checks that whatever it reads is a window the game can open, and that what it says of the file
// is a few whole lines that each start as the game's do and hold no control byte.
#include "app/SettingsFile.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

constexpr int kMaxWindowSide = 16384;
// Twenty notes and the one that counts the rest.
constexpr int kMostLinesSaid = 21;

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

void requireWholeLines(const std::string& said) {
    std::istringstream lines(said);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        require(line.rfind("chronocell: ", 0) == 0, "a note that does not start as the game's do");
        for (const char c : line) {
            require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f, "a control byte in a note");
        }
    }
    require(said.empty() || said.back() == '\n', "a note without its line end");
    require(count <= kMostLinesSaid, "more notes than a screenful");
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
    std::ostringstream said;
    Settings settings = readSettings(settingsPath(), said);
    requireWholeLines(said.str());
    std::ostringstream saidOfPlayers;
    overlayUserSettings(settings, settingsPath(), saidOfPlayers);
    requireWholeLines(saidOfPlayers.str());
    require(settings.width >= 1 && settings.width <= kMaxWindowSide, "width");
    require(settings.height >= 1 && settings.height <= kMaxWindowSide, "height");
    require(std::isfinite(settings.shaderBrightness), "brightness is not a number");
    require(settings.shaderBrightness >= 0.0f && settings.shaderBrightness <= 1.0f, "brightness");
    return 0;
}
