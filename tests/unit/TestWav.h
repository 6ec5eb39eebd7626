#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

// A 16-bit PCM WAV file of `samples`, interleaved when there are two `channels`.
inline void writeWav(const std::filesystem::path& path, const std::vector<std::int16_t>& samples,
                     int channels = 1, int rate = 44100) {
    const auto put = [](std::ofstream& file, std::uint32_t value, int bytes) {
        for (int byte = 0; byte < bytes; ++byte) {
            file.put(static_cast<char>((value >> (8 * byte)) & 0xffu));
        }
    };
    constexpr int kBytesPerSample = 2;
    constexpr std::uint32_t kFormatBytes = 16;
    constexpr std::uint32_t kPcm = 1;
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * kBytesPerSample);
    const auto frameBytes = static_cast<std::uint32_t>(channels * kBytesPerSample);
    std::ofstream file(path, std::ios::binary);
    file << "RIFF";
    put(file, 4 + 8 + kFormatBytes + 8 + dataBytes, 4);
    file << "WAVEfmt ";
    put(file, kFormatBytes, 4);
    put(file, kPcm, 2);
    put(file, static_cast<std::uint32_t>(channels), 2);
    put(file, static_cast<std::uint32_t>(rate), 4);
    put(file, static_cast<std::uint32_t>(rate) * frameBytes, 4);
    put(file, frameBytes, 2);
    put(file, 8 * kBytesPerSample, 2);
    file << "data";
    put(file, dataBytes, 4);
    for (const std::int16_t sample : samples) {
        put(file, static_cast<std::uint16_t>(sample), kBytesPerSample);
    }
}
