#include "BenchOptions.h"

#include <cmath>
#include <iostream>

namespace {

constexpr int kMaxFrames = 1000000;
constexpr double kMaxSoakMinutes = 24.0 * 60.0;

// The whole text must be the number: "20x" or "" is refused rather than read as 20 or 0.
std::optional<double> readNumber(const std::string& text) {
    try {
        std::size_t used = 0;
        const double value = std::stod(text, &used);
        if (used != text.size() || !std::isfinite(value)) {
            return std::nullopt;
        }
        return value;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace

std::optional<BenchOptions> parseBenchOptions(const std::vector<std::string>& arguments) {
    BenchOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--sound") {
            options.sound = true;
            continue;
        }
        if (name != "--frames" && name != "--csv" && name != "--soak" && name != "--record") {
            std::cerr << "unknown argument: " << name << "\n";
            return std::nullopt;
        }
        if (i + 1 >= arguments.size()) {
            std::cerr << name << " needs a value\n";
            return std::nullopt;
        }
        const std::string& value = arguments[++i];
        if (name == "--csv" || name == "--record") {
            (name == "--csv" ? options.csvPath : options.recordPath) = value;
            continue;
        }
        const std::optional<double> number = readNumber(value);
        if (name == "--frames") {
            if (!number || *number != std::floor(*number) || *number < BenchOptions::kMinFrames ||
                *number > kMaxFrames) {
                std::cerr << "--frames takes a whole number from " << BenchOptions::kMinFrames
                          << " to " << kMaxFrames << "\n";
                return std::nullopt;
            }
            options.frames = static_cast<int>(*number);
        } else {
            if (!number || *number < 0.0 || *number > kMaxSoakMinutes) {
                std::cerr << "--soak takes minutes from 0 to " << kMaxSoakMinutes << "\n";
                return std::nullopt;
            }
            options.soakMinutes = *number;
        }
    }
    return options;
}
