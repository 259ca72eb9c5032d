// The "DirectX" window: made and destroyed on the refresh thread, again on
// every switch between window and full screen and when the display mode
// changed under the program.
#include "display/directx/dx_backend.h"
#include "display/directx/dx_mode_search.h"
#include "display/display_window.h"
#include "display/win32/win32_window.h"
#include "gfx/screen.h"

namespace {

DxState g_dx;

constexpr DWORD FULLSCREEN_LEVEL = DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE;

// The standard VGA mode is asked for by a flag of its own.
DWORD mode_flags(int32_t width, int32_t height, int32_t depth) {
    return width == 320 && height == 200 && depth == 8 ? DDSDM_STANDARDVGAMODE : 0;
}

// Full screen: a window over the whole display, which takes the first mode
// of the search that it accepts; the picture is centred down it.
bool set_up_full_screen() {
    const DisplayWindow& w = display_window();
    g_dx.display_rect = RECT{0, 0, w.width, w.height};
    if (display_window_create(WS_POPUP | WS_VISIBLE, 0, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                              GetSystemMetrics(SM_CYSCREEN)) != 0)
        return false;
    if (FAILED(g_dx.ddraw->SetCooperativeLevel(win32_window().window, FULLSCREEN_LEVEL))) return false;
    const auto try_mode = [&](int32_t width, int32_t height, int32_t depth) {
        return SUCCEEDED(g_dx.ddraw->SetDisplayMode(static_cast<DWORD>(width), static_cast<DWORD>(height),
                                                    static_cast<DWORD>(depth), static_cast<DWORD>(w.refresh_rate),
                                                    mode_flags(width, height, depth)));
    };
    g_dx.vertical_offset = dx_find_display_mode(w.width, w.height, w.depth, try_mode);
    return g_dx.vertical_offset >= 0;
}

// The first framed window puts the picture's corner where a centred
// picture would have it.
POINT first_position() {
    const DisplayWindow& w = display_window();
    const int32_t scale = win32_window().scale;
    return win32_centred_position(nullptr, w.width * scale, w.height * scale);
}

// Window mode: a window of the picture's client size at the window's scale
// at the kept position, whose area of the display the clipper gives.
bool set_up_window() {
    const DisplayWindow& w = display_window();
    DWORD sizing = 0, style = 0;
    win32_window_styles(w.flags, &sizing, &style);
    SIZE outer{};
    if (!win32_outer_size(sizing, 0, &outer)) return false;
    if (!g_dx.window_placed) g_dx.window_position = first_position();
    g_dx.window_placed = true;
    if (display_window_create(style, 0, g_dx.window_position.x, g_dx.window_position.y, outer.cx, outer.cy) != 0)
        return false;
    win32_adopt_window_dpi();
    const int32_t scale = win32_window().scale;
    g_dx.display_rect = RECT{0, 0, w.width * scale, w.height * scale};
    const HWND window = win32_window().window;
    g_dx.vertical_offset = 0;
    return SUCCEEDED(g_dx.ddraw->SetCooperativeLevel(window, DDSCL_NORMAL)) &&
           SUCCEEDED(g_dx.ddraw->CreateClipper(0, &g_dx.clipper, nullptr)) && g_dx.clipper &&
           SUCCEEDED(g_dx.clipper->SetHWnd(0, window));
}

// The display's rate into the screen record; 0 where it is unknown.
void store_refresh_rate() {
    DWORD rate = 0;
    if (FAILED(g_dx.ddraw->GetMonitorFrequency(&rate))) rate = 0;
    win32_store_refresh_rate(static_cast<int32_t>(rate));
}

// Everything but the window position, which outlives the window.
void clear_objects() {
    const POINT position = g_dx.window_position;
    const bool placed = g_dx.window_placed;
    g_dx = DxState{};
    g_dx.window_position = position;
    g_dx.window_placed = placed;
}

}  // namespace

DxState& dx_state() { return g_dx; }

int32_t dx_window_init() {
    const DisplayWindow& w = display_window();
    clear_objects();
    if (!dx_load_libraries() || !dx_open_device()) return -1;
    if (FAILED(g_dx.DirectInputCreateA(win32_window().instance, 0x300, &g_dx.dinput, nullptr)) || !g_dx.dinput)
        return -1;
    const bool full_screen = (w.flags & SCREEN_FULLSCREEN) != 0;
    win32_choose_scale(full_screen);
    const bool set_up = full_screen ? set_up_full_screen() : set_up_window();
    if (!set_up || !dx_make_surfaces()) return -1;
    store_refresh_rate();
    g_dx.vblank_event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!g_dx.vblank_event || !dx_keyboard_open()) return -1;
    return 0;
}

// Safe after a failed init and when called again: what is gone is not
// released twice.
void dx_window_exit() {
    const DisplayWindow& w = display_window();
    Win32Window& w32 = win32_window();
    const bool full_screen = (w.flags & SCREEN_FULLSCREEN) != 0;
    RECT outer{};
    if (w32.window && !full_screen && GetWindowRect(w32.window, &outer))
        g_dx.window_position = POINT{outer.left, outer.top};
    dx_keyboard_close();
    if (g_dx.ddraw) {
        dx_release_surfaces();
        if (full_screen) {
            g_dx.ddraw->RestoreDisplayMode();
            g_dx.ddraw->SetCooperativeLevel(w32.window, DDSCL_NORMAL);
        }
        g_dx.ddraw->Release();
        g_dx.ddraw = nullptr;
    }
    if (w32.window) DestroyWindow(w32.window);
    w32.window = nullptr;
    dx_free_libraries();
    if (g_dx.vblank_event) CloseHandle(g_dx.vblank_event);
    g_dx.vblank_event = nullptr;
}
