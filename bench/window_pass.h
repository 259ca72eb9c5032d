#pragma once
// What the refresh-pass measurements of the Windows window drivers share:
// the program's screen in a window of the driver, a page with something on
// every row, and every row marked for the display.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/pass_timer.h"
#include "gfx/screen.h"
#include "runtime/runtime_context.h"

inline void fill_page() {
    gfx_lock();
    GfxScreen* s = g_gfx_screen;
    for (int32_t y = 0; y < s->height; ++y)
        for (int32_t x = 0; x < s->width; ++x) s->visible_pixels[y * s->pitch + x] = static_cast<uint8_t>(x ^ y);
    gfx_unlock(-1, -1);
}

// A back-end's refresh pass as the refresh thread makes it: under the
// display lock.
template <class Pass>
void locked_pass(Pass pass) {
    gfx_lock();
    pass();
    gfx_unlock(1, 0);
}

inline void mark_all_dirty() {
    gfx_lock();
    gfx_mark_all_dirty();
    gfx_unlock(1, 0);
}

// The program's screen (512 x 512 x 8, four pages) in a window of the
// driver named `driver`, its page filled and the window given time to come
// up; false, with a message naming what is missing besides a desktop,
// where there is none.
inline bool open_window_screen(const char* driver, const char* also_missing) {
    runtime_init();
    _putenv_s("ZVGFX", driver);
    if (gfx_screen_res(512, 512, 8, 4, 0, 0) != ERR_NONE || std::string(g_gfx_screen->driver->name) != driver) {
        std::fprintf(stderr, "no %s window: no desktop (under Wine set WT_WINE_DISPLAY)%s\n", driver, also_missing);
        return false;
    }
    fill_page();
    Sleep(200);
    // The passes measured are this thread's: the refresh thread no longer
    // hears of marked rows, so it sleeps meanwhile.
    gfx_set_change_listener(nullptr, nullptr);
    return true;
}
