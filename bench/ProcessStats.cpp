#include "ProcessStats.h"

#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

// The start time is field 22 of /proc/self/stat, in clock ticks since boot. The command name
// (field 2) may hold blanks, so counting starts after its closing parenthesis, at field 3.
constexpr int kFieldsBeforeStartTime = 19;

long statusField(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) {
            std::istringstream value(line.substr(prefix.size()));
            long kib = -1;
            value >> kib;
            return kib;
        }
    }
    return -1;
}

} // namespace

double secondsSinceProcessStart() {
    std::ifstream statFile("/proc/self/stat");
    std::string stat;
    std::getline(statFile, stat);
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) {
        return -1.0;
    }
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string field;
    for (int i = 0; i < kFieldsBeforeStartTime && fields >> field; ++i) {
    }
    unsigned long long startTicks = 0;
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    timespec now{};
    if (!(fields >> startTicks) || ticksPerSecond <= 0 ||
        clock_gettime(CLOCK_BOOTTIME, &now) != 0) {
        return -1.0;
    }
    const double sinceBoot =
        static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
    return sinceBoot - static_cast<double>(startTicks) / static_cast<double>(ticksPerSecond);
}

long peakResidentKib() {
    return statusField("VmHWM");
}

long residentKib() {
    return statusField("VmRSS");
}

double threadCpuMilliseconds() {
    timespec now{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now) != 0) {
        return 0.0;
    }
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}
