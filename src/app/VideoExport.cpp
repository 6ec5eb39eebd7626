#include "app/VideoExport.h"

#include "app/CommandLine.h"
#include "app/Startup.h"
#include "export/OffscreenContext.h"
#include "export/VideoDrawing.h"
#include "export/VideoPlanning.h"
#include "platform/Console.h"
#include "replay/HeadlessReplay.h"
#include "video/EncoderProgram.h"
#include "video/ExportMessage.h"
#include "video/ExportProgress.h"
#include "video/TemporaryFile.h"
#include "video/VideoEncoder.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace {

using Stopwatch = std::chrono::steady_clock;

int exitCodeOf(ExportOutcome outcome) {
    switch (outcome) {
    case ExportOutcome::Done:
        return kExitPlayed;
    case ExportOutcome::Diverged:
        return kExitReplayDiverged;
    case ExportOutcome::Stopped:
        return kExitExportStopped;
    case ExportOutcome::Failed:
        break;
    }
    return kExitExportFailed;
}

// A recorded window of a size the encoders do not take is brought within it, to even sides.
int evenWithin(int side, int largest) {
    return std::clamp(side, VideoSettings::kSmallestSide, largest) / 2 * 2;
}

struct VideoSize {
    int width;
    int height;
};

VideoSize sizeOf(const CommandLine& commandLine, const RecordingHeader& header) {
    if (commandLine.videoWidth > 0) {
        return {commandLine.videoWidth, commandLine.videoHeight};
    }
    return {evenWithin(header.width, VideoSettings::kWidest),
            evenWithin(header.height, VideoSettings::kTallest)};
}

// Draws the planned pictures into `capture` and hands them to the encoder.
ExportOutcome encodeFrames(const CommandLine& commandLine, const Settings& settings,
                           const FramePlan& plan, FrameCapture& capture, VideoEncoder& encoder,
                           std::ostream& errors) {
    const std::string name = std::filesystem::path(*commandLine.videoFile).filename().string();
    ExportProgress progress(errors, name, plan.frameCount(), platform::errorsGoToTerminal());
    const auto started = Stopwatch::now();
    const FrameCapture::Deliver toEncoder = [&](const std::uint8_t* rgba, std::uint64_t frames) {
        for (std::uint64_t i = 0; i < frames; ++i) {
            if (!encoder.writeFrame(rgba)) {
                return false;
            }
        }
        return true;
    };
    const DrawingProgress told = [&](std::uint64_t frames) {
        progress.update(frames, std::chrono::duration<double>(Stopwatch::now() - started).count());
    };
    ExportOutcome outcome =
        drawVideo(*commandLine.replayFile, settings, plan, capture, toEncoder, told, errors);
    if (outcome == ExportOutcome::Diverged || outcome == ExportOutcome::Stopped) {
        encoder.abandon();
        return outcome;
    }
    // An encoder that stopped taking frames is waited for, to tell what it said; the video is
    // kept only when every frame reached it and it ended well.
    if (!encoder.finish(errors) || outcome == ExportOutcome::Failed) {
        return ExportOutcome::Failed;
    }
    std::error_code unknown;
    const std::uintmax_t bytes = std::filesystem::file_size(*commandLine.videoFile, unknown);
    progress.finish(unknown ? 0 : bytes, plan.durationSeconds());
    return ExportOutcome::Done;
}

// The drawing run in an offscreen context of its own, the encoder taking its frames. The context
// comes first and goes last: the capture's framebuffer and pixel buffers live in it.
ExportOutcome encode(const CommandLine& commandLine, const Settings& settings,
                     const PlannedVideo& video, const std::filesystem::path& soundFile,
                     std::ostream& errors) {
    const FramePlan& plan = video.frames;
    const VideoSize size = sizeOf(commandLine, video.header);
    const std::unique_ptr<OffscreenContext> context = OffscreenContext::open(errors);
    if (context == nullptr) {
        return ExportOutcome::Failed;
    }
    if (!context->loadFunctions()) {
        errors << kCannotExport << "the OpenGL driver gives none of its functions" << std::endl;
        return ExportOutcome::Failed;
    }
    configureDrawingState();
    FrameCapture capture(size.width, size.height);
    if (!capture.valid()) {
        errors << kCannotExport << "the OpenGL driver cannot draw a " << size.width << "x"
               << size.height << " picture" << std::endl;
        return ExportOutcome::Failed;
    }
    std::unique_ptr<VideoEncoder> encoder = VideoEncoder::start(
        {*commandLine.videoFile, soundFile, size.width, size.height, commandLine.videoFps}, errors);
    if (encoder == nullptr) {
        return ExportOutcome::Failed;
    }
    return encodeFrames(commandLine, settings, plan, capture, *encoder, errors);
}

// The sound track mixed into a scratch file the encoder reads, gone again on every way out,
// then the drawing run.
ExportOutcome mixAndEncode(const CommandLine& commandLine, const Settings& settings,
                           const PlannedVideo& video, std::ostream& errors) {
    std::optional<TemporaryFile> soundFile =
        TemporaryFile::create("chronocell-sound", ".pcm", errors);
    if (!soundFile || !video.sound->write(*soundFile, video.frames.durationSeconds(), errors)) {
        return ExportOutcome::Failed;
    }
    return encode(commandLine, settings, video, soundFile->path(), errors);
}

} // namespace

int exportVideo(const CommandLine& commandLine, const Settings& settings, std::ostream& errors) {
    if (!encoderProgram::find(errors)) {
        return kExitExportFailed;
    }
    PlannedVideo video(commandLine.videoFps);
    ExportOutcome outcome = planVideo(*commandLine.replayFile, settings, video, errors);
    if (outcome == ExportOutcome::Done) {
        outcome = mixAndEncode(commandLine, settings, video, errors);
    }
    if (outcome == ExportOutcome::Stopped) {
        errors << "chronocell: video export stopped; no file was written" << std::endl;
    }
    return exitCodeOf(outcome);
}
