#include "display/directx/dx_driver.h"

#include "display/directx/dx_backend.h"
#include "display/display_window.h"
#include "display/win32/win32_window.h"
#include "display/window_events.h"
#include "gfx/screen.h"

// OpenGL and shaped windows are not served here. The framed window's first
// position is chosen by its first window init, which knows its scale.
int32_t dx_init(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate, int32_t flags) {
    display_window_clear();
    if (flags & (SCREEN_OPENGL | SCREEN_SHAPED)) return -1;
    display_window().backend = {dx_window_init, dx_window_exit, dx_paint, dx_thread_main, win32_confine_cursor};
    win32_window().rescale = dx_rescale;
    dx_state().window_placed = false;
    return display_window_init(title, width, height, depth, refresh_rate, flags);
}

// clang-format off
const GfxDriver dx_driver = {
    "DirectX",          dx_init,        display_window_exit, window_lock,      window_unlock,
    window_set_palette, dx_wait_vsync,  window_get_mouse,    window_set_mouse, window_set_title,
    window_set_pos,     dx_fetch_modes, nullptr,             nullptr,          {nullptr, nullptr},
};
// clang-format on
