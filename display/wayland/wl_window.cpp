#include <cstring>

#include "display/display_window.h"
#include "display/posix/posix_window.h"
#include "display/wayland/wl_backend.h"
#include "display/window_events.h"
#include "gfx/screen.h"

namespace {

// Configures a new toplevel gets within this many round trips, or never.
constexpr int CONFIGURE_TRIES = 4;

void surface_enter(void*, wl_surface*, wl_output* output) { wl_output_entered(output, true); }
void surface_leave(void*, wl_surface*, wl_output* output) { wl_output_entered(output, false); }
const wl_surface_listener SURFACE_LISTENER = [] {
    wl_surface_listener l{};
    l.enter = surface_enter;
    l.leave = surface_leave;
    return l;
}();

void preferred_scale(void*, wp_fractional_scale_v1*, uint32_t scale) {
    wl_state().window.scale120 = static_cast<int32_t>(scale);
    wl_window_update_geometry();
}
const wp_fractional_scale_v1_listener FRACTIONAL_LISTENER = {preferred_scale};

bool geometry_equal(const WlGeometry& a, const WlGeometry& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Fractional scales need a viewport to show a buffer of device pixels.
void add_scaling(WlWindow& win, const WlGlobals& g) {
    if (!g.viewporter) return;
    win.viewport = wp_viewporter_get_viewport(g.viewporter, win.surface);
    if (win.viewport && g.fractional_manager) {
        win.fractional = wp_fractional_scale_manager_v1_get_fractional_scale(g.fractional_manager, win.surface);
        if (win.fractional) wp_fractional_scale_v1_add_listener(win.fractional, &FRACTIONAL_LISTENER, nullptr);
    }
}

// Frames drawn by the compositor where it offers them; libdecor's otherwise,
// so that the window has a title bar and a close button everywhere; none
// for a window asked to have none.
bool create_shell() {
    const WaylandState& s = wl_state();
    const bool frameless = (display_window().flags & SCREEN_NO_FRAME) != 0;
    if (!s.globals.decoration_manager && !frameless && wlx.has_decor && wl_shell_decor_create()) return true;
    return wl_shell_xdg_create();
}

bool wait_for_configure() {
    WaylandState& s = wl_state();
    for (int i = 0; i < CONFIGURE_TRIES && !s.window.configured; ++i)
        if (wl.wl_display_roundtrip(s.display) < 0) return false;
    return s.window.configured;
}

void set_title(const char* title) {
    const WlWindow& win = wl_state().window;
    if (win.frame)
        wl_shell_decor_set_title(title);
    else if (win.toplevel)
        wl_shell_xdg_set_title(title);
}

}  // namespace

int32_t wl_window_init() {
    WaylandState& s = wl_state();
    WlWindow& win = s.window;
    if (!s.display || s.lost) return -1;
    win = WlWindow{};
    win.surface = wl_compositor_create_surface(s.globals.compositor);
    if (!win.surface) return -1;
    wl_surface_add_listener(win.surface, &SURFACE_LISTENER, nullptr);
    add_scaling(win, s.globals);
    // The screen saver stays off while the window is open.
    if (s.globals.idle_manager)
        win.inhibitor = zwp_idle_inhibit_manager_v1_create_inhibitor(s.globals.idle_manager, win.surface);
    wl_window_update_geometry();
    if (wl_picture_init() != 0 || !create_shell()) return -1;
    display_window().outer_width = win.geometry.logical_width;
    display_window().outer_height = win.geometry.logical_height;
    return wl_flush() ? 0 : -1;
}

bool wl_window_show_first() {
    if (!wait_for_configure()) return false;
    wl_picture_show();
    return wl_flush();
}

void wl_window_exit() {
    WaylandState& s = wl_state();
    WlWindow& win = s.window;
    if (!win.surface) return;
    wl_shell_decor_destroy();
    wl_shell_xdg_destroy();
    wl_picture_exit();
    if (win.inhibitor) zwp_idle_inhibitor_v1_destroy(win.inhibitor);
    if (win.fractional) wp_fractional_scale_v1_destroy(win.fractional);
    if (win.viewport) wp_viewport_destroy(win.viewport);
    wl_surface_destroy(win.surface);
    win = WlWindow{};
    for (int32_t i = 0; i < s.globals.output_count; ++i) s.globals.outputs[i].entered = false;
    wl_flush();
}

void wl_window_configure(int32_t width, int32_t height, bool fullscreen, bool) {
    WlWindow& win = wl_state().window;
    win.shown_fullscreen = fullscreen;
    win.area_width = fullscreen ? width : 0;
    win.area_height = fullscreen ? height : 0;
    win.configured = true;
    win.needs_commit = true;
    wl_window_update_geometry();
}

void wl_window_update_geometry() {
    WlWindow& win = wl_state().window;
    const DisplayWindow& w = display_window();
    if (!win.surface) return;
    const WlGeometry g = wl_geometry(w.width, w.height, wl_output_scale(), win.viewport ? win.scale120 : 0,
                                     win.shown_fullscreen, win.area_width, win.area_height);
    if (geometry_equal(g, win.geometry)) return;
    win.geometry = g;
    wl_surface_set_buffer_scale(win.surface, g.buffer_scale);
    if (win.viewport) {
        if (g.viewport)
            wp_viewport_set_destination(win.viewport, g.logical_width, g.logical_height);
        else
            wp_viewport_set_destination(win.viewport, -1, -1);
    }
    // A window's size follows a fractional scale; full screen has the
    // compositor's.
    if (!win.shown_fullscreen) {
        wl_shell_xdg_fix_size();
        wl_shell_decor_fix_size();
    }
    win.needs_commit = win.configured;
    wl_picture_damage_all();
}

void wl_window_set_title(const char* title) { set_title(title); }

// What the drawing thread asked for since the last pass. A Wayland client
// can neither place its window nor the pointer, nor keep the pointer in the
// window: those requests are dropped.
void wl_apply_requests() {
    WindowRequests& r = posix_window().requests;
    if (r.title) set_title(display_window().title);
    if (r.cursor) wl_pointer_cursor_changed();
    r = WindowRequests{};
}
