#pragma once

#include "export/ExportOutcome.h"
#include "export/VideoSoundTrack.h"
#include "replay/RecordingFormat.h"
#include "video/FramePlan.h"

#include <iosfwd>
#include <memory>
#include <string>

struct Settings;

// What the first run through a recording gives a video: which passes become its frames, and its
// sound track, mixed at the times the paced replay shows the passes that asked for each sound.
struct PlannedVideo {
    explicit PlannedVideo(int fps) : frames(fps) {}

    FramePlan frames;
    std::unique_ptr<VideoSoundTrack> sound;
    // The recording's header, with the window size a video takes by default.
    RecordingHeader header;
};

// Runs the recording at `path` on the rules alone, on the paced timeline. A recording that cannot
// be read, diverges, is too long or is stopped by a signal is found here, before anything is
// written; its line is on `errors`. `settings` are the player's; the recording's replace them.
ExportOutcome planVideo(const std::string& path, const Settings& settings, PlannedVideo& video,
                        std::ostream& errors);
