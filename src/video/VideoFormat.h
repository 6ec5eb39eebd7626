#pragma once

#include "video/VideoSettings.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// The container and codecs a video file's name asks for, and the frame sizes and rates they
// take: .mp4 is H.264 with AAC, which phones and websites play; .webm is VP9 with Opus.
class VideoFormat {
  public:
    // The format for `settings`, or none after one line on `errors` saying what is wrong with
    // the name, the size or the rate.
    static std::optional<VideoFormat> choose(const VideoSettings& settings, std::ostream& errors);

    // ffmpeg's arguments after its inputs: the picture's filters, the codecs, the muxer.
    std::vector<std::string> outputArguments(bool withAudio) const;

  private:
    enum class Container { Mp4, WebM };
    explicit VideoFormat(Container container) : container_(container) {}

    Container container_;
};
