#include "video/VideoEncoder.h"

#include "video/EncoderProgram.h"
#include "video/ExportMessage.h"
#include "video/VideoFormat.h"

#include "platform/Files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <ostream>
#include <sstream>
#include <vector>

namespace {

constexpr std::size_t kBytesPerPixel = 4;

// A file name given to ffmpeg through its file protocol: a name such as "-y.mp4" or
// "http:x.mp4" is then read as the file it names, not as an option or another protocol.
std::string fileUrl(const std::filesystem::path& path) {
    return "file:" + path.string();
}

bool audioReadable(const std::filesystem::path& audio, std::ostream& errors) {
    std::FILE* file = platform::openFile(audio, "rb");
    if (file == nullptr) {
        errors << kCannotExport << "cannot read the sound " << audio << ": " << std::strerror(errno)
               << "\n";
        return false;
    }
    std::fclose(file);
    return true;
}

std::vector<std::string> encoderArguments(const VideoSettings& settings, const VideoFormat& format,
                                          const std::filesystem::path& partial) {
    // Errors only, no banner or progress; -nostdin keeps ffmpeg from reading keys, while the
    // frames still come in through pipe:0; -y writes over the empty partial file.
    std::vector<std::string> arguments = {"-hide_banner", "-nostdin", "-loglevel", "error", "-y"};
    const std::string size = std::to_string(settings.width) + "x" + std::to_string(settings.height);
    const std::vector<std::string> frames = {
        "-f", "rawvideo", "-pix_fmt", "rgba",
        "-s", size,       "-r",       std::to_string(settings.framesPerSecond),
        "-i", "pipe:0"};
    arguments.insert(arguments.end(), frames.begin(), frames.end());
    const bool withAudio = !settings.audio.empty();
    if (withAudio) {
        const std::vector<std::string> sound = {"-f",   "s16le", "-ar",  "44100",
                                                "-ac",  "2",     "-i",   fileUrl(settings.audio),
                                                "-map", "0:v:0", "-map", "1:a:0"};
        arguments.insert(arguments.end(), sound.begin(), sound.end());
    }
    const std::vector<std::string> output = format.outputArguments(withAudio);
    arguments.insert(arguments.end(), output.begin(), output.end());
    arguments.push_back(fileUrl(partial));
    return arguments;
}

} // namespace

std::unique_ptr<VideoEncoder> VideoEncoder::start(const VideoSettings& settings,
                                                  std::ostream& errors) {
    const std::optional<VideoFormat> format = VideoFormat::choose(settings, errors);
    if (!format) {
        return nullptr;
    }
    const std::optional<std::filesystem::path> program = encoderProgram::find(errors);
    if (!program || (!settings.audio.empty() && !audioReadable(settings.audio, errors))) {
        return nullptr;
    }
    std::optional<PartialFile> partial = PartialFile::create(settings.output, errors);
    if (!partial) {
        return nullptr;
    }
    std::ostringstream whyNot;
    std::optional<ChildProcess> encoder =
        ChildProcess::start(*program, encoderArguments(settings, *format, partial->path()), whyNot);
    if (!encoder) {
        errors << kCannotExport << whyNot.str() << std::flush;
        return nullptr;
    }
    const std::size_t frameBytes = static_cast<std::size_t>(settings.width) *
                                   static_cast<std::size_t>(settings.height) * kBytesPerPixel;
    return std::unique_ptr<VideoEncoder>(
        new VideoEncoder(*program, std::move(*partial), std::move(*encoder), frameBytes));
}

VideoEncoder::VideoEncoder(std::filesystem::path program, PartialFile partial, ChildProcess encoder,
                           std::size_t frameBytes)
    : programName_(program.filename().string()), partial_(std::move(partial)),
      encoder_(std::move(encoder)), frames_(encoder_.takeInput(), frameBytes) {}

VideoEncoder::~VideoEncoder() {
    if (!done_) {
        abandon();
    }
}

bool VideoEncoder::writeFrame(const std::uint8_t* rgba) {
    return !done_ && rgba != nullptr && frames_.push(rgba);
}

std::string VideoEncoder::failure() const {
    return done_ ? "the export has ended" : frames_.failure();
}

bool VideoEncoder::finish(std::ostream& errors) {
    if (done_) {
        return false;
    }
    done_ = true;
    const bool framesWritten = frames_.close();
    std::string problem;
    if (!encoder_.wait(problem)) {
        reportEncoderFailure(problem, errors);
        partial_.remove();
        return false;
    }
    if (!framesWritten) {
        errors << kCannotExport << frames_.failure() << "\n";
        partial_.remove();
        return false;
    }
    return partial_.keep(errors);
}

void VideoEncoder::abandon() {
    done_ = true;
    // The encoder goes first: a writer waiting on a full pipe then fails at once.
    encoder_.stop();
    frames_.cancel();
    partial_.remove();
}

void VideoEncoder::reportEncoderFailure(const std::string& problem, std::ostream& errors) const {
    errors << kCannotExport << programName_ << " " << problem << "\n";
    const std::string said = encoder_.lastErrorLine();
    if (!said.empty()) {
        errors << programName_ << ": " << said << "\n";
    }
}
