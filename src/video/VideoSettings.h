#pragma once

#include <filesystem>

// What a video is made of: its frames' size and rate, the file it goes to, and the sound (raw
// 16-bit little-endian stereo at 44.1 kHz, as long as the frames last) the caller has mixed
// into a file of its own, or an empty path for a silent video.
struct VideoSettings {
    std::filesystem::path output;
    std::filesystem::path audio;
    int width = 0;
    int height = 0;
    int framesPerSecond = 0;
};
