// Hashes what the C library's single-precision cosine and sine return for every float from -400
// to 400, the arguments the relic walk can give them (the heading in radians over a whole game).
// A replay is only the game it claims to be where these agree bit for bit, so the output of two
// builds (another architecture, another libm, other compiler flags) is compared as text: equal
// lines, equal results. Two paths are hashed, because a compiler may merge a cosine and a sine of
// the same value into one sincosf call (GCC does at -O2) or keep them apart (clang with errno
// kept does), and the two are separate library functions.
//
// Usage: libm_probe [--stride N]          hash every Nth float of the range
//        libm_probe --blocks [--stride N] also one hash per block of 2^24 bit patterns
//        libm_probe --print FIRST COUNT   the results for COUNT patterns from FIRST (hex) on
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

// Kept out of line, so that the compiler cannot see both calls on one value and merge them.
[[gnu::noinline]] float cosineOf(float x) {
    return std::cos(x);
}
[[gnu::noinline]] float sineOf(float x) {
    return std::sin(x);
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
    std::printf("%s cos,sin %016llx sincos %016llx over %llu floats\n", label,
                static_cast<unsigned long long>(hashes.apart),
                static_cast<unsigned long long>(hashes.merged),
                static_cast<unsigned long long>(hashes.count));
}

// Both signs of every stride-th pattern; with `blocks`, a line for each block of patterns.
Hashes hashRange(std::uint32_t stride, bool blocks) {
    Hashes total;
    Hashes block;
    std::uint32_t blockNumber = 0;
    for (std::uint64_t pattern = 0; pattern <= kLastPattern; pattern += stride) {
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
                 "usage: %s [--blocks] [--stride N]\n"
                 "       %s --print FIRST COUNT   (FIRST a hexadecimal bit pattern)\n",
                 program, program);
    return 2;
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
    std::uint32_t stride = 1;
    bool blocks = false;
    for (int arg = 1; arg < argc; ++arg) {
        const std::string option = argv[arg];
        if (option == "--blocks") {
            blocks = true;
        } else if (option == "--stride" && arg + 1 < argc &&
                   parseNumber(argv[arg + 1], 10, stride) && stride > 0) {
            ++arg;
        } else {
            return usage(argv[0]);
        }
    }
    printHashes("all", hashRange(stride, blocks));
    return 0;
}
