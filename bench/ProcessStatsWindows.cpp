// The process figures of ProcessStats.h from Windows' own calls, for the benchmark's Windows build.
#include "ProcessStats.h"

#include <windows.h>
// psapi.h needs windows.h's types first.
#include <psapi.h>

namespace {

double fileTimeSeconds(const FILETIME& time) {
    ULARGE_INTEGER ticks;
    ticks.LowPart = time.dwLowDateTime;
    ticks.HighPart = time.dwHighDateTime;
    // FILETIME counts 100-nanosecond ticks.
    return static_cast<double>(ticks.QuadPart) * 1e-7;
}

PROCESS_MEMORY_COUNTERS memoryCounters() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)) == 0) {
        counters.cb = 0;
    }
    return counters;
}

} // namespace

double secondsSinceProcessStart() {
    FILETIME created, exited, kernel, user, now;
    if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user) == 0) {
        return -1.0;
    }
    GetSystemTimeAsFileTime(&now);
    return fileTimeSeconds(now) - fileTimeSeconds(created);
}

long peakResidentKib() {
    const PROCESS_MEMORY_COUNTERS counters = memoryCounters();
    return counters.cb == 0 ? -1 : static_cast<long>(counters.PeakWorkingSetSize / 1024);
}

long residentKib() {
    const PROCESS_MEMORY_COUNTERS counters = memoryCounters();
    return counters.cb == 0 ? -1 : static_cast<long>(counters.WorkingSetSize / 1024);
}

double threadCpuMilliseconds() {
    FILETIME created, exited, kernel, user;
    if (GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user) == 0) {
        return 0.0;
    }
    return (fileTimeSeconds(kernel) + fileTimeSeconds(user)) * 1e3;
}
