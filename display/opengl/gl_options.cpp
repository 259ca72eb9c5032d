#include "display/opengl/gl_options.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

GlOptions g_options;

// Channel sizes by class (colour bits 1..8, 9..16, 17..24, 25 and more).
constexpr int32_t RGB_BITS[4] = {0, 5, 8, 8};
constexpr int32_t ALPHA_BITS[4] = {0, 0, 0, 8};

// Sums the channels without overflowing on absurd requests.
int32_t sum(int32_t a, int32_t b, int32_t c, int32_t d) {
    const int64_t total = int64_t{a} + b + c + d;
    return static_cast<int32_t>(
        std::clamp<int64_t>(total, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// The class of a total size; nonsense (negative) totals count as the lowest.
int32_t size_class(int32_t bits) {
    return static_cast<int32_t>(std::clamp<int64_t>((int64_t{bits} + 7) / 8 - 1, 0, 3));
}

void fill_channels(int32_t total, int32_t* red, int32_t* green, int32_t* blue, int32_t* alpha) {
    const int32_t k = size_class(total);
    if (*red == 0) *red = RGB_BITS[k];
    if (*green == 0) *green = RGB_BITS[k];
    if (*blue == 0) *blue = RGB_BITS[k];
    if (*alpha == 0) *alpha = ALPHA_BITS[k];
}

}  // namespace

GlOptions& gl_options() { return g_options; }

GlOptions gl_options_with_defaults(const GlOptions& requested, int32_t depth, int32_t flags) {
    GlOptions o = requested;
    if (o.colour_bits == 0) o.colour_bits = sum(o.red_bits, o.green_bits, o.blue_bits, o.alpha_bits);
    if (o.colour_bits == 0) o.colour_bits = depth;
    fill_channels(o.colour_bits, &o.red_bits, &o.green_bits, &o.blue_bits, &o.alpha_bits);
    if (o.accum_bits == 0)
        o.accum_bits = sum(o.accum_red_bits, o.accum_green_bits, o.accum_blue_bits, o.accum_alpha_bits);
    if (o.accum_bits == 0 && (flags & SCREEN_ACCUMULATION_BUFFER)) o.accum_bits = 32;
    // Without an accumulation buffer its channels stay unset.
    if (o.accum_bits != 0)
        fill_channels(o.accum_bits, &o.accum_red_bits, &o.accum_green_bits, &o.accum_blue_bits, &o.accum_alpha_bits);
    if (o.depth_bits == 0) o.depth_bits = 16;
    if (o.stencil_bits == 0 && (flags & SCREEN_STENCIL_BUFFER)) o.stencil_bits = 8;
    if (o.samples == 0 && (flags & SCREEN_MULTISAMPLE)) o.samples = 4;
    return o;
}
