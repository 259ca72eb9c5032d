#include "display/display_window.h"
#include "display/window_events.h"
#include "display/window_platform.h"
#include "gfx/screen.h"

namespace {

MouseState g_mouse;

constexpr int32_t NOT_GIVEN = static_cast<int32_t>(0x80000000u);

// Arms the leave notice once the pointer is over an active window; the
// message that armed it reports the pointer's entry instead of its own event.
void start_tracking(GfxEvent& event) {
    if (g_mouse.tracking || !display_window().active) return;
    window_platform_leave_notice(true);
    g_mouse.tracking = 1;
    event = GfxEvent{EVENT_MOUSE_ENTER, 0, 0, 0, 0};
    if (g_mouse.clip && display_window().backend.confine_pointer) display_window().backend.confine_pointer(1);
}

void post_if_any(const GfxEvent& event) {
    if (event.type != 0) event_post(event);
}

int32_t clamp(int32_t v, int32_t low, int32_t high) { return v < low ? low : v > high ? high : v; }

}  // namespace

MouseState& mouse_state() { return g_mouse; }

void window_events_reset() {
    g_mouse = MouseState{};
    g_mouse.last_screen_x = NO_SCREEN_POSITION;
    g_mouse.cursor_shown = 1;
}

void window_mouse_move(int32_t x, int32_t y, int32_t screen_x, int32_t screen_y) {
    g_mouse.inside = x >= 0 && y >= 0 && x < display_window().width && y < display_window().height;
    g_mouse.last_x = x;
    g_mouse.last_y = y;
    GfxEvent event{};
    if (g_mouse.last_screen_x != NO_SCREEN_POSITION) {
        const int32_t dx = screen_x - g_mouse.last_screen_x;
        const int32_t dy = screen_y - g_mouse.last_screen_y;
        if ((dx || dy) && display_window().active) event = GfxEvent{EVENT_MOUSE_MOVE, x, y, dx, dy};
    }
    g_mouse.last_screen_x = screen_x;
    g_mouse.last_screen_y = screen_y;
    start_tracking(event);
    post_if_any(event);
}

void window_mouse_button(int32_t type, int32_t bits) {
    if (type == EVENT_MOUSE_RELEASE)
        g_mouse.buttons &= ~bits;
    else
        g_mouse.buttons |= bits;
    event_post(GfxEvent{type, bits, 0, 0, 0});
}

void window_mouse_wheel(int32_t delta) {
    g_mouse.wheel += delta >= 1 ? 1 : -1;
    event_post(GfxEvent{EVENT_MOUSE_WHEEL, g_mouse.wheel, 0, 0, 0});
}

void window_mouse_hwheel(int32_t delta) {
    g_mouse.hwheel += delta >= 1 ? 1 : -1;
    event_post(GfxEvent{EVENT_MOUSE_HWHEEL, g_mouse.hwheel, 0, 0, 0});
}

void window_mouse_enter() {
    g_mouse.inside = 1;
    window_track_pointer();
}

void window_track_pointer() {
    GfxEvent event{};
    start_tracking(event);
    post_if_any(event);
}

void window_mouse_leave() {
    g_mouse.inside = 0;
    if (!display_window().active) return;
    event_post(GfxEvent{EVENT_MOUSE_EXIT, 0, 0, 0, 0});
    g_mouse.tracking = 0;
}

int32_t window_get_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip) {
    if (!display_window().active || !g_mouse.inside) return -1;
    *x = g_mouse.last_x;
    *y = g_mouse.last_y;
    *wheel = g_mouse.wheel;
    *buttons = g_mouse.buttons;
    *clip = g_mouse.clip;
    return 0;
}

void window_set_mouse(int32_t x, int32_t y, int32_t cursor, int32_t clip) {
    const DisplayWindow& w = display_window();
    if (x != NOT_GIVEN || y != NOT_GIVEN) {
        if (x == NOT_GIVEN) x = g_mouse.last_x;
        if (y == NOT_GIVEN) y = g_mouse.last_y;
        g_mouse.inside = 1;
        g_mouse.last_x = clamp(x, 0, w.width - 1);
        g_mouse.last_y = clamp(y, 0, w.height - 1);
        window_platform_place_pointer(g_mouse.last_x, g_mouse.last_y);
    }
    if (cursor >= 0 && (cursor > 0) != (g_mouse.cursor_shown != 0)) {
        g_mouse.cursor_shown = cursor > 0 ? 1 : 0;
        window_platform_cursor_changed();
    }
    if (clip >= 0) {
        g_mouse.clip = clip > 0 ? 1 : 0;
        window_platform_clip_changed();
    }
}
