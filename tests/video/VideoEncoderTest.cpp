// The encoder with Debian's real ffmpeg, and with small scripts standing in for an encoder that
// fails or will not stop. Videos are read back with ffprobe and decoded with ffmpeg.
#include "video/VideoEncoder.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <numbers>
#include <optional>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr int kRate = 30;
constexpr int kFrames = 30;
constexpr int kSampleRate = 44100;
constexpr double kToneHertz = 440.0;
constexpr double kToneAmplitude = 8000.0;
// What a lossy codec may change in a flat colour, well short of the frames' differences.
constexpr int kColourTolerance = 8;
constexpr double kDurationTolerance = 0.1;

using Rgb = std::array<int, 3>;

// Each frame's green steps far from the last one's, so a frame dropped, repeated or swapped
// shows; the picture's top half is blue and its bottom half red, so a flip shows.
int greenOf(int frame) {
    return 16 + (frame * 71) % 224;
}
Rgb topColour(int frame) {
    return {40, greenOf(frame), 220};
}
Rgb bottomColour(int frame) {
    return {220, greenOf(frame), 40};
}

// A frame as OpenGL reads it back: its bottom row first.
std::vector<std::uint8_t> bottomUpFrame(int frame, int width, int height) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
    for (int row = 0; row < height; ++row) {
        const Rgb colour = row < height / 2 ? bottomColour(frame) : topColour(frame);
        for (int column = 0; column < width; ++column) {
            std::uint8_t* pixel = &pixels[(static_cast<std::size_t>(row) * width + column) * 4];
            std::copy(colour.begin(), colour.end(), pixel);
            pixel[3] = 255;
        }
    }
    return pixels;
}

// Raw 16-bit little-endian stereo: what the offline mix writes.
void writeTone(const fs::path& path, double seconds) {
    std::ofstream file(path, std::ios::binary);
    const int samples = static_cast<int>(seconds * kSampleRate);
    for (int sample = 0; sample < samples; ++sample) {
        const double phase = 2.0 * std::numbers::pi * kToneHertz * sample / kSampleRate;
        const auto value = static_cast<std::uint16_t>(
            static_cast<std::int16_t>(std::lround(kToneAmplitude * std::sin(phase))));
        const char bytes[] = {static_cast<char>(value & 0xffu), static_cast<char>(value >> 8)};
        file.write(bytes, 2).write(bytes, 2);
    }
}

// One shell word for each argument, so that no name in it is read as anything else.
std::string shellCommand(const std::vector<std::string>& arguments) {
    std::string command;
    for (const std::string& argument : arguments) {
        command += " '";
        for (const char c : argument) {
            command += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        command += "'";
    }
    return command;
}

std::string outputOf(const std::vector<std::string>& arguments) {
    std::string output;
    FILE* pipe = ::popen(shellCommand(arguments).c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char chunk[4096];
    std::size_t read = 0;
    while ((read = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) {
        output.append(chunk, read);
    }
    ::pclose(pipe);
    return output;
}

// Each stream's fields in ffprobe's order, and the container's duration.
struct Probe {
    std::vector<std::map<std::string, std::string>> streams;
    double duration = 0.0;
};

Probe probe(const fs::path& video) {
    const std::string json =
        outputOf({"ffprobe", "-v", "error", "-count_frames", "-show_entries",
                  "stream=codec_name,width,height,r_frame_rate,nb_read_frames", "-show_entries",
                  "format=duration", "-of", "json", "file:" + video.string()});
    Probe result;
    const std::regex field(R"re("(\w+)": "?([^",\n]*)"?)re");
    for (auto match = std::sregex_iterator(json.begin(), json.end(), field);
         match != std::sregex_iterator(); ++match) {
        const std::string key = (*match)[1];
        const std::string value = (*match)[2];
        if (key == "duration") {
            result.duration = std::stod(value);
            continue;
        }
        if (key == "codec_name") {
            result.streams.emplace_back();
        }
        if (!result.streams.empty()) {
            result.streams.back()[key] = value;
        }
    }
    return result;
}

// Every frame of the video decoded to RGBA, top row first.
std::string decodedFrames(const fs::path& video) {
    return outputOf({"ffmpeg", "-v", "error", "-nostdin", "-i", "file:" + video.string(), "-f",
                     "rawvideo", "-pix_fmt", "rgba", "pipe:1"});
}

Rgb decodedPixel(const std::string& frames, int frame, int row, int column) {
    const std::size_t at =
        ((static_cast<std::size_t>(frame) * kHeight + row) * kWidth + column) * 4;
    return {static_cast<std::uint8_t>(frames[at]), static_cast<std::uint8_t>(frames[at + 1]),
            static_cast<std::uint8_t>(frames[at + 2])};
}

bool near(const Rgb& expected, const Rgb& actual) {
    for (std::size_t channel = 0; channel < expected.size(); ++channel) {
        if (std::abs(expected[channel] - actual[channel]) > kColourTolerance) {
            return false;
        }
    }
    return true;
}

std::string describe(const Rgb& colour) {
    return std::to_string(colour[0]) + "," + std::to_string(colour[1]) + "," +
           std::to_string(colour[2]);
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// No child of this process is left, running or unreaped.
bool noChildLeft() {
    int status = 0;
    return ::waitpid(-1, &status, WNOHANG) < 0 && errno == ECHILD;
}

// CHRONOCELL_FFMPEG, unset when given none, and PATH when given one, for as long as it lives.
class EncoderOverride {
  public:
    explicit EncoderOverride(const std::optional<std::string>& program,
                             const char* searchPath = nullptr)
        : path_(std::getenv("PATH")) {
        if (program) {
            ::setenv("CHRONOCELL_FFMPEG", program->c_str(), 1);
        } else {
            ::unsetenv("CHRONOCELL_FFMPEG");
        }
        if (searchPath != nullptr) {
            ::setenv("PATH", searchPath, 1);
        }
    }
    ~EncoderOverride() {
        ::unsetenv("CHRONOCELL_FFMPEG");
        ::setenv("PATH", path_.c_str(), 1);
    }
    EncoderOverride(const EncoderOverride&) = delete;
    EncoderOverride& operator=(const EncoderOverride&) = delete;

  private:
    std::string path_;
};

// The current folder for as long as it lives.
class WorkingFolder {
  public:
    explicit WorkingFolder(const fs::path& folder) : previous_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~WorkingFolder() { fs::current_path(previous_); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

  private:
    fs::path previous_;
};

class VideoEncoderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(scratch_);
        fs::create_directories(outputs_);
        writeTone(audio_, static_cast<double>(kFrames) / kRate);
    }
    void TearDown() override { fs::remove_all(scratch_); }

    // A shell script standing in for ffmpeg.
    fs::path script(const std::string& name, const std::string& body) const {
        const fs::path path = scratch_ / name;
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        fs::permissions(path, fs::perms::owner_all);
        return path;
    }

    VideoSettings settings(const fs::path& output) const {
        return {outputs_ / output, audio_, kWidth, kHeight, kRate};
    }

    const fs::path scratch_ =
        fs::temp_directory_path() / ("chronocell-video-" + std::to_string(::getpid()));
    // Where the videos go, and nothing else, so that anything left behind shows.
    const fs::path outputs_ = scratch_ / "out";
    const fs::path audio_ = scratch_ / "mix.raw";
};

// Catches a container given the wrong codecs, the size or rate passed wrongly, frames lost,
// repeated or reordered in the queue, a picture left upside down, colours converted with one
// matrix and tagged with another, sound left out or added to a silent video, and a name that
// starts with a dash or holds quotes and bytes outside UTF-8 read as anything but a file.
TEST_F(VideoEncoderTest, EncodesFramesAndSoundThatDecodeBackTheRightWayUp) {
    struct Case {
        const char* name;
        fs::path output;
        bool withAudio;
        std::vector<std::string> codecs;
    };
    const std::vector<Case> cases = {
        {"mp4", "clip.mp4", true, {"h264", "aac"}},
        {"webm", "clip.webm", true, {"vp9", "opus"}},
        {"silent, oddly named", "-y 'quoted' \"twice\" \xff\xfe.mp4", false, {"h264"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        VideoSettings wanted = settings(test.output);
        // Relative, as a player types it, so that a leading dash reaches ffmpeg as it is.
        wanted.output = test.output;
        if (!test.withAudio) {
            wanted.audio.clear();
        }
        std::ostringstream errors;
        {
            const WorkingFolder inOutputs(outputs_);
            const std::unique_ptr<VideoEncoder> encoder = VideoEncoder::start(wanted, errors);
            ASSERT_NE(nullptr, encoder) << errors.str();
            for (int frame = 0; frame < kFrames; ++frame) {
                ASSERT_TRUE(encoder->writeFrame(bottomUpFrame(frame, kWidth, kHeight).data()))
                    << encoder->failure();
            }
            ASSERT_TRUE(encoder->finish(errors)) << errors.str();
        }
        EXPECT_EQ(std::vector<std::string>{test.output.string()}, namesIn(outputs_));
        const fs::path video = outputs_ / test.output;

        const Probe found = probe(video);
        ASSERT_EQ(test.codecs.size(), found.streams.size());
        for (std::size_t stream = 0; stream < test.codecs.size(); ++stream) {
            EXPECT_EQ(test.codecs[stream], found.streams[stream].at("codec_name"));
        }
        const auto& picture = found.streams[0];
        EXPECT_EQ(std::to_string(kWidth), picture.at("width"));
        EXPECT_EQ(std::to_string(kHeight), picture.at("height"));
        EXPECT_EQ(std::to_string(kRate) + "/1", picture.at("r_frame_rate"));
        EXPECT_EQ(std::to_string(kFrames), picture.at("nb_read_frames"));
        EXPECT_NEAR(static_cast<double>(kFrames) / kRate, found.duration, kDurationTolerance);

        const std::string frames = decodedFrames(video);
        ASSERT_EQ(static_cast<std::size_t>(kFrames) * kWidth * kHeight * 4, frames.size());
        for (int frame = 0; frame < kFrames; ++frame) {
            const Rgb top = decodedPixel(frames, frame, kHeight / 4, kWidth / 2);
            const Rgb bottom = decodedPixel(frames, frame, kHeight * 3 / 4, kWidth / 2);
            EXPECT_TRUE(near(topColour(frame), top))
                << "frame " << frame << " top " << describe(top) << ", drawn "
                << describe(topColour(frame));
            EXPECT_TRUE(near(bottomColour(frame), bottom))
                << "frame " << frame << " bottom " << describe(bottom) << ", drawn "
                << describe(bottomColour(frame));
        }
        fs::remove(video);
    }
}

// Catches a failure that leaves the output or its partial file behind, that is not reported
// in a line or two naming the cause, that lets a video be made of a size 4:2:0 cannot hold, or
// that kills the game with SIGPIPE when the encoder dies while frames are being written.
TEST_F(VideoEncoderTest, RefusesOrFailsWithOneReasonAndLeavesNoFile) {
    const fs::path quitting =
        script("quitting-encoder", "echo 'fake encoder: the codec exploded' >&2\nexit 1");
    fs::create_directory(outputs_ / "taken.mp4");
    struct Case {
        const char* name;
        VideoSettings settings;
        std::optional<std::string> encoder;
        std::string message;
        // Frames of the size asked for are written to an encoder that starts.
        int frames;
        const char* searchPath = nullptr;
    };
    const VideoSettings good = settings("clip.mp4");
    auto with = [&good](auto change) {
        VideoSettings changed = good;
        change(changed);
        return changed;
    };
    const std::vector<Case> cases = {
        {"no encoder", good, "/nonexistent/ffmpeg", "(/nonexistent/ffmpeg) was not found", 0},
        {"encoder not on PATH", good, "chronocell-no-such-encoder", "was not found", 0},
        {"no ffmpeg on PATH", good, std::nullopt,
         "ffmpeg was not found (install Debian's ffmpeg package)", 0,
         "/nonexistent:/nonexistent/bin"},
        {"encoder fails at once", with([](VideoSettings& s) { s.width = 640, s.height = 480; }),
         quitting.string(),
         "exited with status 1\nquitting-encoder: fake encoder: the codec exploded\n", 20},
        {"unknown extension", settings("clip.avi"), std::nullopt, "must end in .mp4 or .webm", 0},
        {"no extension", settings("clip"), std::nullopt, "must end in .mp4 or .webm", 0},
        {"missing folder", settings("missing/clip.mp4"), std::nullopt,
         "missing/clip.mp4\": No such file or directory", 0},
        {"a folder in the way", settings("taken.mp4"), std::nullopt, "taken.mp4\": Is a directory",
         0},
        {"missing sound", with([&](VideoSettings& s) { s.audio = scratch_ / "none.raw"; }),
         std::nullopt, "none.raw\": No such file or directory", 0},
        {"odd width", with([](VideoSettings& s) { s.width = 63; }), std::nullopt,
         "63x48 pixels has an odd side", 0},
        {"odd height", with([](VideoSettings& s) { s.height = 47; }), std::nullopt,
         "64x47 pixels has an odd side", 0},
        {"no width", with([](VideoSettings& s) { s.width = 0; }), std::nullopt,
         "0x48 pixels is outside", 0},
        {"narrower than the command line allows", with([](VideoSettings& s) { s.width = 14; }),
         std::nullopt, "14x48 pixels is outside 16x16 to 7680x4320", 0},
        {"negative height", with([](VideoSettings& s) { s.height = -48; }), std::nullopt,
         "64x-48 pixels is outside", 0},
        {"beyond 8K", with([](VideoSettings& s) { s.width = 7680, s.height = 4322; }), std::nullopt,
         "7680x4322 pixels is outside", 0},
        {"no frame rate", with([](VideoSettings& s) { s.framesPerSecond = 0; }), std::nullopt,
         "0 frames a second is outside", 0},
        {"absurd frame rate", with([](VideoSettings& s) { s.framesPerSecond = 100000; }),
         std::nullopt, "100000 frames a second is outside", 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const EncoderOverride encoder(test.encoder, test.searchPath);
        std::ostringstream errors;
        std::unique_ptr<VideoEncoder> started = VideoEncoder::start(test.settings, errors);
        if (test.frames > 0) {
            ASSERT_NE(nullptr, started) << errors.str();
            const std::vector<std::uint8_t> frame =
                bottomUpFrame(0, test.settings.width, test.settings.height);
            bool refused = false;
            for (int written = 0; written < test.frames && !refused; ++written) {
                refused = !started->writeFrame(frame.data());
            }
            EXPECT_TRUE(refused) << "the frames outlast the encoder's pipe";
            EXPECT_NE(std::string::npos, started->failure().find("Broken pipe"))
                << started->failure();
            EXPECT_FALSE(started->finish(errors));
        } else {
            EXPECT_EQ(nullptr, started);
        }
        const std::string said = errors.str();
        EXPECT_NE(std::string::npos, said.find(test.message)) << said;
        EXPECT_EQ(0u, said.find("chronocell: cannot export a video: ")) << said;
        EXPECT_LE(std::count(said.begin(), said.end(), '\n'), 2) << said;
        // Gone as soon as the failure is told, not only when the encoder goes.
        EXPECT_EQ(std::vector<std::string>{"taken.mp4"}, namesIn(outputs_));
        started.reset();
        EXPECT_TRUE(fs::is_empty(outputs_ / "taken.mp4"));
    }
}

// Catches an abandoned export that leaves its partial file, or its encoder running or unreaped,
// including an encoder that ignores SIGTERM.
TEST_F(VideoEncoderTest, AbandonedMidStreamLeavesNoFileAndNoProcess) {
    const fs::path stubborn = script("stubborn-encoder", "trap '' TERM\nexec cat >/dev/null");
    struct Case {
        const char* name;
        std::optional<std::string> encoder;
        bool dropped;
    };
    const std::vector<Case> cases = {
        {"ffmpeg abandoned", std::nullopt, false},
        {"ffmpeg dropped unfinished", std::nullopt, true},
        {"an encoder deaf to SIGTERM abandoned", stubborn.string(), false},
    };
    const std::vector<std::uint8_t> frame = bottomUpFrame(0, kWidth, kHeight);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const EncoderOverride encoder(test.encoder);
        std::ostringstream errors;
        std::unique_ptr<VideoEncoder> started = VideoEncoder::start(settings("clip.mp4"), errors);
        ASSERT_NE(nullptr, started) << errors.str();
        for (int written = 0; written < kFrames / 2; ++written) {
            ASSERT_TRUE(started->writeFrame(frame.data())) << started->failure();
        }
        EXPECT_EQ(1u, namesIn(outputs_).size()) << "the partial file is made at the start";
        if (test.dropped) {
            started.reset();
        } else {
            started->abandon();
            EXPECT_FALSE(started->writeFrame(frame.data()));
        }
        EXPECT_TRUE(namesIn(outputs_).empty());
        EXPECT_TRUE(noChildLeft());
        started.reset();
        EXPECT_EQ("", errors.str());
    }
}

} // namespace
