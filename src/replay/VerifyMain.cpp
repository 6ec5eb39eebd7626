// chronocell-verify: replays recorded games on the rules alone, as `chronocell --replay FILE
// --headless` does, and prints the same summary lines. It needs no window, OpenGL, sound or
// content, so it builds for any machine a C++ compiler reaches. Several files are replayed in
// turn; the exit code is the worst of theirs (3 diverged before 2 unreadable before 0 played).
//
// Usage: chronocell-verify FILE...
#include "replay/HeadlessReplay.h"

#include <algorithm>
#include <iostream>

namespace {

constexpr int kExitBadArguments = 2;

int severity(int exitCode) {
    switch (exitCode) {
    case kExitPlayed:
        return 0;
    case kExitUnreadableRecording:
        return 1;
    default:
        return 2;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: chronocell-verify FILE...\n";
        return kExitBadArguments;
    }
    int worst = kExitPlayed;
    for (int i = 1; i < argc; ++i) {
        const int exitCode = replayHeadless(argv[i], std::cout, std::cerr);
        if (severity(exitCode) > severity(worst)) {
            worst = exitCode;
        }
    }
    return worst;
}
