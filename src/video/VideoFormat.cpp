#include "video/VideoFormat.h"

#include "video/ExportMessage.h"

#include <ostream>

namespace {

// 8K UHD: H.264's highest level ends just beyond it, and three queued frames take 400 MB.

// Quality for a game clip a website takes. The game's grass is fine noise that costs bits at
// any quality, so these settle for about 3 to 4 MB for 10 s at 800x600 and 60 fps, measured on
// a real game, and leave the second core to the drawing: x264's veryfast preset encodes at
// about twice real time there (medium at half the speed for a file 10% smaller); libvpx's good
// deadline takes four times real time, its realtime one under half of it.
// chronocell-video-bench measures both containers.
const std::vector<std::string> kMp4Video = {"-c:v", "libx264", "-preset",   "veryfast",
                                            "-crf", "25",      "-movflags", "+faststart"};
const std::vector<std::string> kMp4Audio = {"-c:a", "aac", "-b:a", "160k"};
const std::vector<std::string> kWebMVideo = {"-c:v",      "libvpx-vp9", "-row-mt",   "1",
                                             "-crf",      "45",         "-b:v",      "0",
                                             "-deadline", "realtime",   "-cpu-used", "8"};
// Opus is transparent for stereo game sound at this rate; ffmpeg resamples to its 48 kHz.
const std::vector<std::string> kWebMAudio = {"-c:a", "libopus", "-b:a", "128k"};

// The frames arrive bottom row first, as OpenGL reads them. They are converted to 4:2:0 with
// BT.709's matrix and tagged so: untagged, players guess the matrix and shift the colours.
const std::vector<std::string> kPicture = {
    "-vf",
    "vflip,scale=out_color_matrix=bt709:out_range=tv,format=yuv420p",
    "-pix_fmt",
    "yuv420p",
    "-colorspace",
    "bt709",
    "-color_primaries",
    "bt709",
    "-color_trc",
    "bt709",
    "-color_range",
    "tv"};

bool sizeFits(const VideoSettings& settings, std::ostream& errors) {
    const int width = settings.width;
    const int height = settings.height;
    constexpr int kSmallest = VideoSettings::kSmallestSide;
    if (width < kSmallest || height < kSmallest || width > VideoSettings::kWidest ||
        height > VideoSettings::kTallest) {
        errors << kCannotExport << "a frame of " << width << "x" << height << " pixels is outside "
               << kSmallest << "x" << kSmallest << " to " << VideoSettings::kWidest << "x"
               << VideoSettings::kTallest << "\n";
        return false;
    }
    // 4:2:0 keeps one colour sample for every two by two pixels.
    if (width % 2 != 0 || height % 2 != 0) {
        errors << kCannotExport << "a frame of " << width << "x" << height
               << " pixels has an odd side; both must be even\n";
        return false;
    }
    return true;
}

bool rateFits(const VideoSettings& settings, std::ostream& errors) {
    if (settings.framesPerSecond < VideoSettings::kFewestFramesPerSecond ||
        settings.framesPerSecond > VideoSettings::kMostFramesPerSecond) {
        errors << kCannotExport << settings.framesPerSecond << " frames a second is outside "
               << VideoSettings::kFewestFramesPerSecond << " to "
               << VideoSettings::kMostFramesPerSecond << "\n";
        return false;
    }
    return true;
}

void append(std::vector<std::string>& to, const std::vector<std::string>& from) {
    to.insert(to.end(), from.begin(), from.end());
}

} // namespace

std::optional<VideoFormat> VideoFormat::choose(const VideoSettings& settings,
                                               std::ostream& errors) {
    const std::filesystem::path extension = settings.output.extension();
    std::optional<VideoFormat> format;
    if (extension == ".mp4") {
        format = VideoFormat(Container::Mp4);
    } else if (extension == ".webm") {
        format = VideoFormat(Container::WebM);
    } else {
        errors << kCannotExport << settings.output
               << " names no video format it knows: the name must end in .mp4 or .webm\n";
        return std::nullopt;
    }
    if (!sizeFits(settings, errors) || !rateFits(settings, errors)) {
        return std::nullopt;
    }
    return format;
}

std::vector<std::string> VideoFormat::outputArguments(bool withAudio) const {
    std::vector<std::string> arguments = kPicture;
    const bool mp4 = container_ == Container::Mp4;
    append(arguments, mp4 ? kMp4Video : kWebMVideo);
    if (withAudio) {
        append(arguments, mp4 ? kMp4Audio : kWebMAudio);
    }
    // The muxer is named rather than guessed from the partial file's name.
    append(arguments, {"-f", mp4 ? "mp4" : "webm"});
    return arguments;
}
