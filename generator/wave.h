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
WaveSamples wave_step(WaveState& state);

// Round to nearest, ties to even, on a double whose magnitude is far below
// 2^51: adding and removing 1.5 * 2^52 leaves exactly the rounded value
// under the round-to-nearest mode the runtime sets. Same result as
// nearbyint, without a library call in the inner loop.
inline double round_half_even(double x) {
    constexpr double shifter = 6755399441055744.0;  // 1.5 * 2^52
    return (x + shifter) - shifter;  // exact: no reassociation without fast-math
}
