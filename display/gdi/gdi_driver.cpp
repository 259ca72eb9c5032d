#include "display/gdi/gdi_driver.h"

#include "display/display_window.h"
#include "display/gdi/gdi_backend.h"
#include "display/win32/win32_window.h"
#include "display/window_events.h"
#include "gfx/screen.h"

// OpenGL windows are not served here. Where no window can be made (no
// desktop) the refresh thread ends at once and init fails.
int32_t gdi_init(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate, int32_t flags) {
    display_window_clear();
    if (flags & SCREEN_OPENGL) return -1;
    display_window().backend = {gdi_window_init, gdi_window_exit, gdi_paint, gdi_thread_main, win32_confine_cursor};
    win32_window().rescale = gdi_rescale;
    return display_window_init(title, width, height, depth, refresh_rate, flags);
}

// clang-format off
const GfxDriver gdi_driver = {
    "GDI",           gdi_init,           display_window_exit, window_lock,      window_unlock,
    window_set_palette, window_wait_frame, window_get_mouse,  window_set_mouse, window_set_title,
    window_set_pos,  gdi_fetch_modes,    nullptr,             nullptr,          {nullptr, nullptr},
};
// clang-format on
