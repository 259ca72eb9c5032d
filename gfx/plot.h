#pragma once
#include <cstdint>

#include "gfx/screen.h"

inline constexpr int32_t COORD_COLOUR_OMITTED = static_cast<int32_t>(0x80000000u);
inline constexpr int32_t COORD_POINT = 4;
inline constexpr int32_t COORD_POINT_RELATIVE = 5;

// gfx_pset's steps once a screen is there.
void gfx_pset_on_screen(void* target, float x, float y, uint32_t colour, int32_t coord_type, int32_t preset);

// Sets one pixel of the drawing target (null: the work page). Without a
// screen it does nothing, and that test is inline: the batch run, which has
// no screen, then pays neither the call nor the computing of its arguments.
inline void gfx_pset(void* target, float x, float y, uint32_t colour, int32_t coord_type, int32_t preset) {
    if (g_gfx_screen) gfx_pset_on_screen(target, x, y, colour, coord_type, preset);
}

// Applies the coordinate type to the points (relative points get the last
// point added) and records the last point. The second pair may be null.
void gfx_fix_coords(DrawContext* ctx, int32_t coord_type, float* x1, float* y1, float* x2, float* y2);

// Caller coordinates to a pixel: halves away from zero, then the view origin.
void gfx_to_pixel(const DrawContext* ctx, float x, float y, int32_t* px, int32_t* py);

// The colour as the target stores it.
uint32_t gfx_convert_colour(uint32_t colour, int32_t bytes_per_pixel);
