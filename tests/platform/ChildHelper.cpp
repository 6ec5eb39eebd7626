// A program the platform tests start: what it read and the arguments it was given come back as
// its last error line, and it can fail, or hold its input unread.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "hold") {
        std::this_thread::sleep_for(std::chrono::seconds(30));
        return 0;
    }
    if (mode == "fail") {
        std::cerr << "an earlier line\nthe last words\n\n";
        return 3;
    }
    std::size_t bytes = 0;
    while (std::getchar() != EOF) {
        ++bytes;
    }
    std::cerr << "read " << bytes;
    for (int i = 2; i < argc; ++i) {
        std::cerr << "|" << argv[i];
    }
    std::cerr << "\n";
    return 0;
}
