// Driver operations of the Windows back-ends that act on the window from
// the drawing thread, and the message drain of the refresh thread.
#include <windows.h>

#include <cstdio>

#include "display/display_window.h"
#include "display/win32/win32_window.h"
#include "gfx/screen.h"

void display_pump_messages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Setting the text sends a message to the refresh thread, which may itself
// be waiting for the display lock: the call is made outside the lock. The
// title is stored under it, since a full-screen switch on the refresh
// thread makes the new window with it.
void window_set_title(const char* text) {
    DisplayWindow& w = display_window();
    const GfxScreen* s = g_gfx_screen;
    const bool held = s && s->lock_count > 0;
    char title[sizeof w.title];
    if (!held) window_lock();
    std::snprintf(w.title, sizeof w.title, "%s", text ? text : "");
    std::snprintf(title, sizeof title, "%s", w.title);
    const HWND window = win32_window().window;
    window_unlock();
    if (window) SetWindowTextA(window, title);
    if (held) window_lock();
}

int32_t window_set_pos(int32_t x, int32_t y) {
    int32_t result = 0;
    with_display_lock([&] {
        const HWND window = win32_window().window;
        if ((display_window().flags & SCREEN_FULLSCREEN) || !window) return;
        if (x == WINDOW_POS_QUERY && y == WINDOW_POS_QUERY) {
            RECT r{};
            if (GetWindowRect(window, &r)) result = packed_position(r.left, r.top);
            return;
        }
        SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_ASYNCWINDOWPOS);
    });
    return result;
}
