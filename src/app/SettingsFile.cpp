#include "app/SettingsFile.h"

#include <INIReader.h>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>

namespace {

constexpr const char* kSection = "window";
constexpr const char* kAudioSection = "audio";
// Larger windows than this are refused by X servers and GL drivers alike.
constexpr long kMaxWindowSide = 16384;

int readWindowSide(const INIReader& reader, const char* key, int fallback) {
    const long value = reader.GetInteger(kSection, key, fallback);
    if (value <= 0) {
        return fallback;
    }
    return static_cast<int>(std::min(value, kMaxWindowSide));
}

float clampToUnit(double value, float fallback) {
    if (!std::isfinite(value)) {
        return fallback;
    }
    return static_cast<float>(std::clamp(value, 0.0, 1.0));
}

} // namespace

Settings readSettings(const std::string& path) {
    Settings settings;
    // A folder opens like an empty file on this platform, so it is refused here as unreadable.
    std::error_code error;
    const bool isFolder = std::filesystem::is_directory(path, error);
    const INIReader reader(isFolder ? std::string() : path);
    if (isFolder || reader.ParseError() < 0) {
        std::cout << "ERROR: Failed to load '" << path << "'. Using default values instead."
                  << std::endl;
        return settings;
    }
    settings.width = readWindowSide(reader, "width", Settings::kDefaultWidth);
    settings.height = readWindowSide(reader, "height", Settings::kDefaultHeight);
    settings.refreshRate = static_cast<int>(
        reader.GetInteger(kSection, "refresh_rate", Settings::kDefaultRefreshRate));
    settings.fullscreen = reader.GetBoolean(kSection, "fullscreen", false);
    settings.shaderBrightness =
        clampToUnit(reader.GetReal(kSection, "shader_brightness", Settings::kDefaultBrightness),
                    Settings::kDefaultBrightness);
    settings.title = reader.Get(kSection, "title", Settings::kDefaultTitle);
    settings.volume = clampToUnit(reader.GetReal(kAudioSection, "volume", Settings::kDefaultVolume),
                                  Settings::kDefaultVolume);
    settings.soundEnabled = reader.GetBoolean(kAudioSection, "enabled", true);
    return settings;
}
