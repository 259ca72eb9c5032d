#pragma once
#include <cstdint>

// The state of one run of the phase accumulator. Every field is a signed
// 16-bit value with two's-complement wrap-around.
struct WaveState {
    int16_t rate;
    int16_t phase;
    int16_t work;
    int16_t saw;
    int16_t sineish;
    int16_t moog_square;  // the only value carried from step to step
};

// The seven shapes, in the order one step produces them.
enum Shape : int32_t { SAWTOOTH, SQUARESAW, SINEISH, MOOGSAW, MOOGSQUARE, TRIANGLE, SQUARE, SHAPE_COUNT };

struct WaveSamples {
    int16_t value[SHAPE_COUNT];
};

void wave_start(WaveState& state, int16_t rate);

// Round to nearest, ties to even, on a double whose magnitude is far below
// 2^51: adding and removing 1.5 * 2^52 leaves exactly the rounded value
// under the round-to-nearest mode the runtime sets. Same result as
// nearbyint, without a library call in the inner loop.
inline double round_half_even(double x) {
    constexpr double shifter = 6755399441055744.0;  // 1.5 * 2^52
    return (x + shifter) - shifter;                 // exact: no reassociation without fast-math
}

namespace wave_detail {

// The low 16 bits of x as a signed value.
inline int16_t t16(int64_t x) { return static_cast<int16_t>(static_cast<uint16_t>(x)); }

inline int32_t sgn(int32_t x) { return (x > 0) - (x < 0); }

// R(p / 2^k), nearest with ties to even, in integers: adding half less one,
// plus one more when the floor quotient is odd, before the floor division
// carries a half up exactly when that makes the result even. p + 2^(k-1)
// must fit in 32 bits.
inline int32_t div_round_even(int32_t p, int k) { return (p + ((1 << (k - 1)) - 1) + ((p >> k) & 1)) >> k; }

}  // namespace wave_detail

// One step: the seven samples. Every floating step of the formulas is an
// exact rational with a power-of-two divisor (the products stay far below
// 2^53, so the doubles round nowhere but in R), so it is done here in
// integers with the same rounding: bit for bit the same values, without the
// conversions' latency, and short enough to inline so that a caller's loop
// keeps the state in registers.
inline WaveSamples wave_step(WaveState& s) {
    using wave_detail::div_round_even;
    using wave_detail::sgn;
    using wave_detail::t16;
    WaveSamples out;
    s.phase = t16(int32_t{s.phase} + s.rate);

    s.work = t16(int32_t{s.phase} + 32768);
    s.saw = s.work;
    out.value[SAWTOOTH] = s.work;

    // R(w * |w| / 32768.0)
    int32_t w = s.work;
    s.work = t16(div_round_even(w * (w < 0 ? -w : w), 15));
    out.value[SQUARESAW] = s.work;

    int64_t difference = int64_t{s.saw} - s.work - sgn(s.work);
    s.sineish = t16(static_cast<int32_t>(difference) * 4);
    out.value[SINEISH] = s.sineish;

    // t = R(saw / 4.0 + 8192.0) = R((saw + 32768) / 4), then
    // R((t * t / 32768.0 - t) * -8.0 - 32768.0) = R((32768 t - t * t - 2^27) / 4096).
    int32_t t = t16(div_round_even(int32_t{s.saw} + 32768, 2));
    s.work = t16(div_round_even(32768 * t - t * t - 134217728, 12));
    s.work = t16(int32_t{s.work} - sgn(s.work));
    out.value[MOOGSAW] = s.work;

    // R(m - m / 512.0) = R(511 m / 512). This value alone carries from one
    // step to the next, so its chain of operations sets the pace.
    s.moog_square = t16(div_round_even(int32_t{s.moog_square} * 511, 9));
    if (sgn(s.moog_square) != sgn(s.saw)) s.moog_square = t16(sgn(s.saw) * 32767);
    out.value[MOOGSQUARE] = s.moog_square;

    s.work = t16(int32_t{s.saw} + 16384);
    int32_t g = sgn(s.work);
    uint16_t high = static_cast<uint16_t>(t16(g + 32768));
    uint16_t doubled = static_cast<uint16_t>(2 * int32_t{s.work});
    s.work = static_cast<int16_t>(high ^ doubled);
    out.value[TRIANGLE] = s.work;

    s.work = t16(sgn(s.saw) * 32767);
    out.value[SQUARE] = s.work;
    return out;
}
