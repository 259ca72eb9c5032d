#pragma once
// What the refresh-pass measurements of the Windows window drivers share:
// a page with something on every row, and every row marked for the
// display.
#include <cstdint>

#include "bench/pass_timer.h"
#include "gfx/screen.h"

inline void fill_page() {
    gfx_lock();
    GfxScreen* s = g_gfx_screen;
    for (int32_t y = 0; y < s->height; ++y)
        for (int32_t x = 0; x < s->width; ++x) s->visible_pixels[y * s->pitch + x] = static_cast<uint8_t>(x ^ y);
    gfx_unlock(-1, -1);
}

inline void mark_all_dirty() {
    gfx_lock();
    gfx_mark_all_dirty();
    gfx_unlock(1, 0);
}
