// Window changes the drawing thread asks for, recorded for the refresh
// thread, which alone talks to the windowing system.
#include <cstdio>

#include "display/display_window.h"
#include "display/posix/posix_window.h"
#include "display/window_platform.h"
#include "gfx/screen.h"

// The refresh thread sets the title on its next pass, so the drawing thread
// never waits for it and need not give up a lock it holds.
void window_set_title(const char* text) {
    DisplayWindow& w = display_window();
    with_display_lock([&] {
        std::snprintf(w.title, sizeof w.title, "%s", text ? text : "");
        posix_window().requests.title = true;
    });
    window_wake();
}

int32_t window_set_pos(int32_t x, int32_t y) {
    PosixWindow& p = posix_window();
    int32_t result = 0;
    with_display_lock([&] {
        if (display_window().flags & SCREEN_FULLSCREEN) return;
        if (x == WINDOW_POS_QUERY && y == WINDOW_POS_QUERY) {
            result = packed_position(p.window_x, p.window_y);
            return;
        }
        p.requests.move = true;
        p.requests.move_x = x;
        p.requests.move_y = y;
        window_wake();
    });
    return result;
}

// The windowing system tells when the pointer leaves, unasked.
void window_platform_leave_notice(bool) {}

// The back-end finds the monitor under the pointer as it makes the window.
void window_platform_before_switch() {}

void window_platform_place_pointer(int32_t x, int32_t y) {
    WindowRequests& r = posix_window().requests;
    r.warp = true;
    r.warp_x = x;
    r.warp_y = y;
    window_wake();
}

void window_platform_cursor_changed() {
    posix_window().requests.cursor = true;
    window_wake();
}

void window_platform_clip_changed() {
    posix_window().requests.clip = true;
    window_wake();
}
