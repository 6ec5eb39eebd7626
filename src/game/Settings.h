#pragma once

#include <string>

// The player's settings from assets/settings.ini, sections [window] and [audio]; the defaults
// stand in for anything missing. Key commands change fullscreen, refresh rate, brightness and
// mute for this run only.
struct Settings {
    static constexpr int kDefaultWidth = 800;
    static constexpr int kDefaultHeight = 600;
    static constexpr int kDefaultRefreshRate = 60;
    static constexpr float kDefaultBrightness = 0.3f;
    static constexpr const char* kDefaultTitle = "Chronocell";
    static constexpr float kDefaultVolume = 0.7f;

    int width = kDefaultWidth;
    int height = kDefaultHeight;
    int refreshRate = kDefaultRefreshRate;
    bool fullscreen = false;
    float shaderBrightness = kDefaultBrightness;
    std::string title = kDefaultTitle;
    float volume = kDefaultVolume;
    bool soundEnabled = true;
};

// The refresh-rate keys step by 10 and stay within [0, 1000] Hz, so no press can overflow.
int stepRefreshRate(int refreshRate, int step);

// The brightness keys step by 0.1 and stay within [0, 1], landing exactly on the ends.
float stepBrightness(float brightness, float step);
