#include "world/PortableTrig.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace {

struct Exception {
    std::uint32_t argument;
    std::uint32_t cosine;
    std::uint32_t sine;
};

// Every finite positive float at which the C library's single-precision cosine or sine differ
// between its fused multiply-add code and its other code (GNU libc 2.36, every float compared on
// x86-64 with and without FMA; arm64 and i386 give one side or the other), with the values of the
// FMA side, which the game has always computed on most machines. A negative argument mirrors its
// positive one: cosine even, sine odd. Everywhere else all sides agree.
constexpr std::array<Exception, 17> kExceptions = {{
    {0x418a3adbu, 0xb7b4f770u, 0xbf800000u},
    {0x418a3adcu, 0xb7a4f770u, 0xbf800000u},
    {0x418a3addu, 0xb794f770u, 0xbf800000u},
    {0x418a3adeu, 0xb784f770u, 0xbf800000u},
    {0x41bc76d9u, 0xbb803f6bu, 0xbf7fff80u},
    {0x4202eb4bu, 0x3e821ce2u, 0x3f779884u},
    {0x4255b0a9u, 0xbf7ff82fu, 0xbc7d08a9u},
    {0x42687a55u, 0xb552257cu, 0x3f800000u},
    {0x4280ce28u, 0x34fdd672u, 0x3f800000u},
    {0x42870e40u, 0xbc866cc4u, 0xbf7ff72du},
    {0x42a35c07u, 0x3f7fffe9u, 0xbadaa3b4u},
    {0x42a35d44u, 0x3f7ffffbu, 0x3a44b889u},
    {0x42a97360u, 0xbf7ec7bau, 0x3dc7b08au},
    {0x42c55faau, 0xbe8a34d1u, 0xbf767f39u},
    {0x42cf5854u, 0xbf800000u, 0x382ee64eu},
    {0x42d8d23eu, 0xbcd25ea8u, 0x3f7fea63u},
    {0x42e87a55u, 0xbf800000u, 0xb5d2257cu},
}};
static_assert(std::is_sorted(kExceptions.begin(), kExceptions.end(),
                             [](const Exception& a, const Exception& b) {
                                 return a.argument < b.argument;
                             }));

constexpr std::uint32_t kSignBit = 0x80000000u;

const Exception* exceptionFor(float radians) {
    const std::uint32_t magnitude = std::bit_cast<std::uint32_t>(radians) & ~kSignBit;
    const auto found = std::lower_bound(
        kExceptions.begin(), kExceptions.end(), magnitude,
        [](const Exception& entry, std::uint32_t value) { return entry.argument < value; });
    return found != kExceptions.end() && found->argument == magnitude ? &*found : nullptr;
}

} // namespace

float portableCos(float radians) {
    if (const Exception* exception = exceptionFor(radians)) {
        return std::bit_cast<float>(exception->cosine);
    }
    return std::cos(radians);
}

float portableSin(float radians) {
    if (const Exception* exception = exceptionFor(radians)) {
        const std::uint32_t sign = std::bit_cast<std::uint32_t>(radians) & kSignBit;
        return std::bit_cast<float>(exception->sine ^ sign);
    }
    return std::sin(radians);
}
