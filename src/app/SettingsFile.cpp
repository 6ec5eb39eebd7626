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

// Every key the file holds replaces the value in `settings`; a missing or unusable value keeps it.
void applySettings(const INIReader& reader, Settings& settings) {
    settings.width = readWindowSide(reader, "width", settings.width);
    settings.height = readWindowSide(reader, "height", settings.height);
    settings.refreshRate =
        static_cast<int>(reader.GetInteger(kSection, "refresh_rate", settings.refreshRate));
    settings.fullscreen = reader.GetBoolean(kSection, "fullscreen", settings.fullscreen);
    settings.shaderBrightness =
        clampToUnit(reader.GetReal(kSection, "shader_brightness", settings.shaderBrightness),
                    settings.shaderBrightness);
    settings.title = reader.Get(kSection, "title", settings.title);
    settings.volume =
        clampToUnit(reader.GetReal(kAudioSection, "volume", settings.volume), settings.volume);
    settings.soundEnabled = reader.GetBoolean(kAudioSection, "enabled", settings.soundEnabled);
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
    applySettings(reader, settings);
    return settings;
}

std::string userSettingsPath(const char* configHome, const char* home) {
    // XDG counts only absolute paths there; anything else means unset.
    if (configHome != nullptr && configHome[0] == '/') {
        return std::string(configHome) + "/chronocell/settings.ini";
    }
    if (home != nullptr && home[0] != '\0') {
        return std::string(home) + "/.config/chronocell/settings.ini";
    }
    return std::string();
}

void overlayUserSettings(Settings& settings, const std::string& path, std::ostream& errors) {
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error)) {
        return;
    }
    const bool isFolder = std::filesystem::is_directory(path, error);
    const INIReader reader(isFolder ? std::string() : path);
    if (isFolder || reader.ParseError() != 0) {
        errors << "chronocell: cannot use " << path << " ("
               << (isFolder || reader.ParseError() < 0
                       ? std::string("unreadable")
                       : "line " + std::to_string(reader.ParseError()) + " is not a setting")
               << "); the shipped settings stand" << std::endl;
        return;
    }
    applySettings(reader, settings);
}
