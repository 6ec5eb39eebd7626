#include "export/VideoPlanning.h"

#include "game/GameContext.h"
#include "game/StatePass.h"
#include "platform/QuitSignals.h"
#include "replay/HeadlessFrameOutput.h"
#include "replay/HeadlessWorld.h"
#include "replay/ReplaySession.h"
#include "video/ExportMessage.h"

#include <ostream>
#include <sstream>

namespace {
constexpr double kSecondsPerHour = 3600.0;
}

ExportOutcome planVideo(const std::string& path, const Settings& settings, PlannedVideo& video,
                        std::ostream& errors) {
    RecordingHeader& header = video.header;
    std::optional<RecordingReader> reader = openRecording(path, header, errors);
    if (!reader) {
        return ExportOutcome::Failed;
    }
    HeadlessWorld world(header, settings);
    GameContext& context = world.context();
    std::ostringstream summaries;
    ReplaySession session(std::move(*reader), header.gameVersion, summaries, errors);
    session.clock().paceOnTimeline();
    video.sound = std::make_unique<VideoSoundTrack>(settings, session.clock(), errors);
    context.links.events = video.sound.get();
    HeadlessFrameOutput output;
    prepareFirstPass(context, output);
    ExportOutcome outcome = ExportOutcome::Done;
    for (ReplaySession::Step step = session.playPass(context, output, *video.sound);
         step != ReplaySession::Step::Ended;
         step = session.playPass(context, output, *video.sound)) {
        if (step == ReplaySession::Step::Diverged) {
            session.reportDivergence();
            outcome = ExportOutcome::Diverged;
            break;
        }
        if (!video.frames.addPass(session.passNumber(), session.clock().shownSeconds())) {
            errors << kCannotExport << "the recording lasts longer than the "
                   << FramePlan::kLongestSeconds / kSecondsPerHour << " hours a video may"
                   << std::endl;
            outcome = ExportOutcome::Failed;
            break;
        }
        if (quitSignals::received()) {
            outcome = ExportOutcome::Stopped;
            break;
        }
    }
    video.frames.finish();
    return outcome;
}
