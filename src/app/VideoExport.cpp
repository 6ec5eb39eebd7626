#include "app/VideoExport.h"

#include "app/CommandLine.h"
#include "app/GameFrameOutput.h"
#include "app/GameResources.h"
#include "app/QuitSignals.h"
#include "app/Startup.h"
#include "app/VideoFrameOutput.h"
#include "app/VideoSoundTrack.h"
#include "game/CommandEffects.h"
#include "game/GameContext.h"
#include "game/StatePass.h"
#include "model/Model.h"
#include "replay/HeadlessFrameOutput.h"
#include "replay/HeadlessReplay.h"
#include "replay/ReplaySession.h"
#include "video/EncoderProgram.h"
#include "video/ExportMessage.h"
#include "video/ExportProgress.h"
#include "video/FrameCapture.h"
#include "video/FramePlan.h"
#include "video/TimelineAnimationClock.h"
#include "video/VideoEncoder.h"
#include "world/ParticleSystem.h"

#include <glad/gl.h>

#include <GLFW/glfw3.h>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using Stopwatch = std::chrono::steady_clock;

// What the encoders take; a recorded window of another size is brought within it, to even sides.
constexpr int kSmallestSide = 16;
constexpr int kWidest = 7680;
constexpr int kTallest = 4320;

enum class Outcome { Done, Failed, Diverged, Stopped };

int exitCodeOf(Outcome outcome) {
    switch (outcome) {
    case Outcome::Done:
        return kExitPlayed;
    case Outcome::Diverged:
        return kExitReplayDiverged;
    case Outcome::Stopped:
        return kExitExportStopped;
    case Outcome::Failed:
        break;
    }
    return kExitExportFailed;
}

int evenWithin(int side, int largest) {
    return std::clamp(side, kSmallestSide, largest) / 2 * 2;
}

// The recording opened again for each run through it.
struct OpenedRecording {
    RecordingReader reader;
    RecordingHeader header;
};

std::optional<OpenedRecording> reopen(const std::string& path, std::ostream& errors) {
    RecordingHeader header;
    std::optional<RecordingReader> reader = openRecording(path, header, errors);
    if (!reader) {
        return std::nullopt;
    }
    return OpenedRecording{std::move(*reader), header};
}

// The scratch file the sound track is mixed into before the encoder reads it; gone with it.
class ScratchSoundFile {
  public:
    ScratchSoundFile()
        : path_(std::filesystem::temp_directory_path() /
                ("chronocell-sound-" + std::to_string(getpid()) + ".pcm")) {}
    ~ScratchSoundFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    ScratchSoundFile(const ScratchSoundFile&) = delete;
    ScratchSoundFile& operator=(const ScratchSoundFile&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// The first run through the recording: the rules alone on the paced timeline, which gives the
// passes that become frames, and the sounds mixed at their times. A recording that diverges or
// is too long to export is found here, before anything is written.
Outcome planVideo(OpenedRecording recording, const Settings& settings, FramePlan& plan,
                  std::unique_ptr<VideoSoundTrack>& track, std::ostream& errors) {
    auto context = std::make_unique<GameContext>();
    context->settings = settings;
    applyRecordedSettings(recording.header, context->settings);
    ParticleSystem playerParticles = ParticleSystem::withoutGpu();
    ParticleSystem clockParticles = ParticleSystem::withoutGpu();
    context->links.playerParticles = &playerParticles;
    context->links.clockParticles = &clockParticles;
    std::ostringstream summaries;
    ReplaySession session(std::move(recording.reader), recording.header.gameVersion, summaries,
                          errors);
    session.clock().paceOnTimeline();
    track = std::make_unique<VideoSoundTrack>(settings, session.clock(), errors);
    context->links.events = track.get();
    HeadlessFrameOutput output;
    prepareFirstPass(*context, output);
    Outcome outcome = Outcome::Done;
    for (ReplaySession::Step step = session.playPass(*context, output, *track);
         step != ReplaySession::Step::Ended; step = session.playPass(*context, output, *track)) {
        if (step == ReplaySession::Step::Diverged) {
            session.reportDivergence();
            outcome = Outcome::Diverged;
            break;
        }
        if (!plan.addPass(session.passNumber(), session.clock().shownSeconds())) {
            errors << kCannotExport << "the recording lasts longer than the "
                   << FramePlan::kLongestSeconds / 3600.0 << " hours a video may" << std::endl;
            outcome = Outcome::Failed;
            break;
        }
        if (quitSignals::received()) {
            outcome = Outcome::Stopped;
            break;
        }
    }
    plan.finish();
    context->unlinkResources();
    return outcome;
}

// Everything the drawing run needs, made in order and taken down in the reverse order.
struct DrawingRun {
    std::unique_ptr<GameContext> context = std::make_unique<GameContext>();
    std::unique_ptr<GameResources> resources;
};

// The second run: the same passes with the game's drawing for those that become frames, each
// picture read back and handed to the encoder as often as the plan shows it.
Outcome renderVideo(OpenedRecording recording, const Settings& settings, const FramePlan& plan,
                    FrameCapture& capture, VideoEncoder& encoder, GLFWwindow* window,
                    ExportProgress& progress) {
    DrawingRun run;
    run.context->settings = settings;
    applyRecordedSettings(recording.header, run.context->settings);
    run.resources = createGameResources(*run.context);
    std::ostringstream summaries;
    std::ostringstream unexpected;
    ReplaySession session(std::move(recording.reader), recording.header.gameVersion, summaries,
                          unexpected);
    session.clock().paceOnTimeline();
    TimelineAnimationClock animation(session.clock());
    if (run.resources->characterModel != nullptr) {
        run.resources->characterModel->animationClock = &animation;
    }
    GameFrameOutput drawing(window, *run.resources);
    VideoFrameOutput output(drawing);
    CommandEffects noWindow;
    capture.bind();
    prepareFirstPass(*run.context, output);

    std::uint64_t written = 0;
    const auto started = Stopwatch::now();
    const FrameCapture::Deliver deliver = [&](const std::uint8_t* rgba, std::uint64_t frames) {
        for (std::uint64_t i = 0; i < frames; ++i) {
            if (!encoder.writeFrame(rgba)) {
                return false;
            }
        }
        written += frames;
        return true;
    };
    Outcome outcome = Outcome::Done;
    for (const FramePlan::Shown& shown : plan.shown()) {
        ReplaySession::Step step = ReplaySession::Step::Played;
        while (step == ReplaySession::Step::Played && session.passNumber() + 1 < shown.pass) {
            output.drawNextPass(false);
            step = session.playPass(*run.context, output, noWindow);
        }
        output.drawNextPass(true);
        step = step == ReplaySession::Step::Played
                   ? session.playPass(*run.context, output, noWindow)
                   : step;
        if (step != ReplaySession::Step::Played) {
            // The first run played these very passes, so only a fault can bring this.
            session.reportDivergence();
            outcome = Outcome::Diverged;
            break;
        }
        if (quitSignals::received()) {
            outcome = Outcome::Stopped;
            break;
        }
        if (!capture.capture(shown.frames, deliver)) {
            outcome = quitSignals::received() ? Outcome::Stopped : Outcome::Failed;
            break;
        }
        progress.update(written, std::chrono::duration<double>(Stopwatch::now() - started).count());
    }
    if (outcome == Outcome::Done && !capture.flush(deliver)) {
        outcome = quitSignals::received() ? Outcome::Stopped : Outcome::Failed;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (run.resources->characterModel != nullptr) {
        run.resources->characterModel->animationClock = nullptr;
    }
    run.context->unlinkResources();
    return outcome;
}

struct VideoSize {
    int width;
    int height;
};

VideoSize sizeOf(const CommandLine& commandLine, const RecordingHeader& header) {
    if (commandLine.videoWidth > 0) {
        return {commandLine.videoWidth, commandLine.videoHeight};
    }
    return {evenWithin(header.width, kWidest), evenWithin(header.height, kTallest)};
}

// The drawing run in a context of its own, with the encoder taking its frames.
Outcome encode(const CommandLine& commandLine, const Settings& settings, const FramePlan& plan,
               const std::filesystem::path& soundFile, std::ostream& errors) {
    std::optional<OpenedRecording> recording = reopen(*commandLine.replayFile, errors);
    if (!recording) {
        return Outcome::Failed;
    }
    const VideoSize size = sizeOf(commandLine, recording->header);
    GLFWwindow* window = createHiddenWindow(errors);
    if (window == nullptr) {
        return Outcome::Failed;
    }
    if (!loadOpenGlFunctions()) {
        glfwTerminate();
        return Outcome::Failed;
    }
    configureOpenGl(window, settings);
    Outcome outcome = Outcome::Failed;
    {
        FrameCapture capture(size.width, size.height);
        std::unique_ptr<VideoEncoder> encoder;
        if (!capture.valid()) {
            errors << kCannotExport << "the OpenGL driver cannot draw a " << size.width << "x"
                   << size.height << " picture" << std::endl;
        } else {
            encoder = VideoEncoder::start(
                {*commandLine.videoFile, soundFile, size.width, size.height, commandLine.videoFps},
                errors);
        }
        if (encoder != nullptr) {
            const std::string name =
                std::filesystem::path(*commandLine.videoFile).filename().string();
            ExportProgress progress(errors, name, plan.frameCount(), isatty(STDERR_FILENO) == 1);
            outcome = renderVideo(std::move(*recording), settings, plan, capture, *encoder, window,
                                  progress);
            if (outcome == Outcome::Done && encoder->finish(errors)) {
                std::error_code unknown;
                const std::uintmax_t bytes =
                    std::filesystem::file_size(*commandLine.videoFile, unknown);
                progress.finish(unknown ? 0 : bytes, plan.durationSeconds());
            } else if (outcome == Outcome::Done) {
                outcome = Outcome::Failed;
            } else {
                if (outcome == Outcome::Failed) {
                    errors << kCannotExport << encoder->failure() << std::endl;
                }
                encoder->abandon();
            }
        }
    }
    glfwTerminate();
    return outcome;
}

} // namespace

int exportVideo(const CommandLine& commandLine, const Settings& settings, std::ostream& errors) {
    if (!encoderProgram::find(errors)) {
        return kExitExportFailed;
    }
    std::optional<OpenedRecording> recording = reopen(*commandLine.replayFile, errors);
    if (!recording) {
        return kExitUnreadableRecording;
    }
    FramePlan plan(commandLine.videoFps);
    std::unique_ptr<VideoSoundTrack> track;
    Outcome outcome = planVideo(std::move(*recording), settings, plan, track, errors);
    ScratchSoundFile soundFile;
    if (outcome == Outcome::Done &&
        !track->write(soundFile.path(), plan.durationSeconds(), errors)) {
        outcome = Outcome::Failed;
    }
    if (outcome == Outcome::Done) {
        outcome = encode(commandLine, settings, plan, soundFile.path(), errors);
    }
    if (outcome == Outcome::Stopped) {
        errors << "chronocell: video export stopped; no file was written" << std::endl;
    }
    return exitCodeOf(outcome);
}
