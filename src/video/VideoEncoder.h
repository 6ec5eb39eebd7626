#pragma once

#include "platform/ChildProcess.h"
#include "video/FramePipe.h"
#include "video/PartialFile.h"
#include "video/VideoSettings.h"

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>

// A video made by Debian's ffmpeg from frames read back from OpenGL (RGBA, bottom row first)
// and a sound file mixed beforehand. ffmpeg writes a partial file beside the output, which
// becomes the output only when everything succeeded: a failure, an abandoned export (Ctrl+C)
// or an encoder dropped unfinished leaves no file behind.
class VideoEncoder {
  public:
    // The started encoder, or none after one line on `errors`: no encoder to run, a name
    // that is neither .mp4 nor .webm, a size or rate it cannot take, an output that cannot be
    // written, an unreadable sound file. The command line then exits with status 2.
    static std::unique_ptr<VideoEncoder> start(const VideoSettings& settings, std::ostream& errors);
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // Queues one frame of width * height * 4 bytes, waiting while the encoder is behind; false
    // once the encoder has stopped taking frames, and `failure()` says why. `finish` then tells
    // what ffmpeg said.
    bool writeFrame(const std::uint8_t* rgba);
    std::string failure() const;
    // Ends the video and puts it in place; false after a line on `errors` (and ffmpeg's own
    // last line, when it wrote one) saying why, and no file is left.
    bool finish(std::ostream& errors);
    // Stops the encoder and removes the partial file.
    void abandon();

  private:
    VideoEncoder(std::filesystem::path program, PartialFile partial, ChildProcess encoder,
                 std::size_t frameBytes);
    void reportEncoderFailure(const std::string& problem, std::ostream& errors) const;

    std::string programName_;
    PartialFile partial_;
    ChildProcess encoder_;
    FramePipe frames_;
    bool done_ = false;
};
