// chronocell-verify: replays recorded games on the rules alone, as `chronocell --replay FILE
// --headless` does, and prints the same summary lines. It needs no window, OpenGL, sound or
// content, so it builds for any machine a C++ compiler reaches. Several files are replayed in
// turn; the exit code is the worst of theirs (3 diverged, then 2 unreadable, then 0 played).
//
// Usage: chronocell-verify FILE...
#include "replay/HeadlessReplay.h"

#include <iostream>

namespace {
constexpr int kExitBadArguments = 2;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: chronocell-verify FILE...\n";
        return kExitBadArguments;
    }
    return replayEachHeadless({argv + 1, argv + argc}, std::cout, std::cerr);
}
