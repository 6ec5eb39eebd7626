#include "export/VideoDrawing.h"

#include "export/VideoFrameOutput.h"
#include "game/CommandEffects.h"
#include "game/GameContext.h"
#include "game/StatePass.h"
#include "model/Model.h"
#include "platform/QuitSignals.h"
#include "replay/ReplaySession.h"
#include "scene/GameFrameOutput.h"
#include "scene/GameResources.h"
#include "video/FramePlan.h"
#include "video/TimelineAnimationClock.h"

#include <glad/gl.h>

#include <memory>
#include <sstream>

namespace {

// What one drawing run makes, taken down in order whatever ends it.
class DrawingRun {
  public:
    DrawingRun(const Settings& settings, const RecordingHeader& header) {
        context_->settings = settings;
        applyRecordedSettings(header, context_->settings);
        resources_ = createGameResources(*context_);
    }
    ~DrawingRun() {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        if (resources_->characterModel != nullptr) {
            resources_->characterModel->animationClock = nullptr;
        }
        context_->unlinkResources();
    }
    DrawingRun(const DrawingRun&) = delete;
    DrawingRun& operator=(const DrawingRun&) = delete;

    GameContext& context() { return *context_; }
    GameResources& resources() { return *resources_; }
    void poseBy(AnimationClock& clock) {
        if (resources_->characterModel != nullptr) {
            resources_->characterModel->animationClock = &clock;
        }
    }

  private:
    std::unique_ptr<GameContext> context_ = std::make_unique<GameContext>();
    std::unique_ptr<GameResources> resources_;
};

// Plays the passes before `pass` without drawing, then `pass` with it.
ReplaySession::Step playUpTo(std::uint64_t pass, ReplaySession& session, GameContext& context,
                             VideoFrameOutput& output, CommandEffects& effects) {
    ReplaySession::Step step = ReplaySession::Step::Played;
    while (step == ReplaySession::Step::Played && session.passNumber() + 1 < pass) {
        output.drawNextPass(false);
        step = session.playPass(context, output, effects);
    }
    if (step != ReplaySession::Step::Played) {
        return step;
    }
    output.drawNextPass(true);
    return session.playPass(context, output, effects);
}

} // namespace

ExportOutcome drawVideo(const std::string& path, const Settings& settings, const FramePlan& plan,
                        FrameCapture& capture, const FrameCapture::Deliver& deliver,
                        const DrawingProgress& progress, std::ostream& errors) {
    RecordingHeader header;
    // The planning run has told of a cut or another version; a failure is news.
    std::optional<RecordingReader> reader =
        openRecording(path, header, errors, RecordingNotes::AlreadyTold);
    if (!reader) {
        return ExportOutcome::Failed;
    }
    // Bound before the resources, whose loading draws to warm the driver up: a context without a
    // window has no default framebuffer to take that drawing.
    capture.bind();
    DrawingRun run(settings, header);
    std::ostringstream summaries;
    ReplaySession session(std::move(*reader), header.gameVersion, summaries, errors);
    session.clock().paceOnTimeline();
    TimelineAnimationClock animation(session.clock());
    run.poseBy(animation);
    GameFrameOutput drawing(nullptr, run.resources());
    VideoFrameOutput output(drawing);
    CommandEffects noWindow;
    prepareFirstPass(run.context(), output);

    std::uint64_t delivered = 0;
    const FrameCapture::Deliver counted = [&](const std::uint8_t* rgba, std::uint64_t frames) {
        delivered += frames;
        return deliver(rgba, frames);
    };
    for (const FramePlan::Shown& shown : plan.shown()) {
        if (playUpTo(shown.pass, session, run.context(), output, noWindow) !=
            ReplaySession::Step::Played) {
            // The planning run played these very passes, so only a fault can bring this.
            session.reportDivergence();
            return ExportOutcome::Diverged;
        }
        if (quitSignals::received()) {
            return ExportOutcome::Stopped;
        }
        if (!capture.capture(shown.frames, counted)) {
            return quitSignals::received() ? ExportOutcome::Stopped : ExportOutcome::Failed;
        }
        progress(delivered);
    }
    if (!capture.flush(counted)) {
        return quitSignals::received() ? ExportOutcome::Stopped : ExportOutcome::Failed;
    }
    progress(delivered);
    return ExportOutcome::Done;
}
