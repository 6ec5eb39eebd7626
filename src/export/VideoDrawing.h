#pragma once

#include "export/ExportOutcome.h"
#include "video/FrameCapture.h"

#include <functional>
#include <iosfwd>
#include <string>

class FramePlan;
struct Settings;

// Told after each picture how many frames have been delivered so far.
using DrawingProgress = std::function<void(std::uint64_t framesDelivered)>;

// The second run through the recording at `path`: the game's drawing for the passes the plan
// shows, into `capture`, each picture delivered as often as the plan shows it; the passes in
// between run their rules only. The character is posed at the paced replay's time, so two runs
// give the same pictures. Needs a current OpenGL context, which may have no window and no default
// framebuffer at all. A replay that departs from the planning run says so on `errors`; what the
// planning run told of the recording (a cut, another version) is not told again.
ExportOutcome drawVideo(const std::string& path, const Settings& settings, const FramePlan& plan,
                        FrameCapture& capture, const FrameCapture::Deliver& deliver,
                        const DrawingProgress& progress, std::ostream& errors);
