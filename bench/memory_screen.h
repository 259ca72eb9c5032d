#pragma once
// The program's screen in memory only, filled with a pattern of every
// colour: what the display benchmarks show.
#include <cstdlib>

#include "gfx/screen.h"
#include "runtime/runtime_context.h"

inline bool open_memory_screen() {
    runtime_init();
    setenv("ZVGFX", "null", 1);
    if (gfx_screen_res(512, 512, 8, 4, 0, 0) != ERR_NONE) return false;
    GfxScreen* s = g_gfx_screen;
    for (int32_t i = 0; i < s->width * s->height; ++i) s->visible_pixels[i] = static_cast<uint8_t>(i * 7 / 3);
    return true;
}
