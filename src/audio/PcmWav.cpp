#include "audio/PcmWav.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string_view>

namespace {

constexpr std::size_t kRiffHeaderBytes = 12;
constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::size_t kFormatBytes = 16;
constexpr std::uint32_t kPcmTag = 1;
constexpr std::uint32_t kBitsPerSample = 16;
constexpr std::uint32_t kMixRate = 44100;
constexpr std::size_t kBytesPerSample = 2;

struct Format {
    std::uint32_t tag = 0;
    std::uint32_t channels = 0;
    std::uint32_t rate = 0;
    std::uint32_t bits = 0;
};

std::uint32_t littleEndian(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t byte = size; byte-- > 0;) {
        value = value << 8 | bytes[at + byte];
    }
    return value;
}

bool hasTag(std::span<const std::uint8_t> bytes, std::size_t at, std::string_view tag) {
    return bytes.size() >= at + tag.size() &&
           std::equal(tag.begin(), tag.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

Format readFormat(std::span<const std::uint8_t> body) {
    return {littleEndian(body, 0, 2), littleEndian(body, 2, 2), littleEndian(body, 4, 4),
            littleEndian(body, 14, 2)};
}

bool isMixable(const Format& format) {
    return format.tag == kPcmTag && format.bits == kBitsPerSample &&
           (format.channels == 1 || format.channels == 2) && format.rate == kMixRate;
}

std::string describe(const Format& format) {
    return "expected 16-bit PCM in mono or stereo at 44100 Hz, found format " +
           std::to_string(format.tag) + ", " + std::to_string(format.bits) + " bits, " +
           std::to_string(format.channels) + " channels at " + std::to_string(format.rate) + " Hz";
}

std::int16_t sampleAt(std::span<const std::uint8_t> data, std::size_t index) {
    return static_cast<std::int16_t>(littleEndian(data, index * kBytesPerSample, kBytesPerSample));
}

// A mono sample goes to both sides as it is, where SDL's converter takes it through floating
// point and brings some a step nearer zero: one part in 32768, which no ear tells apart.
std::vector<std::int16_t> toMixFormat(std::span<const std::uint8_t> data, std::size_t channels) {
    const std::size_t frames = data.size() / (kBytesPerSample * channels);
    std::vector<std::int16_t> stereo(frames * 2);
    for (std::size_t frame = 0; frame < frames; ++frame) {
        if (channels == 1) {
            stereo[2 * frame] = stereo[2 * frame + 1] = sampleAt(data, frame);
        } else {
            stereo[2 * frame] = sampleAt(data, 2 * frame);
            stereo[2 * frame + 1] = sampleAt(data, 2 * frame + 1);
        }
    }
    return stereo;
}

std::optional<std::vector<std::int16_t>> refuse(std::string& reason, std::string why) {
    reason = std::move(why);
    return std::nullopt;
}

} // namespace

// The chunks are walked in order, each padded to an even length; the format must come before
// the data, and a chunk that runs past the end of the file or data that ends inside a frame is
// damage, not a short sound: SDL, strict as the game sets it, refuses both.
std::optional<std::vector<std::int16_t>> decodePcmWav(std::span<const std::uint8_t> file,
                                                      std::string& reason) {
    if (!hasTag(file, 0, "RIFF") || !hasTag(file, 8, "WAVE")) {
        return refuse(reason, "not a RIFF WAVE file");
    }
    std::optional<Format> format;
    std::size_t at = kRiffHeaderBytes;
    while (at + kChunkHeaderBytes <= file.size()) {
        const std::size_t size = littleEndian(file, at + 4, 4);
        const std::size_t body = at + kChunkHeaderBytes;
        if (size > file.size() - body) {
            return refuse(reason, "the file is cut off inside a chunk");
        }
        if (hasTag(file, at, "fmt ")) {
            if (size < kFormatBytes) {
                return refuse(reason, "its format chunk is too short");
            }
            format = readFormat(file.subspan(body, size));
        } else if (hasTag(file, at, "data")) {
            if (!format) {
                return refuse(reason, "its data comes before its format");
            }
            if (!isMixable(*format)) {
                return refuse(reason, describe(*format));
            }
            if (size % (kBytesPerSample * format->channels) != 0) {
                return refuse(reason, "the file is cut off inside a frame");
            }
            return toMixFormat(file.subspan(body, size), format->channels);
        }
        at = body + size + size % 2;
    }
    return refuse(reason, "it has no data chunk");
}

std::optional<std::vector<std::int16_t>> readPcmWav(const std::string& path, std::string& reason) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) {
        return refuse(reason, "it cannot be opened");
    }
    const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(stream),
                                         std::istreambuf_iterator<char>()};
    if (stream.bad()) {
        return refuse(reason, "it cannot be read");
    }
    return decodePcmWav(file, reason);
}
