// The seat's pointer: positions in picture pixels whatever the scale,
// buttons with double clicks, wheels, entering and leaving, the cursor.
#include <linux/input-event-codes.h>

#include <cmath>
#include <cstdlib>

#include "display/wayland/wl_backend.h"
#include "display/window_events.h"

namespace {

constexpr uint32_t DOUBLE_CLICK_MS = 500;
constexpr int32_t DOUBLE_CLICK_DISTANCE = 4;
constexpr double AXIS_PER_NOTCH = 10.0;  // scroll units of one wheel notch
constexpr int CURSOR_SIZE = 24;

struct PointerState {
    bool over;    // over the window's surface
    double x, y;  // surface position
    uint32_t last_button, last_time;
    int32_t last_x, last_y;  // picture pixels of the last press
    bool discrete_seen;      // this frame's wheel came in notches
    double axis_sum[2];      // scrolled but not yet a notch
};
PointerState g_pointer;

WlInput& input() { return wl_state().input; }

void to_picture(double sx, double sy, int32_t* px, int32_t* py) {
    wl_surface_to_picture(wl_state().window.geometry, sx, sy, px, py);
}

// Device pixels stand for the screen's: the moves' distances.
void moved(double sx, double sy) {
    g_pointer.x = sx;
    g_pointer.y = sy;
    int32_t px = 0, py = 0;
    to_picture(sx, sy, &px, &py);
    const WlGeometry& g = wl_state().window.geometry;
    const double to_device = g.logical_width > 0 ? static_cast<double>(g.buffer_width) / g.logical_width : 1.0;
    window_mouse_move(px, py, static_cast<int32_t>(std::lround(sx * to_device)),
                      static_cast<int32_t>(std::lround(sy * to_device)));
}

void show_cursor() {
    WlInput& in = input();
    wl_pointer* pointer = in.pointer;
    if (!pointer || !g_pointer.over) return;
    if (!mouse_state().cursor_shown) return wl_pointer_set_cursor(pointer, in.pointer_serial, nullptr, 0, 0);
    if (!wlx.has_cursor) return;
    const int32_t scale = wl_output_scale();
    if (!in.cursor_theme)
        in.cursor_theme = wlx.wl_cursor_theme_load(nullptr, CURSOR_SIZE * scale, wl_state().globals.shm);
    wl_cursor* cursor = in.cursor_theme ? wlx.wl_cursor_theme_get_cursor(in.cursor_theme, "left_ptr") : nullptr;
    if (!cursor || cursor->image_count < 1) return;
    wl_cursor_image* image = cursor->images[0];
    wl_buffer* buffer = wlx.wl_cursor_image_get_buffer(image);
    if (!in.cursor_surface) in.cursor_surface = wl_compositor_create_surface(wl_state().globals.compositor);
    if (!buffer || !in.cursor_surface) return;
    wl_surface_set_buffer_scale(in.cursor_surface, scale);
    wl_surface_attach(in.cursor_surface, buffer, 0, 0);
    wl_surface_damage_buffer(in.cursor_surface, 0, 0, static_cast<int32_t>(image->width),
                             static_cast<int32_t>(image->height));
    wl_surface_commit(in.cursor_surface);
    wl_pointer_set_cursor(pointer, in.pointer_serial, in.cursor_surface, static_cast<int32_t>(image->hotspot_x) / scale,
                          static_cast<int32_t>(image->hotspot_y) / scale);
}

void enter(void*, wl_pointer*, uint32_t serial, wl_surface* surface, wl_fixed_t sx, wl_fixed_t sy) {
    if (!surface || surface != wl_state().window.surface) return;
    g_pointer.over = true;
    input().pointer_serial = serial;
    show_cursor();
    moved(wl_fixed_to_double(sx), wl_fixed_to_double(sy));
}

void leave(void*, wl_pointer*, uint32_t, wl_surface*) {
    if (!g_pointer.over) return;
    g_pointer.over = false;
    window_mouse_leave();
}

void motion(void*, wl_pointer*, uint32_t, wl_fixed_t sx, wl_fixed_t sy) {
    if (g_pointer.over) moved(wl_fixed_to_double(sx), wl_fixed_to_double(sy));
}

int32_t button_bit(uint32_t button) {
    switch (button) {
    case BTN_LEFT: return MOUSE_LEFT;
    case BTN_RIGHT: return MOUSE_RIGHT;
    case BTN_MIDDLE: return MOUSE_MIDDLE;
    case BTN_SIDE: return MOUSE_EXTRA1;
    case BTN_EXTRA: return MOUSE_EXTRA2;
    default: return 0;
    }
}

// Two presses of a button close in time and place; a third starts again.
bool double_click(uint32_t button, uint32_t time) {
    int32_t px = 0, py = 0;
    to_picture(g_pointer.x, g_pointer.y, &px, &py);
    const bool twice = g_pointer.last_button == button && time - g_pointer.last_time <= DOUBLE_CLICK_MS &&
                       std::abs(px - g_pointer.last_x) <= DOUBLE_CLICK_DISTANCE &&
                       std::abs(py - g_pointer.last_y) <= DOUBLE_CLICK_DISTANCE;
    g_pointer.last_button = twice ? 0 : button;
    g_pointer.last_time = time;
    g_pointer.last_x = px;
    g_pointer.last_y = py;
    return twice;
}

void button(void*, wl_pointer*, uint32_t, uint32_t time, uint32_t button, uint32_t state) {
    const int32_t bit = button_bit(button);
    if (!bit || !g_pointer.over) return;
    if (state == WL_POINTER_BUTTON_STATE_PRESSED) {
        window_mouse_button(double_click(button, time) ? EVENT_MOUSE_DOUBLE_CLICK : EVENT_MOUSE_PRESS, bit);
    } else {
        window_mouse_button(EVENT_MOUSE_RELEASE, bit);
    }
}

// Up and left are the wheel's positive notches, as the PC mouse counts.
void notch(uint32_t axis, int32_t steps) {
    for (int32_t i = 0; i < std::abs(steps); ++i) {
        if (axis == WL_POINTER_AXIS_VERTICAL_SCROLL)
            window_mouse_wheel(steps > 0 ? -1 : 1);
        else
            window_mouse_hwheel(steps > 0 ? 1 : -1);
    }
}

void axis(void*, wl_pointer*, uint32_t, uint32_t axis, wl_fixed_t value) {
    if (axis > WL_POINTER_AXIS_HORIZONTAL_SCROLL || g_pointer.discrete_seen || !g_pointer.over) return;
    double& sum = g_pointer.axis_sum[axis];
    sum += wl_fixed_to_double(value);
    const auto steps = static_cast<int32_t>(sum / AXIS_PER_NOTCH);
    sum -= steps * AXIS_PER_NOTCH;
    notch(axis, steps);
}

void axis_discrete(void*, wl_pointer*, uint32_t axis, int32_t discrete) {
    if (axis > WL_POINTER_AXIS_HORIZONTAL_SCROLL || !g_pointer.over) return;
    g_pointer.discrete_seen = true;
    notch(axis, discrete);
}

void frame(void*, wl_pointer*) { g_pointer.discrete_seen = false; }
void axis_source(void*, wl_pointer*, uint32_t) {}
void axis_stop(void*, wl_pointer*, uint32_t, uint32_t axis) {
    if (axis <= WL_POINTER_AXIS_HORIZONTAL_SCROLL) g_pointer.axis_sum[axis] = 0;
}

// Built field by field: newer headers add events of versions not bound.
const wl_pointer_listener POINTER_LISTENER = [] {
    wl_pointer_listener l{};
    l.enter = enter;
    l.leave = leave;
    l.motion = motion;
    l.button = button;
    l.axis = axis;
    l.frame = frame;
    l.axis_source = axis_source;
    l.axis_stop = axis_stop;
    l.axis_discrete = axis_discrete;
    return l;
}();

void stop_pointer() {
    WlInput& in = input();
    if (in.pointer) wl_pointer_destroy(in.pointer);
    if (in.cursor_surface) wl_surface_destroy(in.cursor_surface);
    if (in.cursor_theme) wlx.wl_cursor_theme_destroy(in.cursor_theme);
    in.pointer = nullptr;
    in.cursor_surface = nullptr;
    in.cursor_theme = nullptr;
    g_pointer = PointerState{};
}

}  // namespace

void wl_seat_capabilities(uint32_t capabilities) {
    WlInput& in = input();
    wl_seat* seat = wl_state().globals.seat;
    const bool keyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    const bool pointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
    if (keyboard && !in.keyboard) wl_keyboard_start(seat);
    if (!keyboard && in.keyboard) wl_keyboard_stop();
    if (pointer && !in.pointer) {
        in.pointer = wl_seat_get_pointer(seat);
        if (in.pointer) wl_pointer_add_listener(in.pointer, &POINTER_LISTENER, nullptr);
    }
    if (!pointer && in.pointer) stop_pointer();
}

void wl_input_exit() {
    wl_keyboard_stop();
    stop_pointer();
}

void wl_pointer_cursor_changed() { show_cursor(); }
