#pragma once
#include <cstdint>

// What the program asks of the OpenGL framebuffer. Every field 0 means
// "unset": the defaults below fill it when a window is made.
struct GlOptions {
    int32_t colour_bits;
    int32_t red_bits, green_bits, blue_bits, alpha_bits;
    int32_t depth_bits;
    int32_t stencil_bits;
    int32_t accum_bits;
    int32_t accum_red_bits, accum_green_bits, accum_blue_bits, accum_alpha_bits;
    int32_t samples;
};

// Request flags of a mode set that only the OpenGL display reads.
inline constexpr int32_t SCREEN_STENCIL_BUFFER = 0x10000;
inline constexpr int32_t SCREEN_ACCUMULATION_BUFFER = 0x20000;
inline constexpr int32_t SCREEN_MULTISAMPLE = 0x40000;

// The options the program set for its next OpenGL screen; zeroed at start.
GlOptions& gl_options();

// The options a window is made with: `requested` with every unset field
// given its default for a screen of `depth` bits and the request `flags`.
// The program's own record is left as it set it, so a later screen of
// another depth gets that depth's defaults.
GlOptions gl_options_with_defaults(const GlOptions& requested, int32_t depth, int32_t flags);
