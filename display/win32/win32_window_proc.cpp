// The window procedure of every Windows back-end. It runs on the thread
// that owns the window (the refresh thread, inside the display lock while
// it drains its messages) and maps the window's messages onto the shared
// window events; what is not handled gets the default processing.
#include <windows.h>

#include "display/display_window.h"
#include "display/win32/win32_input.h"
#include "display/win32/win32_window.h"
#include "display/window_events.h"
#include "gfx/screen.h"

namespace {

// Where the cursor is, noted at the start of every message.
void note_cursor(HWND window) {
    Win32Window& w32 = win32_window();
    RECT r{};
    win32_client_on_screen(window, &r);
    if (!GetCursorPos(&w32.cursor)) return;
    mouse_state().inside = PtInRect(&r, w32.cursor) ? 1 : 0;
}

void paint(HWND window) {
    PAINTSTRUCT ps;
    if (!BeginPaint(window, &ps)) return;
    if (auto p = display_window().backend.paint) p();
    EndPaint(window, &ps);
}

// Focus: the low word of wParam says activated, the high word minimised.
void activate(WPARAM wparam) {
    const DisplayWindow& w = display_window();
    const bool activated = LOWORD(wparam) != 0, minimised = HIWORD(wparam) != 0;
    const bool active = activated && !minimised;
    if (!(w.flags & SCREEN_OPENGL) && (w.flags & SCREEN_HIGH_PRIORITY))
        SetThreadPriority(GetCurrentThread(), active ? THREAD_PRIORITY_ABOVE_NORMAL : THREAD_PRIORITY_NORMAL);
    window_activate(active, activated && minimised);
}

// The window keeps the size it was made with.
void pin_size(LPARAM lparam) {
    const DisplayWindow& w = display_window();
    auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
    info->ptMaxSize = info->ptMinTrackSize = info->ptMaxTrackSize = POINT{w.outer_width, w.outer_height};
}

LRESULT set_cursor() {
    const MouseState& m = mouse_state();
    SetCursor(m.inside && !m.cursor_shown ? nullptr : LoadCursorA(nullptr, IDC_ARROW));
    return TRUE;
}

std::optional<LRESULT> handle(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SIZE:
        if (!display_window().active || wparam != SIZE_MAXIMIZED) return std::nullopt;
        fullscreen_toggle();
        return 0;
    case WM_ACTIVATE: activate(wparam); return 0;
    case WM_PAINT: paint(window); return std::nullopt;
    case WM_CLOSE: window_close_request(); return 0;  // the window stays
    case WM_SETCURSOR: return set_cursor();
    case WM_GETMINMAXINFO: pin_size(lparam); return 0;
    case WM_DISPLAYCHANGE:
        if (auto p = display_window().backend.paint) p();
        gfx_mark_all_dirty();
        return std::nullopt;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN: return win32_key(message, wparam, lparam);
    case WM_CHAR: return win32_char(wparam, lparam);
    case WM_USER: window_track_pointer(); return 0;
    case WM_DPICHANGED:
        if (lparam) win32_dpi_changed(window, LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
        return 0;
    default: return win32_mouse(window, message, wparam, lparam);
    }
}

}  // namespace

LRESULT CALLBACK display_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Win32Window& w32 = win32_window();
    // Messages nest (a full-screen switch makes a window inside a message
    // of the old one): the outer message's window is given back after.
    const HWND outer = w32.message_window;
    w32.message_window = window;
    note_cursor(window);
    const std::optional<LRESULT> result = handle(window, message, wparam, lparam);
    w32.message_window = outer;
    return result ? *result : DefWindowProcA(window, message, wparam, lparam);
}
