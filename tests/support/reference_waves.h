#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// An independent model of the seven shapes, in integer arithmetic only:
// every rounding is a division by a power of two with ties to even. The
// program computes them in double precision; both must agree bit for bit.
namespace reference {

inline int16_t t16(int64_t x) { return static_cast<int16_t>(static_cast<uint16_t>(x & 0xFFFF)); }
inline int64_t sgn(int64_t x) { return (x > 0) - (x < 0); }

// n / 2^shift rounded to nearest, ties to even.
inline int64_t div_even(int64_t n, int shift) {
    int64_t d = int64_t{1} << shift;
    int64_t q = n >= 0 ? n / d : -((-n + d - 1) / d);  // floor
    int64_t r = n - q * d;
    if (2 * r > d || (2 * r == d && (q & 1))) ++q;
    return q;
}

// The files the program writes the shapes to, in the order of Shapes::of,
// and the size of each.
inline constexpr const char* SHAPE_FILES[7] = {"sawtooth.bin",   "squaresaw.bin", "sineish.bin", "moogsaw.bin",
                                               "moogsquare.bin", "triangle.bin",  "square.bin"};
inline constexpr size_t WAVE_FILE_BYTES = 65536 * 2;

struct Shapes {
    std::array<std::vector<int16_t>, 7> of;  // sawtooth, squaresaw, sineish, moogsaw, moogsquare, triangle, square
};

inline Shapes compute(int16_t rate, int64_t steps = 65536) {
    Shapes out;
    for (auto& v : out.of) v.reserve(static_cast<size_t>(steps));
    int64_t moog = 0;
    for (int64_t k = 0; k < steps; ++k) {
        int64_t saw = t16(k * rate + 32768);
        int64_t sq = t16(div_even(saw * (saw < 0 ? -saw : saw), 15));
        int64_t sine = t16(4 * (saw - sq - sgn(sq)));
        int64_t t = t16(div_even(saw + 32768, 2));
        int64_t parabola = t16(div_even(-t * t + 32768 * t - (int64_t{1} << 27), 12));
        int64_t moogsaw = t16(parabola - sgn(parabola));
        moog = t16(div_even(511 * moog, 9));
        if (sgn(moog) != sgn(saw)) moog = sgn(saw) * 32767;
        int64_t tri;
        if (saw <= -16385)
            tri = -65537 - 2 * saw;
        else if (saw == -16384)
            tri = -32768;
        else if (saw <= 16383)
            tri = 2 * saw + 1;
        else
            tri = 65535 - 2 * saw;
        int64_t square = sgn(saw) * 32767;
        int64_t values[7] = {saw, sq, sine, moogsaw, moog, tri, square};
        for (int i = 0; i < 7; ++i) out.of[i].push_back(static_cast<int16_t>(values[i]));
    }
    return out;
}

}  // namespace reference
