#pragma once

#include <filesystem>

// What a video is made of: its frames' size and rate, the file it goes to, and the sound (raw
// 16-bit little-endian stereo at 44.1 kHz, as long as the frames last) the caller has mixed
// into a file of its own, or an empty path for a silent video.
struct VideoSettings {
    // What the encoders take and a player would watch: 4:2:0 halves the colour planes, so both
    // sides are even, from a thumbnail up to 8K.
    static constexpr int kSmallestSide = 16;
    static constexpr int kWidest = 7680;
    static constexpr int kTallest = 4320;
    static constexpr int kFewestFramesPerSecond = 1;
    static constexpr int kMostFramesPerSecond = 240;

    std::filesystem::path output;
    std::filesystem::path audio;
    int width = 0;
    int height = 0;
    int framesPerSecond = 0;
};
