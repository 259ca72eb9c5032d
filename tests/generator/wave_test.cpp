#include "generator/wave.h"

#include <gtest/gtest.h>

#include <cmath>

#include "generator/run.h"
#include "support/reference_waves.h"

namespace {

std::vector<WaveSamples> run_steps(int16_t rate, int64_t steps) {
    WaveState state;
    wave_start(state, rate);
    std::vector<WaveSamples> out;
    for (int64_t i = 0; i < steps; ++i) out.push_back(wave_step(state));
    return out;
}

using Seven = std::array<int16_t, 7>;

Seven seven(const WaveSamples& s) {
    Seven v;
    for (int i = 0; i < 7; ++i) v[i] = s.value[i];
    return v;
}

struct StepCase {
    int16_t rate;
    int64_t step;
    Seven expected;  // sawtooth, squaresaw, sineish, moogsaw, moogsquare, triangle, square
};

TEST(WaveStep, KnownSamples) {
    const StepCase cases[] = {
        {1, 0, {-32768, -32768, 4, -32767, -32767, -1, -32767}},
        {1, 1, {-32767, -32766, 0, -32767, -32703, -3, -32767}},
        {1, 65535, {32767, 32766, 0, -32767, 256, 1, 32767}},
        {128, 256, {0, 0, 0, 16383, 0, 1, 0}},
        {0, 0, {-32768, -32768, 4, -32767, -32767, -1, -32767}},
        {0, 1, {-32768, -32768, 4, -32767, -32703, -1, -32767}},
        {0, 2, {-32768, -32768, 4, -32767, -32639, -1, -32767}},
        {0, 65535, {-32768, -32768, 4, -32767, -256, -1, -32767}},
    };
    for (const StepCase& c : cases) {
        auto steps = run_steps(c.rate, c.step + 1);
        EXPECT_EQ(seven(steps[static_cast<size_t>(c.step)]), c.expected) << "rate " << c.rate << " step " << c.step;
    }
}

TEST(WaveStep, RateOneCycleLandmarks) {
    auto s = run_steps(1, 65536);
    EXPECT_EQ(s[16384].value[SAWTOOTH], -16384);
    EXPECT_EQ(s[16384].value[SINEISH], -32764);
    // The moogsaw falls from its top to -32767 at sawtooth 32587 and stays there.
    EXPECT_EQ(s[65355].value[SAWTOOTH], 32587);
    EXPECT_EQ(s[65354].value[MOOGSAW], 32766);
    for (size_t i = 65355; i < 65536; ++i) ASSERT_EQ(s[i].value[MOOGSAW], -32767) << i;
    EXPECT_EQ(s[32454 + 32768].value[MOOGSAW], 32766);
    // Around the middle of the cycle the moogsquare flips and decays.
    const int16_t moog[] = {-256, -256, 0, 32767, 32703, 32639};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(s[32766 + i].value[MOOGSQUARE], moog[i]) << i;
}

TEST(WaveStep, RateZeroSettlesAt256) {
    auto s = run_steps(0, 65536);
    EXPECT_LT(s[2421].value[MOOGSQUARE], -256);
    for (size_t i = 2422; i < s.size(); ++i) ASSERT_EQ(s[i].value[MOOGSQUARE], -256) << i;
}

TEST(WaveStep, NegativeAndExtremeRates) {
    auto minus_one = run_steps(-1, 200);
    EXPECT_EQ(minus_one[0].value[SAWTOOTH], -32768);
    EXPECT_EQ(minus_one[1].value[SAWTOOTH], 32767);
    EXPECT_EQ(minus_one[2].value[SAWTOOTH], 32766);
    for (size_t i = 0; i < 182; ++i) ASSERT_EQ(minus_one[i].value[MOOGSAW], -32767) << i;
    EXPECT_NE(minus_one[182].value[MOOGSAW], -32767);

    auto lowest = run_steps(-32768, 6);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(lowest[i].value[SAWTOOTH], i % 2 ? 0 : -32768);
        EXPECT_EQ(lowest[i].value[SQUARE], i % 2 ? 0 : -32767);
    }
}

// The step against the independent model of the tests, whole cycles, for
// rates that reach every rounding tie.
TEST(WaveStep, MatchesIntegerModel) {
    for (int16_t rate : {1, 0, -1, 128, -32768, 3, 7, 255, 4096, 12345, 32767, -300}) {
        reference::Shapes ref = reference::compute(rate);
        auto s = run_steps(rate, 65536);
        for (int shape = 0; shape < SHAPE_COUNT; ++shape)
            for (size_t i = 0; i < s.size(); ++i)
                ASSERT_EQ(s[i].value[shape], ref.of[shape][i])
                    << "rate " << rate << " shape " << shape << " step " << i;
    }
}

TEST(PlotRow, TiesToEvenAndEdges) {
    const std::pair<int16_t, float> cases[] = {
        {-32768, 511.0f}, {-32704, 511.0f}, {0, 255.0f},    {64, 255.0f},   {192, 253.0f},
        {32640, 0.0f},    {32703, 0.0f},    {32704, -1.0f}, {32767, -1.0f}, {-32767, 511.0f},
    };
    for (auto [value, row] : cases) EXPECT_EQ(plot_row(value), row) << value;
}

TEST(RoundHalfEven, MatchesNearbyint) {
    for (double x : {0.5, 1.5, 2.5, -0.5, -1.5, -2.5, 32767.5, -32768.5, 1e9 + 0.5, 0.49999999999999994, -7.25})
        EXPECT_EQ(round_half_even(x), std::nearbyint(x)) << x;
}

}  // namespace
