#include "world/PortableTrig.h"

#include "game/BitCast.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

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
    const std::uint32_t magnitude = bitCast<std::uint32_t>(radians) & ~kSignBit;
    const auto found = std::lower_bound(
        kExceptions.begin(), kExceptions.end(), magnitude,
        [](const Exception& entry, std::uint32_t value) { return entry.argument < value; });
    return found != kExceptions.end() && found->argument == magnitude ? &*found : nullptr;
}

// GNU libc's single-precision sine and cosine (2.36, its code without fused multiply-add), done
// here step for step in double precision, so that every compiler and C library gives its bits:
// MinGW's and WebAssembly's differ from it at about one argument in eighty. The argument is
// brought within pi/4 of a multiple of pi/2 by one multiply-subtract below 120, and through a
// 192-bit 4/pi with integer arithmetic above; a polynomial of the reduced argument follows.
struct Polynomial {
    std::array<double, 4> sign;
    // 2/pi scaled by 2^24, so that the quadrant lands in the integer's top byte.
    double halfPiInverse;
    double halfPi;
    double c0, c1, c2, c3, c4;
    double s1, s2, s3;
};

// The second computes minus the cosine, so quadrants 2 and 3 need no negation of their own.
constexpr std::array<Polynomial, 2> kPolynomials = {{
    {{1.0, -1.0, -1.0, 1.0},
     0x1.45F306DC9C883p+23,
     0x1.921FB54442D18p0,
     0x1p0,
     -0x1.ffffffd0c621cp-2,
     0x1.55553e1068f19p-5,
     -0x1.6c087e89a359dp-10,
     0x1.99343027bf8c3p-16,
     -0x1.555545995a603p-3,
     0x1.1107605230bc4p-7,
     -0x1.994eb3774cf24p-13},
    {{1.0, -1.0, -1.0, 1.0},
     0x1.45F306DC9C883p+23,
     0x1.921FB54442D18p0,
     -0x1p0,
     0x1.ffffffd0c621cp-2,
     -0x1.55553e1068f19p-5,
     0x1.6c087e89a359dp-10,
     -0x1.99343027bf8c3p-16,
     -0x1.555545995a603p-3,
     0x1.1107605230bc4p-7,
     -0x1.994eb3774cf24p-13},
}};

// 4/pi to 192 bits, eight new bits an entry so that any 96-bit window is three aligned words.
constexpr std::array<std::uint32_t, 24> kFourOverPi = {
    0xa2,       0xa2f9,     0xa2f983,   0xa2f9836e, 0xf9836e4e, 0x836e4e44, 0x6e4e4415, 0x4e441529,
    0x441529fc, 0x1529fc27, 0x29fc2757, 0xfc2757d1, 0x2757d1f5, 0x57d1f534, 0xd1f534dd, 0xf534ddc0,
    0x34ddc0db, 0xddc0db62, 0xc0db6295, 0xdb629599, 0x6295993c, 0x95993c43, 0x993c4390, 0x3c439041};

constexpr double kTwoPiOver2To64 = 0x1.921FB54442D18p-62;
constexpr float kQuarterPi = 0x1.921FB6p-1f;
constexpr float kFastReductionLimit = 120.0f;
constexpr float kTiny = 0x1p-12f;

// The exponent and the top of the mantissa, without the sign: enough to compare magnitudes.
std::uint32_t magnitudeTop(float x) {
    return (bitCast<std::uint32_t>(x) >> 20) & 0x7ff;
}

double reduceFast(double x, const Polynomial& p, int& quadrant) {
    const double scaled = x * p.halfPiInverse;
    quadrant = (static_cast<std::int32_t>(scaled) + 0x800000) >> 24;
    return x - quadrant * p.halfPi;
}

double reduceLarge(std::uint32_t bits, int& quadrant) {
    const std::uint32_t* window = &kFourOverPi[(bits >> 26) & 15];
    const int shift = static_cast<int>((bits >> 23) & 7);
    const std::uint32_t mantissa = ((bits & 0xffffff) | 0x800000) << shift;
    std::uint64_t low = static_cast<std::uint64_t>(mantissa * window[0]);
    const std::uint64_t middle = static_cast<std::uint64_t>(mantissa) * window[4];
    const std::uint64_t high = static_cast<std::uint64_t>(mantissa) * window[8];
    low = (high >> 32) | (low << 32);
    low += middle;
    const std::uint64_t whole = (low + (1ULL << 61)) >> 62;
    low -= whole << 62;
    quadrant = static_cast<int>(whole);
    return static_cast<double>(static_cast<std::int64_t>(low)) * kTwoPiOver2To64;
}

// The sine polynomial in even quadrants, the cosine polynomial in odd ones.
float polynomial(double x, double x2, const Polynomial& p, int quadrant) {
    if ((quadrant & 1) == 0) {
        const double x3 = x * x2;
        const double s1 = p.s2 + x2 * p.s3;
        const double x7 = x3 * x2;
        const double s = x + x3 * p.s1;
        return static_cast<float>(s + x7 * s1);
    }
    const double x4 = x2 * x2;
    const double c2 = p.c3 + x2 * p.c4;
    const double c1 = p.c0 + x2 * p.c1;
    const double x6 = x4 * x2;
    const double c = c1 + x4 * p.c2;
    return static_cast<float>(c + x6 * c2);
}

// The sine, or with `cosine` the cosine, a quarter turn further on.
float wave(float y, bool cosine) {
    const int shift = cosine ? 1 : 0;
    double x = y;
    const Polynomial* p = &kPolynomials[0];
    if (magnitudeTop(y) < magnitudeTop(kQuarterPi)) {
        if (magnitudeTop(y) < magnitudeTop(kTiny)) {
            return cosine ? 1.0f : y;
        }
        return polynomial(x, x * x, *p, shift);
    }
    // The large reduction works on the magnitude: the sign joins the quadrant that picks the
    // polynomial's sign, but not the one that picks sine or cosine.
    int quadrant = 0;
    int signedQuadrant = 0;
    if (magnitudeTop(y) < magnitudeTop(kFastReductionLimit)) {
        x = reduceFast(x, *p, quadrant);
        signedQuadrant = quadrant;
    } else if (std::isfinite(y)) {
        const std::uint32_t bits = bitCast<std::uint32_t>(y);
        x = reduceLarge(bits, quadrant);
        signedQuadrant = quadrant + static_cast<int>(bits >> 31);
    } else {
        return std::numeric_limits<float>::quiet_NaN();
    }
    const double sign = p->sign[signedQuadrant & 3];
    if ((signedQuadrant & 2) != 0) {
        p = &kPolynomials[1];
    }
    return polynomial(x * sign, x * x, *p, quadrant ^ shift);
}

} // namespace

float portableCos(float radians) {
    if (const Exception* exception = exceptionFor(radians)) {
        return bitCast<float>(exception->cosine);
    }
    return wave(radians, true);
}

float portableSin(float radians) {
    if (const Exception* exception = exceptionFor(radians)) {
        const std::uint32_t sign = bitCast<std::uint32_t>(radians) & kSignBit;
        return bitCast<float>(exception->sine ^ sign);
    }
    return wave(radians, false);
}
