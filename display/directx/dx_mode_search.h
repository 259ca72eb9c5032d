#pragma once
// The full-screen display-mode search of "DirectX" and the reading of a
// surface's pixel format: logic over what DirectDraw answers, kept apart
// from the calls so that it can be shown with any answer.
#include <cstdint>
#include <functional>

// Asks the display for width x height at depth; true when it is set.
using TryDisplayMode = std::function<bool(int32_t width, int32_t height, int32_t depth)>;

// Finds a display mode for a picture of width x height at depth: that
// height first, then the standard heights above it (240, 480, 600, 768,
// 1024), each at the depth and then at the depth stored alike (16 and 15,
// 24 and 32). The result is the vertical offset that centres the picture
// on the mode found, or -1 when none up to 1024 rows is accepted.
int32_t dx_find_display_mode(int32_t width, int32_t height, int32_t depth, const TryDisplayMode& try_mode);

// The depth tried when a mode of `depth` is refused: 15 for 16, 16 for 15,
// 32 for 24, 24 for 32; 0 for none.
int32_t dx_partner_depth(int32_t depth);

// The standard height tried after `height`; -1 above 1023.
int32_t dx_next_height(int32_t height);

// The bits per pixel of a surface as the converters count them: 16 with
// the green mask of 5-5-5 is 15.
int32_t dx_surface_bits(uint32_t bit_count, uint32_t green_mask);

// Where the surface keeps red: 1 (destination order 1) when red is in the
// low bits, else 0.
int32_t dx_destination_order(int32_t bits, uint32_t red_mask);
