#include "display/x11/x11_driver.h"

#include "display/display_window.h"
#include "display/window_events.h"
#include "display/x11/x11_backend.h"
#include "gfx/screen.h"

// OpenGL and shaped windows are not served here. Without a display to
// talk to, or without the X libraries, init fails at once and the program
// works on the terminal.
int32_t x11_init(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate, int32_t flags) {
    display_window_clear();
    if (flags & (SCREEN_OPENGL | SCREEN_SHAPED)) return -1;
    if (!x11_display_named() || !x11_library_load()) return -1;
    display_window().backend = {x11_window_init, x11_window_exit, x11_paint, x11_thread_main, x11_confine_pointer};
    return display_window_init(title, width, height, depth, refresh_rate, flags);
}

// clang-format off
const GfxDriver x11_driver = {
    "X11",           x11_init,           display_window_exit, window_lock,      window_unlock,
    window_set_palette, window_wait_frame, window_get_mouse,  window_set_mouse, window_set_title,
    window_set_pos,  x11_fetch_modes,    nullptr,             nullptr,          {nullptr, nullptr},
};
// clang-format on
