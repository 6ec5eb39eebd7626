// How fast the video encoder turns frames into each container on this machine: frames of a
// moving picture at the game's window size and rate, with a sound track as long, written as
// fast as the encoder takes them. `chronocell-video-bench [FRAMES]`.
#include "video/VideoEncoder.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kRate = 60;
constexpr int kDefaultFrames = 600;
constexpr int kSampleRate = 44100;
constexpr int kStereoSampleBytes = 4;
// A band of this many rows moves by one per frame, a block across by this many pixels.
constexpr int kBandRows = 96;
constexpr int kBlockSide = 120;
constexpr int kBlockStep = 7;

// A gradient sky with a band rolling up and a block crossing it: edges and flat areas that
// move, roughly what a game's frames ask of an encoder.
void drawFrame(std::vector<std::uint8_t>& pixels, int frame) {
    const int blockLeft = (frame * kBlockStep) % (kWidth - kBlockSide);
    for (int row = 0; row < kHeight; ++row) {
        const bool inBand = ((row + frame) / kBandRows) % 2 == 0;
        for (int column = 0; column < kWidth; ++column) {
            std::uint8_t* pixel = &pixels[(static_cast<std::size_t>(row) * kWidth + column) * 4];
            const bool inBlock = column >= blockLeft && column < blockLeft + kBlockSide &&
                                 row >= kHeight / 3 && row < kHeight / 3 + kBlockSide;
            pixel[0] = static_cast<std::uint8_t>(inBlock ? 250 : column * 255 / kWidth);
            pixel[1] = static_cast<std::uint8_t>(inBand ? 180 : row * 255 / kHeight);
            pixel[2] = static_cast<std::uint8_t>(inBlock ? 30 : 200);
            pixel[3] = 255;
        }
    }
}

// Seconds to encode `frames` frames to `output`, or a negative number when it failed.
double encode(const std::filesystem::path& output, const std::filesystem::path& audio, int frames) {
    const auto started = std::chrono::steady_clock::now();
    std::unique_ptr<VideoEncoder> encoder =
        VideoEncoder::start({output, audio, kWidth, kHeight, kRate}, std::cerr);
    if (!encoder) {
        return -1.0;
    }
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth) * kHeight * 4);
    for (int frame = 0; frame < frames; ++frame) {
        drawFrame(pixels, frame);
        if (!encoder->writeFrame(pixels.data())) {
            break;
        }
    }
    if (!encoder->finish(std::cerr)) {
        return -1.0;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

} // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : kDefaultFrames;
    if (frames <= 0) {
        std::cerr << "usage: chronocell-video-bench [FRAMES]\n";
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("chronocell-video-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path audio = folder / "mix.raw";
    {
        // Silence as long as the frames: the sound's encoding costs the same for any samples.
        const std::size_t bytes =
            static_cast<std::size_t>(frames) * kSampleRate / kRate * kStereoSampleBytes;
        std::ofstream(audio, std::ios::binary) << std::string(bytes, '\0');
    }
    const double clipSeconds = static_cast<double>(frames) / kRate;
    int status = 0;
    for (const char* name : {"clip.mp4", "clip.webm"}) {
        const double seconds = encode(folder / name, audio, frames);
        if (seconds < 0.0) {
            status = 1;
            continue;
        }
        std::cout << name << ": " << frames << " frames of " << kWidth << "x" << kHeight << " at "
                  << kRate << " fps in " << seconds << " s: " << frames / seconds
                  << " frames a second, " << clipSeconds / seconds << " s of video a second, "
                  << std::filesystem::file_size(folder / name) / 1024 << " KiB\n";
    }
    std::filesystem::remove_all(folder);
    return status;
}
