// Hashes the cosine and sine the relic walk uses (portableCos and portableSin) for every float
// from -400 to 400, the arguments a whole game can give them (the heading in radians), and
// beside them what the C library's own sincosf returns. The game's must agree bit for bit
// between any two builds (another architecture, another libm, other compiler flags), so their
// output is compared as text; the library's shows where the library alone would not agree.
//
// A CPU's libm may pick its code by the CPU's features (x86-64 glibc takes a fused multiply-add
// version where the CPU has one), so the same binary can hash differently on two machines; on
// x86-64 GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2,-FMA shows the other version. Build it with the
// game's floating-point flags and its src/world/PortableTrig.cpp.
//
// Usage: libm_probe [--blocks] [--stride N] [--from HEX] [--to HEX]
//          hashes every Nth bit pattern from FROM to TO (of the positive floats, 0 to 43c80000,
//          that is 400) and the same patterns with the sign bit; --blocks adds one hash per
//          block of 2^24 patterns, to narrow down a difference
//        libm_probe --print FIRST COUNT
//          the results for COUNT patterns from FIRST (hex) on, one line each
#include "world/PortableTrig.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <math.h>
#include <string>

namespace {

// Bit patterns of +0.0f to 400.0f; the negative half is the same patterns with the sign bit.
constexpr std::uint32_t kLastPattern = 0x43C80000u;
constexpr std::uint32_t kSignBit = 0x80000000u;
constexpr int kBlockShift = 24;
// FNV-1a's 64-bit constants, taken a whole 32-bit word at a time.
constexpr std::uint64_t kHashStart = 0xcbf29ce484222325ULL;
constexpr std::uint64_t kHashPrime = 0x100000001b3ULL;

std::uint32_t bitsOf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float floatOf(std::uint32_t bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The game's own functions, which must agree everywhere; the library's merged call beside them
// shows where the library alone would not.
[[gnu::noinline]] float cosineOf(float x) {
    return portableCos(x);
}
[[gnu::noinline]] float sineOf(float x) {
    return portableSin(x);
}

struct Results {
    float cosine;
    float sine;
    float mergedCosine;
    float mergedSine;
};

Results resultsFor(float x) {
    Results results{cosineOf(x), sineOf(x), 0.0f, 0.0f};
    ::sincosf(x, &results.mergedSine, &results.mergedCosine);
    return results;
}

struct Hashes {
    std::uint64_t apart = kHashStart;
    std::uint64_t merged = kHashStart;
    std::uint64_t count = 0;

    void add(float x) {
        const Results results = resultsFor(x);
        apart = (apart ^ bitsOf(results.cosine)) * kHashPrime;
        apart = (apart ^ bitsOf(results.sine)) * kHashPrime;
        merged = (merged ^ bitsOf(results.mergedCosine)) * kHashPrime;
        merged = (merged ^ bitsOf(results.mergedSine)) * kHashPrime;
        ++count;
    }
};

void printHashes(const char* label, const Hashes& hashes) {
    std::printf("%s game %016llx libm %016llx over %llu floats\n", label,
                static_cast<unsigned long long>(hashes.apart),
                static_cast<unsigned long long>(hashes.merged),
                static_cast<unsigned long long>(hashes.count));
}

struct Sweep {
    std::uint32_t from = 0;
    std::uint32_t to = kLastPattern;
    std::uint32_t stride = 1;
    bool blocks = false;
};

// Both signs of every stride-th pattern; with blocks, a line for each block of patterns.
Hashes hashRange(const Sweep& sweep) {
    const bool blocks = sweep.blocks;
    Hashes total;
    Hashes block;
    std::uint32_t blockNumber = sweep.from >> kBlockShift;
    for (std::uint64_t pattern = sweep.from; pattern <= sweep.to; pattern += sweep.stride) {
        const auto bits = static_cast<std::uint32_t>(pattern);
        if (blocks && (bits >> kBlockShift) != blockNumber) {
            printHashes(("block " + std::to_string(blockNumber)).c_str(), block);
            block = Hashes{};
            blockNumber = bits >> kBlockShift;
        }
        for (const std::uint32_t sign : {0u, kSignBit}) {
            total.add(floatOf(bits | sign));
            block.add(floatOf(bits | sign));
        }
    }
    if (blocks) {
        printHashes(("block " + std::to_string(blockNumber)).c_str(), block);
    }
    return total;
}

void printResults(std::uint32_t first, std::uint32_t count) {
    for (std::uint64_t bits = first; bits < std::uint64_t{first} + count; ++bits) {
        const float x = floatOf(static_cast<std::uint32_t>(bits));
        const Results results = resultsFor(x);
        std::printf("%08x %.9g cos %08x sin %08x sincos %08x %08x\n", static_cast<unsigned>(bits),
                    static_cast<double>(x), bitsOf(results.cosine), bitsOf(results.sine),
                    bitsOf(results.mergedCosine), bitsOf(results.mergedSine));
    }
}

bool parseNumber(const char* text, int base, std::uint32_t& value) {
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text, &end, base);
    value = static_cast<std::uint32_t>(parsed);
    return *text != '\0' && *end == '\0' && parsed <= UINT32_MAX;
}

int usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s [--blocks] [--stride N] [--from HEX] [--to HEX]\n"
                 "       %s --print FIRST COUNT   (FIRST a hexadecimal bit pattern)\n",
                 program, program);
    return 2;
}

// The option at argv[arg] and its value, if it takes one; false for anything else.
bool parseSweepOption(char** argv, int argc, int& arg, Sweep& sweep) {
    const std::string option = argv[arg];
    if (option == "--blocks") {
        sweep.blocks = true;
        return true;
    }
    if (arg + 1 >= argc) {
        return false;
    }
    const char* value = argv[++arg];
    if (option == "--stride") {
        return parseNumber(value, 10, sweep.stride) && sweep.stride > 0;
    }
    if (option == "--from") {
        return parseNumber(value, 16, sweep.from);
    }
    return option == "--to" && parseNumber(value, 16, sweep.to);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--print") == 0) {
        std::uint32_t first = 0;
        std::uint32_t count = 0;
        if (argc != 4 || !parseNumber(argv[2], 16, first) || !parseNumber(argv[3], 10, count)) {
            return usage(argv[0]);
        }
        printResults(first, count);
        return 0;
    }
    Sweep sweep;
    for (int arg = 1; arg < argc; ++arg) {
        if (!parseSweepOption(argv, argc, arg, sweep)) {
            return usage(argv[0]);
        }
    }
    if (sweep.from > sweep.to || sweep.to > kLastPattern) {
        return usage(argv[0]);
    }
    printHashes("all", hashRange(sweep));
    return 0;
}
