// The parts of making a window the Windows back-ends share: the monitor,
// the display mode, the position, the refresh rate and the window itself.
#include <windows.h>

#include "display/display_window.h"
#include "display/win32/win32_window.h"
#include "gfx/screen.h"

bool win32_monitor_info(MONITORINFOEXA* info) {
    const Win32Window& w32 = win32_window();
    *info = MONITORINFOEXA{};
    info->cbSize = sizeof *info;
    if (!w32.user32.GetMonitorInfoA || !w32.monitor) return false;
    if (!w32.user32.GetMonitorInfoA(w32.monitor, reinterpret_cast<MONITORINFO*>(info))) return false;
    return info->szDevice[0] != 0;
}

bool win32_set_display_mode(const MONITORINFOEXA* monitor, int32_t width, int32_t height, int32_t depth,
                            int32_t refresh_rate) {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmBitsPerPel = static_cast<DWORD>(depth);
    mode.dmDisplayFrequency = static_cast<DWORD>(refresh_rate);
    const User32Extras& u = win32_window().user32;
    const LONG result = u.ChangeDisplaySettingsExA ? u.ChangeDisplaySettingsExA(monitor ? monitor->szDevice : nullptr,
                                                                                &mode, nullptr, CDS_FULLSCREEN, nullptr)
                                                   : ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN);
    return result == DISP_CHANGE_SUCCESSFUL;
}

void win32_restore_display_mode() { ChangeDisplaySettingsA(nullptr, 0); }

void win32_window_styles(int32_t flags, DWORD* sizing, DWORD* style) {
    constexpr DWORD FRAMED = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    *sizing = WS_POPUP;
    if (!(flags & SCREEN_NO_FRAME)) *sizing = (flags & SCREEN_NO_SWITCH) ? FRAMED : FRAMED | WS_MAXIMIZEBOX;
    *style = *sizing | WS_VISIBLE;
}

void win32_palette_entries(PALETTEENTRY (&entries)[256]) {
    const PaletteEntry* palette = display_window().palette;
    for (int32_t i = 0; i < 256; ++i)
        entries[i] = PALETTEENTRY{palette[i].red, palette[i].green, palette[i].blue, palette[i].flags};
}

POINT win32_centred_position(const MONITORINFOEXA* monitor, int32_t outer_width, int32_t outer_height) {
    if (monitor) {
        const RECT& r = monitor->rcMonitor;
        return {centred_start(r.left, r.right - r.left, outer_width),
                centred_start(r.top, r.bottom - r.top, outer_height)};
    }
    return {centred_start(0, GetSystemMetrics(SM_CXSCREEN), outer_width),
            centred_start(0, GetSystemMetrics(SM_CYSCREEN), outer_height)};
}

// The system answers 0 or 1 for a display whose rate it does not know
// (its "default" rate); a frame wait of a whole second would follow from
// the 1, so both count as unknown.
void win32_store_refresh_rate(int32_t rate) {
    if (GfxScreen* s = g_gfx_screen) s->refresh_rate = rate > 1 ? rate : 0;
}

void win32_store_refresh_rate(HDC dc) { win32_store_refresh_rate(static_cast<int32_t>(GetDeviceCaps(dc, VREFRESH))); }

int32_t display_window_create(DWORD style, DWORD ex_style, int32_t x, int32_t y, int32_t outer_width,
                              int32_t outer_height) {
    DisplayWindow& w = display_window();
    Win32Window& w32 = win32_window();
    w.outer_width = outer_width;
    w.outer_height = outer_height;
    w32.window = CreateWindowExA(ex_style, w.class_name, w.title, style, x, y, outer_width, outer_height, nullptr,
                                 nullptr, w32.instance, nullptr);
    if (!w32.window) return -1;
    if (w.flags & SCREEN_ALWAYS_ON_TOP)
        SetWindowPos(w32.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOSENDCHANGING);
    SetForegroundWindow(w32.window);
    return 0;
}
