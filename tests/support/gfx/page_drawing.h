#pragma once
// What the display tests draw on the program's screen for a window to
// show: every colour of the palette, and two rows far apart changed later.
#include <cstdint>
#include <cstring>

#include "gfx/screen.h"

// Fills the visible page with a pattern of every palette colour and marks
// it for the display.
inline void draw_pattern() {
    GfxScreen* s = g_gfx_screen;
    gfx_lock();
    for (int32_t y = 0; y < s->height; ++y)
        for (int32_t x = 0; x < s->width; ++x)
            s->visible_pixels[y * s->pitch + x] = static_cast<uint8_t>((x / 2 + y * 7) & 0xFF);
    gfx_unlock(-1, -1);
}

// Rows 3 and 500 in colours of their own, each marked by an unlock of its
// own: the display must show both.
inline void draw_two_distant_rows() {
    GfxScreen* s = g_gfx_screen;
    gfx_lock();
    std::memset(s->visible_pixels + 3 * s->pitch, 12, static_cast<size_t>(s->width));
    std::memset(s->visible_pixels + 500 * s->pitch, 9, static_cast<size_t>(s->width));
    gfx_unlock(3, 3);
    gfx_lock();
    gfx_unlock(500, 500);
}
