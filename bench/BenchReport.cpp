#include "BenchReport.h"

#include "game/GameContext.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

constexpr double kKibPerMib = 1024.0;
constexpr double kMicrosecondsPerMillisecond = 1000.0;

unsigned long totalAllocations(const std::vector<LoopSample>& samples) {
    unsigned long total = 0;
    for (const LoopSample& sample : samples) {
        total += sample.allocations;
    }
    return total;
}

int framesWithAllocations(const std::vector<LoopSample>& samples) {
    return static_cast<int>(std::count_if(samples.begin(), samples.end(),
                                          [](const LoopSample& s) { return s.allocations > 0; }));
}

void printLoop(const char* name, const FrameStats& stats) {
    std::printf("  %-28s %8.2f %8.2f %8.1f %8.2f %7d\n", name, stats.median, stats.p99,
                stats.onePercentLow, stats.worst, stats.frames);
}

double ratio(double a, double b) {
    return b > 0.0 ? a / b : 0.0;
}

void printStartup(const BenchReport& report) {
    std::printf("Start-up, process start to first swapped frame   ms   resident MiB after\n");
    for (const StartupStep& step : report.startup) {
        std::printf("  %-28s %8.1f %8.1f\n", step.name.c_str(), step.milliseconds,
                    step.residentKib / kKibPerMib);
    }
    std::printf("  %-28s %8.1f   (target < 1000; Mesa shader cache %s)\n", "total",
                report.startupTotal,
                std::getenv("MESA_SHADER_CACHE_DISABLE") != nullptr ? "disabled" : "enabled");
}

void printFrames(const BenchReport& report) {
    const FrameStats game = summarize(unpausedMilliseconds(report.game));
    const FrameStats bare = summarize(unpausedMilliseconds(report.bareDraw));
    const FrameStats clear = summarize(unpausedMilliseconds(report.clearSwap));
    std::printf("\nFrame time, ms (designed pauses skipped)   median      p99  1%%low/s    worst  "
                "frames\n");
    printLoop("game", game);
    printLoop("reference: bare draw work", bare);
    printLoop("reference: clear + swap", clear);
    std::printf("  game / bare draw: median %.3f (target <= 1.10), p99 %.3f\n",
                ratio(game.median, bare.median), ratio(game.p99, bare.p99));
    std::printf("  game / clear + swap: median %.1f\n", ratio(game.median, clear.median));
    std::printf("  game p99 / median %.2f (target <= 1.50)\n", ratio(game.p99, game.median));
    // Wall time swings with other programs' load; a driver compiling something new shows as
    // main-thread CPU.
    std::printf("  slowest frame with a first stone, a new clock or a phase switch: wall %.2f x "
                "median, main-thread CPU %.2f x median\n",
                worstFirstAppearanceRatio(report.game, &LoopSample::milliseconds),
                worstFirstAppearanceRatio(report.game, &LoopSample::cpuMilliseconds));
    std::printf(
        "  main-thread CPU per frame, median: game %.2f ms, bare draw %.2f ms, clear + swap "
        "%.2f ms\n",
        medianCpuMilliseconds(report.game), medianCpuMilliseconds(report.bareDraw),
        medianCpuMilliseconds(report.clearSwap));
    std::printf("  heap allocations per game frame (drawing included): %.1f\n",
                ratio(static_cast<double>(totalAllocations(report.game)),
                      static_cast<double>(report.game.size())));
}

void printRules(const BenchReport& report) {
    const FrameStats rules = summarize(unpausedMilliseconds(report.rules));
    std::printf("\nRules alone, no GL (same script)  median %.1f us, p99 %.1f us, worst %.1f us "
                "(target median < 100 us)\n",
                rules.median * kMicrosecondsPerMillisecond, rules.p99 * kMicrosecondsPerMillisecond,
                rules.worst * kMicrosecondsPerMillisecond);
    std::printf("  heap allocations: %lu in %zu frames (%d frames allocated)\n",
                totalAllocations(report.rules), report.rules.size(),
                framesWithAllocations(report.rules));
}

void printCoverage(const BenchReport& report) {
    const ScriptCoverage& c = report.coverage;
    std::printf("\nScripted play (%d frames at %.1f ms of game time): %d games (%d lost, %d won), "
                "%d lane changes, %d jumps,\n  %d stones, %d relic activations, %d relic pickups, "
                "%d phase switches; all loops played the same game: %s\n",
                report.frames, report.frameSeconds * kMicrosecondsPerMillisecond, c.gamesStarted,
                c.gamesLost, c.gamesWon, c.laneChanges, c.jumps, c.stonesSpawned,
                c.relicActivations, c.relicPickups, c.phaseSwitches,
                report.sameGame ? "yes" : "NO");
}

void printMemory(const BenchReport& report) {
    std::printf("\nMemory: peak resident %.1f MiB (target < 150), resident now %.1f MiB\n",
                report.peakResidentKib / kKibPerMib, report.residentKib / kKibPerMib);
    const std::vector<long>& samples = report.soak.residentKib;
    if (samples.empty()) {
        return;
    }
    const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
    std::printf("  soak %.1f min, %ld frames: resident %.1f -> %.1f MiB, range %.2f MiB "
                "(target <= 2)\n",
                report.soak.minutes, report.soak.frames, samples.front() / kKibPerMib,
                samples.back() / kKibPerMib, (*high - *low) / kKibPerMib);
}

void writeLoop(std::ofstream& out, const char* name, const std::vector<LoopSample>& samples) {
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const LoopSample& s = samples[i];
        out << name << ',' << i << ',' << s.milliseconds << ',' << s.cpuMilliseconds << ','
            << s.events.paused << ',' << s.events.firstAppearance << ',' << s.allocations << '\n';
    }
}

} // namespace

std::vector<double> unpausedMilliseconds(const std::vector<LoopSample>& samples) {
    std::vector<double> result;
    result.reserve(samples.size());
    for (const LoopSample& sample : samples) {
        if (!sample.events.paused) {
            result.push_back(sample.milliseconds);
        }
    }
    return result;
}

double medianCpuMilliseconds(const std::vector<LoopSample>& samples) {
    std::vector<double> cpu;
    cpu.reserve(samples.size());
    for (const LoopSample& sample : samples) {
        cpu.push_back(sample.cpuMilliseconds);
    }
    return percentile(cpu, 0.5);
}

double worstFirstAppearanceRatio(const std::vector<LoopSample>& samples,
                                 double LoopSample::*measure) {
    std::vector<double> ordinary;
    double worst = 0.0;
    for (const LoopSample& sample : samples) {
        if (sample.events.firstAppearance) {
            worst = std::max(worst, sample.*measure);
        } else if (!sample.events.paused) {
            ordinary.push_back(sample.*measure);
        }
    }
    return ratio(worst, summarize(ordinary).median);
}

bool sameGame(const GameContext& a, const GameContext& b) {
    Random nextA = a.random;
    Random nextB = b.random;
    return a.player.x == b.player.x && a.player.y == b.player.y && a.player.z == b.player.z &&
           a.stones.stones.size() == b.stones.stones.size() &&
           a.game.relicCount == b.game.relicCount && a.state == b.state &&
           nextA.next() == nextB.next();
}

void printReport(const BenchReport& report) {
    std::printf("Chronocell frame benchmark: %s, %s\n", report.renderer.c_str(),
                report.glVersion.c_str());
    printStartup(report);
    printFrames(report);
    printRules(report);
    printCoverage(report);
    printMemory(report);
}

bool writeCsv(const BenchReport& report, const std::string& path) {
    std::ofstream out(path);
    if (!out) {
        return false;
    }
    out << "loop,frame,milliseconds,cpu_milliseconds,paused,first_appearance,allocations\n";
    writeLoop(out, "game", report.game);
    writeLoop(out, "bare_draw", report.bareDraw);
    writeLoop(out, "clear_swap", report.clearSwap);
    writeLoop(out, "rules", report.rules);
    out.flush();
    return static_cast<bool>(out);
}
