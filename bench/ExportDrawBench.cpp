// The drawing of a video export alone, for comparison with the whole export: plans a recording's
// frames, then draws and reads back every planned picture offscreen, handing each to nothing.
//
// Usage: chronocell-export-bench RECORDING FPS WIDTH HEIGHT
// Prints the frames, the seconds of video and the seconds the drawing took, on one line.
#include "app/Startup.h"
#include "export/OffscreenContext.h"
#include "export/VideoDrawing.h"
#include "export/VideoPlanning.h"
#include "game/Settings.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s RECORDING FPS WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    const std::string recording = argv[1];
    const int fps = std::atoi(argv[2]);
    const int width = std::atoi(argv[3]);
    const int height = std::atoi(argv[4]);
    const Settings settings;
    PlannedVideo video(fps);
    if (planVideo(recording, settings, video, std::cerr) != ExportOutcome::Done) {
        return 1;
    }
    const std::unique_ptr<OffscreenContext> context = OffscreenContext::open(std::cerr);
    if (context == nullptr || !context->loadFunctions()) {
        return 1;
    }
    configureDrawingState();
    double seconds = 0.0;
    {
        FrameCapture capture(width, height);
        const auto started = std::chrono::steady_clock::now();
        const ExportOutcome outcome = drawVideo(
            recording, settings, video.frames, capture,
            [](const std::uint8_t*, std::uint64_t) { return true; }, [](std::uint64_t) {},
            std::cerr);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (outcome != ExportOutcome::Done) {
            return 1;
        }
    }
    std::printf("%llu frames, %.2f s of video, drawn in %.2f s\n",
                static_cast<unsigned long long>(video.frames.frameCount()),
                video.frames.durationSeconds(), seconds);
    return 0;
}
