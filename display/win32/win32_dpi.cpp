// The window on displays of many pixels per inch: its client area is the
// picture times the whole factor of its DPI, so that each picture pixel is
// a square block of device pixels, and it follows the window from one
// monitor to another. The program is per-monitor DPI aware through its
// manifest; the per-monitor calls are Windows 10's and are looked up at run
// time (User32Extras): without them the system's DPI serves (Windows 7,
// where the manifest makes the program aware of it).
#include <windows.h>

#include "display/display_window.h"
#include "display/picture_scale.h"
#include "display/win32/win32_window.h"
#include "gfx/screen.h"

namespace {

constexpr UINT STANDARD_DPI = 96;

UINT system_dpi() {
    const User32Extras& u = win32_window().user32;
    if (u.GetDpiForSystem) {
        if (const UINT dpi = u.GetDpiForSystem()) return dpi;
    }
    HDC dc = GetDC(nullptr);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 0;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : STANDARD_DPI;
}

UINT window_dpi(HWND window) {
    const User32Extras& u = win32_window().user32;
    const UINT dpi = u.GetDpiForWindow && window ? u.GetDpiForWindow(window) : 0;
    return dpi ? dpi : system_dpi();
}

// The outer size the window is pinned to, and given.
void resize(HWND window, SIZE outer, const POINT* at) {
    DisplayWindow& w = display_window();
    w.outer_width = outer.cx;
    w.outer_height = outer.cy;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (at ? 0 : SWP_NOMOVE);
    SetWindowPos(window, nullptr, at ? at->x : 0, at ? at->y : 0, outer.cx, outer.cy, flags);
}

// The window's size for the chosen scale and DPI, its top-left corner at
// `at` (null: where it is). Where the frame turns out otherwise than the
// DPI's (a system that keeps the frame of its own DPI), the outer size
// makes up the difference, so that the client area is the picture's.
void fit_window(HWND window, const POINT* at) {
    const DisplayWindow& w = display_window();
    const int32_t scale = win32_window().scale;
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    const DWORD ex_style = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    SIZE outer{};
    if (!win32_outer_size(style, ex_style, &outer)) return;
    resize(window, outer, at);
    RECT client{};
    if (!GetClientRect(window, &client)) return;
    const LONG wider = w.width * scale - client.right, taller = w.height * scale - client.bottom;
    if (wider || taller) resize(window, SIZE{outer.cx + wider, outer.cy + taller}, nullptr);
}

}  // namespace

void win32_choose_scale(bool full_screen) {
    Win32Window& w32 = win32_window();
    w32.dpi = full_screen ? STANDARD_DPI : system_dpi();
    w32.scale = full_screen ? 1 : dpi_scale(static_cast<int32_t>(w32.dpi));
}

void win32_adopt_window_dpi() {
    Win32Window& w32 = win32_window();
    if (!w32.window || (display_window().flags & SCREEN_FULLSCREEN)) return;
    const UINT dpi = window_dpi(w32.window);
    if (dpi == w32.dpi) return;
    w32.dpi = dpi;
    w32.scale = dpi_scale(static_cast<int32_t>(dpi));
    fit_window(w32.window, nullptr);
}

bool win32_outer_size(DWORD style, DWORD ex_style, SIZE* outer) {
    const DisplayWindow& w = display_window();
    const Win32Window& w32 = win32_window();
    RECT r{0, 0, w.width * w32.scale, w.height * w32.scale};
    const User32Extras& u = w32.user32;
    const BOOL sized = u.AdjustWindowRectExForDpi ? u.AdjustWindowRectExForDpi(&r, style, FALSE, ex_style, w32.dpi)
                                                  : AdjustWindowRectEx(&r, style, FALSE, ex_style);
    if (!sized) return false;
    *outer = SIZE{r.right - r.left, r.bottom - r.top};
    return true;
}

void win32_dpi_changed(HWND window, UINT dpi, const RECT& suggested) {
    Win32Window& w32 = win32_window();
    if ((display_window().flags & SCREEN_FULLSCREEN) || window != w32.window || dpi == 0) return;
    const int32_t scale = dpi_scale(static_cast<int32_t>(dpi));
    if (scale != w32.scale) {
        if (!w32.rescale || !w32.rescale(scale)) return;  // the picture stays as it was
        w32.scale = scale;
    }
    w32.dpi = dpi;
    const POINT at{suggested.left, suggested.top};
    fit_window(window, &at);
    gfx_mark_all_dirty();
}
