#include "generator/wave.h"

#include <cmath>

namespace {

// The low 16 bits of x as a signed value.
inline int16_t t16(int64_t x) { return static_cast<int16_t>(static_cast<uint16_t>(x)); }

inline int32_t sgn(int32_t x) { return (x > 0) - (x < 0); }

inline int64_t r(double x) { return static_cast<int64_t>(round_half_even(x)); }

}  // namespace

void wave_start(WaveState& state, int16_t rate) {
    state = WaveState{};
    state.rate = rate;
    state.phase = t16(-int32_t{rate});
}

WaveSamples wave_step(WaveState& s) {
    WaveSamples out;
    s.phase = t16(int32_t{s.phase} + s.rate);

    s.work = t16(int32_t{s.phase} + 32768);
    s.saw = s.work;
    out.value[SAWTOOTH] = s.work;

    int64_t w = s.work;
    s.work = t16(r(static_cast<double>(w * (w < 0 ? -w : w)) / 32768.0));
    out.value[SQUARESAW] = s.work;

    int64_t difference = int64_t{s.saw} - s.work - sgn(s.work);
    s.sineish = t16(static_cast<int32_t>(difference) * 4);
    out.value[SINEISH] = s.sineish;

    s.work = t16(r(s.saw / 4.0 + 8192.0));
    w = s.work;
    s.work = t16(r((static_cast<double>(w * w) / 32768.0 - static_cast<double>(w)) * -8.0 - 32768.0));
    s.work = t16(int32_t{s.work} - sgn(s.work));
    out.value[MOOGSAW] = s.work;

    s.moog_square = t16(r(s.moog_square - s.moog_square / 512.0));
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
