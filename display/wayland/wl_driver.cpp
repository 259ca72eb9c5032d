#include "display/wayland/wl_driver.h"

#include "display/display_window.h"
#include "display/wayland/wl_backend.h"
#include "display/window_events.h"
#include "display/xkb/xkb_symbols.h"
#include "gfx/screen.h"
#include "runtime/console/bell.h"

// OpenGL and shaped windows are not served here. Without a compositor to
// talk to, or without its libraries and xkbcommon (no keys without it),
// init fails at once and the next driver is tried.
int32_t wl_init(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate, int32_t flags) {
    display_window_clear();
    if (flags & (SCREEN_OPENGL | SCREEN_SHAPED)) return -1;
    if (!wl_display_named() || !wl_library_load() || !xkb_library_load()) return -1;
    display_window().backend = {wl_window_init, wl_window_exit, wl_picture_damage_all, wl_thread_main, nullptr};
    if (display_window_init(title, width, height, depth, refresh_rate, flags) != 0) return -1;
    // No bell for Wayland clients to ring: the terminal's rings.
    bell_set_handler(nullptr);
    return 0;
}

// clang-format off
const GfxDriver wl_driver = {
    "Wayland",          wl_init,           display_window_exit, window_lock,      window_unlock,
    window_set_palette, window_wait_frame, window_get_mouse,    window_set_mouse, window_set_title,
    window_set_pos,     wl_fetch_modes,    nullptr,             nullptr,          {nullptr, nullptr},
};
// clang-format on
