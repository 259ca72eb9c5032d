// The step computes every rounding R(x) of the formulas in integers. Each
// R takes a 16-bit value, so comparing it with the formula as written on
// doubles, rounded with nearbyint, for every 16-bit input proves the two
// the same.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

#include "generator/wave.h"

namespace {

using wave_detail::div_round_even;

int64_t r(double x) { return static_cast<int64_t>(std::nearbyint(x)); }

TEST(WaveRounding, EveryInputOfEveryRounding) {
    ASSERT_EQ(std::fegetround(), FE_TONEAREST);
    for (int32_t v = -32768; v <= 32767; ++v) {
        // squaresaw: R(work * |work| / 32768.0)
        int64_t product = int64_t{v} * (v < 0 ? -v : v);
        ASSERT_EQ(div_round_even(static_cast<int32_t>(product), 15), r(static_cast<double>(product) / 32768.0)) << v;
        // moogsaw, first sub-step: R(saw / 4.0 + 8192.0)
        ASSERT_EQ(div_round_even(v + 32768, 2), r(v / 4.0 + 8192.0)) << v;
        // moogsquare decay: R(m - m / 512.0)
        ASSERT_EQ(div_round_even(v * 511, 9), r(v - v / 512.0)) << v;
    }
    // moogsaw, second sub-step, on the values the first can give.
    for (int32_t t = 0; t <= 16384; ++t) {
        double written = ((static_cast<double>(int64_t{t} * t) / 32768.0 - static_cast<double>(t)) * -8.0 - 32768.0);
        ASSERT_EQ(div_round_even(32768 * t - t * t - 134217728, 12), r(written)) << t;
    }
}

}  // namespace
