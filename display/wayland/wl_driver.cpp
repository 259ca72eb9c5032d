#include "display/wayland/wl_driver.h"

#include <cstring>

#include "display/display_window.h"
#include "display/wayland/wl_backend.h"
#include "display/wayland/wl_wake.h"
#include "display/window_events.h"
#include "display/xkb/xkb_symbols.h"
#include "gfx/screen.h"
#include "runtime/bell.h"

namespace {

// Something for the refresh thread to show or carry out: rows drawn, the
// palette, a request. Asked with the display lock held.
bool pass_wanted() {
    const GfxScreen* s = g_gfx_screen;
    if (display_window().palette_changed.load()) return true;
    if (s && s->dirty_rows && std::memchr(s->dirty_rows, 1, static_cast<size_t>(window_rows(*s)))) return true;
    return false;
}

// The unlock slot: the refresh thread sleeps until the drawing thread
// leaves something to show.
void wl_unlock() {
    if (pass_wanted()) wl_wake();
    window_unlock();
}

// Requests made outside the screen lock wake the thread themselves.
void wl_set_palette(int32_t index, int32_t red, int32_t green, int32_t blue) {
    window_set_palette(index, red, green, blue);
    wl_wake();
}

void wl_set_title(const char* text) {
    window_set_title(text);
    wl_wake();
}

void wl_set_mouse(int32_t x, int32_t y, int32_t cursor, int32_t clip) {
    window_set_mouse(x, y, cursor, clip);
    wl_wake();
}

// The refresh thread sleeps until poked: it is told to end first.
void wl_exit() {
    wl_wake_stop();
    display_window_exit();
    wl_wake_close();
}

}  // namespace

// OpenGL and shaped windows are not served here. Without a compositor to
// talk to, or without its libraries and xkbcommon (no keys without it),
// init fails at once and the next driver is tried.
int32_t wl_init(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                int32_t flags) {
    display_window_clear();
    if (flags & (SCREEN_OPENGL | SCREEN_SHAPED)) return -1;
    if (!wl_display_named() || !wl_library_load() || !xkb_library_load() || !wl_wake_open()) return -1;
    display_window().backend = {wl_window_init, wl_window_exit, wl_picture_damage_all, wl_thread_main, nullptr};
    if (display_window_init(title, width, height, depth, refresh_rate, flags) != 0) return -1;
    // No bell for Wayland clients to ring: the terminal's rings.
    bell_set_handler(nullptr);
    return 0;
}

const GfxDriver wl_driver = {
    "Wayland",     wl_init,           wl_exit,          window_lock,  wl_unlock,
    wl_set_palette, window_wait_frame, window_get_mouse, wl_set_mouse, wl_set_title,
    window_set_pos, wl_fetch_modes,    nullptr,          nullptr,      {nullptr, nullptr},
};
