// The OpenGL window's placement, made once and restyled in place on every
// switch between window and full screen (its rendering context lives on
// it), and the display modes.
#include <cstdlib>

#include "display/display_window.h"
#include "display/mode_list.h"
#include "display/opengl/gl_platform.h"
#include "display/wgl/wgl_backend.h"
#include "display/win32/win32_window.h"
#include "gfx/screen.h"

namespace {

constexpr DWORD FRAME_BITS = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr UINT WINDOW_PLACEMENT_FLAGS =
    SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;

struct Placement {
    DWORD style;
    int32_t x, y, outer_width, outer_height;
    UINT flags;
};

// Full screen: the display mode changed to the picture's size, the window
// frameless over the whole of it.
bool place_fullscreen(const MONITORINFOEXA* monitor, DWORD style, Placement* p) {
    const DisplayWindow& w = display_window();
    if (!win32_set_display_mode(monitor, w.width, w.height, w.depth, w.refresh_rate)) return false;
    *p = {(style & ~FRAME_BITS) | WS_POPUP,
          monitor ? monitor->rcMonitor.left : 0,
          monitor ? monitor->rcMonitor.top : 0,
          w.width,
          w.height,
          SWP_FRAMECHANGED};
    return true;
}

// A window of the picture's client size, framed as the request says,
// centred.
bool place_window(const MONITORINFOEXA* monitor, DWORD style, Placement* p) {
    const DisplayWindow& w = display_window();
    if (w.flags & SCREEN_NO_FRAME) {
        style = (style & ~FRAME_BITS) | WS_POPUP;
    } else {
        style = (style & ~(WS_POPUP | WS_THICKFRAME)) | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        style = (w.flags & SCREEN_NO_SWITCH) ? style & ~WS_MAXIMIZEBOX : style | WS_MAXIMIZEBOX;
    }
    RECT r{0, 0, w.width, w.height};
    if (!AdjustWindowRect(&r, style, FALSE)) return false;
    const int32_t outer_width = r.right - r.left, outer_height = r.bottom - r.top;
    const POINT at = win32_centred_position(monitor, outer_width, outer_height);
    *p = {style, at.x, at.y, outer_width, outer_height, WINDOW_PLACEMENT_FLAGS};
    return true;
}

}  // namespace

HDC wgl_window_dc() {
    WglState& g = wgl_state();
    const HWND window = win32_window().window;
    if (!g.dc && window) g.dc = GetDC(window);
    return g.dc;
}

int32_t gl_window_init() {
    DisplayWindow& w = display_window();
    const HWND window = win32_window().window;
    if (!window) return -1;
    MONITORINFOEXA info;
    const MONITORINFOEXA* monitor = win32_monitor_info(&info) ? &info : nullptr;
    const auto style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    Placement p{};
    const bool placed =
        (w.flags & SCREEN_FULLSCREEN) ? place_fullscreen(monitor, style, &p) : place_window(monitor, style, &p);
    if (!placed) return -1;
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(p.style));
    // The window procedure pins the window to the stored size.
    w.outer_width = p.outer_width;
    w.outer_height = p.outer_height;
    SetWindowPos(window, nullptr, p.x, p.y, p.outer_width, p.outer_height, p.flags);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    w.active = 1;
    if (HDC dc = wgl_window_dc()) win32_store_refresh_rate(dc);
    return 0;
}

void gl_window_exit() {
    const HWND window = win32_window().window;
    if (!window) return;
    if (display_window().flags & SCREEN_FULLSCREEN) win32_restore_display_mode();
    ShowWindow(window, SW_HIDE);
}

// The display modes of exactly `depth` bits; none when the list cannot
// hold them all.
int32_t* gl_fetch_modes(int32_t depth, int32_t* count) {
    ModeList list{};
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    bool complete = true;
    for (DWORD i = 0; complete && EnumDisplaySettingsA(nullptr, i, &mode); ++i)
        if (static_cast<int32_t>(mode.dmBitsPerPel) == depth)
            complete = mode_list_add(list, mode.dmPelsWidth, mode.dmPelsHeight);
    if (!complete || list.count == 0) {
        std::free(list.entries);
        list = ModeList{};
    }
    *count = list.count;
    return list.entries;
}
