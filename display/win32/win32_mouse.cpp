// Mouse messages of the Windows window procedure, the mouse-leave notice
// (or its timer substitute), the cursor confinement and the effects of the
// set_mouse operation.
#include <windows.h>

#include "display/display_window.h"
#include "display/win32/win32_input.h"
#include "display/win32/win32_window.h"
#include "display/window_events.h"
#include "display/window_platform.h"
#include "gfx/screen.h"

namespace {

constexpr UINT_PTR LEAVE_TIMER = 2;
constexpr UINT LEAVE_TIMER_MS = 100;
constexpr WPARAM HELD_EXTRA1 = 0x20;  // MK_XBUTTON1
constexpr WPARAM HELD_EXTRA2 = 0x40;  // MK_XBUTTON2

int32_t wheel_delta(WPARAM wparam) { return static_cast<int32_t>(static_cast<uint32_t>(wparam)); }

// Client pixels to picture pixels and back: the program sees the mouse in
// picture pixels whatever the scale.
int32_t picture_scale() { return win32_window().scale > 1 ? win32_window().scale : 1; }

// The substitute's check, every 100 ms: once the cursor is off the client
// area (or another window covers it there), the window gets the notice.
void CALLBACK leave_timer(HWND window, UINT, UINT_PTR id, DWORD) {
    RECT r{};
    POINT cursor{};
    if (win32_client_on_screen(window, &r) && GetCursorPos(&cursor) && PtInRect(&r, cursor) &&
        WindowFromPoint(cursor) == window)
        return;
    KillTimer(window, id);
    PostMessageA(window, WM_MOUSELEAVE, 0, 0);
}

// Stands in for TrackMouseEvent where the system lacks it: leave notices
// only.
BOOL track_mouse_substitute(TRACKMOUSEEVENT* request) {
    if (request->dwFlags != TME_LEAVE) return FALSE;
    return SetTimer(request->hwndTrack, LEAVE_TIMER, LEAVE_TIMER_MS, leave_timer) != 0;
}

void release_capture_when_no_button(HWND window) {
    if (mouse_state().buttons == 0 && GetCapture() == window) ReleaseCapture();
}

void press(HWND window, int32_t type, int32_t bits) {
    SetCapture(window);
    window_mouse_button(type, bits);
}

void release(HWND window, int32_t bits) {
    window_mouse_button(EVENT_MOUSE_RELEASE, bits);
    release_capture_when_no_button(window);
}

// The extra buttons: the event carries the bits that changed.
void extra_press(HWND window, int32_t type, WPARAM wparam) {
    press(window, type, win32_extra_buttons(wparam) & ~mouse_state().buttons);
}

void extra_release(HWND window, WPARAM wparam) {
    const int32_t extras = MOUSE_EXTRA1 | MOUSE_EXTRA2;
    const int32_t kept = (mouse_state().buttons & ~extras) | (mouse_state().buttons & win32_extra_buttons(wparam));
    release(window, mouse_state().buttons & ~kept);
}

// The cursor kept in the client area of the window (on), or let go.
void confine(HWND window, bool on) {
    RECT r{};
    if (!on)
        ClipCursor(nullptr);
    else if (window && win32_client_on_screen(window, &r))
        ClipCursor(&r);
}

}  // namespace

bool win32_client_on_screen(HWND window, RECT* area) {
    *area = RECT{};
    if (!GetClientRect(window, area)) return false;
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(area), 2);
    return true;
}

int32_t win32_extra_buttons(WPARAM wparam) {
    return ((wparam & HELD_EXTRA1) ? MOUSE_EXTRA1 : 0) | ((wparam & HELD_EXTRA2) ? MOUSE_EXTRA2 : 0);
}

std::optional<LRESULT> win32_mouse(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    const Win32Window& w32 = win32_window();
    const bool wheel = w32.platform_version >= PLATFORM_WHEEL, extras = w32.platform_version >= PLATFORM_2000;
    switch (message) {
    case WM_MOUSEMOVE:
        window_mouse_move(LOWORD(lparam) / picture_scale(), HIWORD(lparam) / picture_scale(), w32.cursor.x,
                          w32.cursor.y);
        break;
    case WM_LBUTTONDOWN: press(window, EVENT_MOUSE_PRESS, MOUSE_LEFT); break;
    case WM_RBUTTONDOWN: press(window, EVENT_MOUSE_PRESS, MOUSE_RIGHT); break;
    case WM_MBUTTONDOWN: press(window, EVENT_MOUSE_PRESS, MOUSE_MIDDLE); break;
    case WM_LBUTTONDBLCLK: press(window, EVENT_MOUSE_DOUBLE_CLICK, MOUSE_LEFT); break;
    case WM_RBUTTONDBLCLK: press(window, EVENT_MOUSE_DOUBLE_CLICK, MOUSE_RIGHT); break;
    case WM_MBUTTONDBLCLK: press(window, EVENT_MOUSE_DOUBLE_CLICK, MOUSE_MIDDLE); break;
    case WM_LBUTTONUP: release(window, MOUSE_LEFT); break;
    case WM_RBUTTONUP: release(window, MOUSE_RIGHT); break;
    case WM_MBUTTONUP: release(window, MOUSE_MIDDLE); break;
    case WM_MOUSEWHEEL:
        if (wheel) window_mouse_wheel(wheel_delta(wparam));
        break;
    case WM_XBUTTONDOWN:
        if (extras) extra_press(window, EVENT_MOUSE_PRESS, wparam);
        break;
    case WM_XBUTTONDBLCLK:
        if (extras) extra_press(window, EVENT_MOUSE_DOUBLE_CLICK, wparam);
        break;
    case WM_XBUTTONUP:
        if (extras) extra_release(window, wparam);
        break;
    case WM_MOUSEHWHEEL:
        if (extras) window_mouse_hwheel(wheel_delta(wparam));
        break;
    case WM_MOVING:
        if (mouse_state().clip) ClipCursor(nullptr);
        break;
    case WM_MOUSELEAVE:
        if (!display_window().active) break;
        window_mouse_leave();
        return 0;
    default: break;
    }
    return std::nullopt;
}

void win32_confine_cursor(int32_t on) { confine(win32_window().message_window, on != 0); }

void window_platform_leave_notice(bool arm) {
    Win32Window& w32 = win32_window();
    const HWND window = w32.message_window;
    if (!window) return;
    if (!arm) {
        KillTimer(window, LEAVE_TIMER);
        return;
    }
    TRACKMOUSEEVENT request{sizeof request, TME_LEAVE, window, 0};
    if (w32.user32.TrackMouseEvent)
        w32.user32.TrackMouseEvent(&request);
    else
        track_mouse_substitute(&request);
}

void window_platform_before_switch() {
    Win32Window& w32 = win32_window();
    w32.monitor = w32.user32.MonitorFromWindow && w32.message_window
                      ? w32.user32.MonitorFromWindow(w32.message_window, MONITOR_DEFAULTTONEAREST)
                      : nullptr;
}

void window_platform_place_pointer(int32_t x, int32_t y) {
    const HWND window = win32_window().window;
    if (!window) return;
    const int32_t scale = picture_scale();
    POINT p{x * scale + scale / 2, y * scale + scale / 2};  // the middle of the pixel's block
    if (!(display_window().flags & SCREEN_FULLSCREEN) && !ClientToScreen(window, &p)) return;
    SetCursorPos(p.x, p.y);
}

void window_platform_cursor_changed() {
    if (const HWND window = win32_window().window) PostMessageA(window, WM_SETCURSOR, 0, 0);
}

void window_platform_clip_changed() { confine(win32_window().window, mouse_state().clip != 0); }
