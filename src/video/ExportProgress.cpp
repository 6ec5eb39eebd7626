#include "video/ExportProgress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>

namespace {

constexpr double kTerminalInterval = 0.25;
constexpr double kLogInterval = 5.0;
constexpr double kRateWindow = 10.0;
constexpr double kBytesPerMegabyte = 1000.0 * 1000.0;
constexpr double kBytesPerKilobyte = 1000.0;
constexpr int kSecondsPerMinute = 60;

std::string sizeText(std::uintmax_t bytes) {
    char text[32];
    if (static_cast<double>(bytes) >= kBytesPerMegabyte) {
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / kBytesPerMegabyte);
    } else {
        std::snprintf(text, sizeof text, "%.0f KB",
                      std::ceil(static_cast<double>(bytes) / kBytesPerKilobyte));
    }
    return text;
}

// Minutes and seconds, as a player reads a clip's length: 1:30.
std::string lengthText(double seconds) {
    const auto whole = static_cast<long long>(std::lround(seconds));
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", whole / kSecondsPerMinute,
                  whole % kSecondsPerMinute);
    return text;
}

} // namespace

ExportProgress::ExportProgress(std::ostream& out, std::string name, std::uint64_t totalFrames,
                               bool terminal)
    : out_(out), name_(std::move(name)), totalFrames_(totalFrames), terminal_(terminal) {}

void ExportProgress::update(std::uint64_t frames, double seconds) {
    if (seconds - windowMiddle_.seconds >= kRateWindow / 2) {
        windowStart_ = windowMiddle_;
        windowMiddle_ = {frames, seconds};
    }
    const double interval = terminal_ ? kTerminalInterval : kLogInterval;
    if (frames == 0 || totalFrames_ == 0 || (reported_ && seconds - lastReport_ < interval)) {
        return;
    }
    reported_ = true;
    lastReport_ = seconds;
    const double done = static_cast<double>(frames) / static_cast<double>(totalFrames_);
    const double framesLeft = static_cast<double>(totalFrames_ - std::min(frames, totalFrames_));
    const double recentFrames =
        frames > windowStart_.frames ? static_cast<double>(frames - windowStart_.frames) : 0.0;
    const double recentSeconds = seconds - windowStart_.seconds;
    const double left = recentFrames > 0.0 ? framesLeft * recentSeconds / recentFrames
                                           : seconds * (1.0 - done) / done;
    out_ << (terminal_ ? "\r" : "") << "chronocell: exporting " << name_ << ": "
         << static_cast<int>(done * 100.0) << "% (" << frames << " of " << totalFrames_
         << " frames), " << std::lround(left) << " s left" << (terminal_ ? "   " : "\n")
         << std::flush;
}

void ExportProgress::finish(std::uintmax_t bytes, double videoSeconds) {
    out_ << (terminal_ && reported_ ? "\n" : "") << "chronocell: wrote " << name_ << ": "
         << sizeText(bytes) << ", " << lengthText(videoSeconds) << " of video" << std::endl;
}
