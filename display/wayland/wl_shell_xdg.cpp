// The window as a plain xdg-shell toplevel, framed by the compositor
// through xdg-decoration where it offers that.
#include <cstring>

#include "display/display_window.h"
#include "display/wayland/wl_app_id.h"
#include "display/wayland/wl_backend.h"
#include "display/window_events.h"
#include "gfx/screen.h"

namespace {

struct Pending {
    int32_t width, height;
    bool fullscreen, maximised;
};
Pending g_pending;

void toplevel_configure(void*, xdg_toplevel*, int32_t width, int32_t height, wl_array* states) {
    g_pending = Pending{width, height, false, false};
    const auto* state = static_cast<const uint32_t*>(states->data);
    for (size_t i = 0; i < states->size / sizeof *state; ++i) {
        if (state[i] == XDG_TOPLEVEL_STATE_FULLSCREEN) g_pending.fullscreen = true;
        if (state[i] == XDG_TOPLEVEL_STATE_MAXIMIZED) g_pending.maximised = true;
    }
}

// The window stays: the program learns of the request through the close key.
void toplevel_close(void*, xdg_toplevel*) { window_close_request(); }
void toplevel_bounds(void*, xdg_toplevel*, int32_t, int32_t) {}
void toplevel_capabilities(void*, xdg_toplevel*, wl_array*) {}
const xdg_toplevel_listener TOPLEVEL_LISTENER = [] {
    xdg_toplevel_listener l{};
    l.configure = toplevel_configure;
    l.close = toplevel_close;
    l.configure_bounds = toplevel_bounds;
    l.wm_capabilities = toplevel_capabilities;
    return l;
}();

void surface_configure(void*, xdg_surface* surface, uint32_t serial) {
    xdg_surface_ack_configure(surface, serial);
    wl_window_configure(g_pending.width, g_pending.height, g_pending.fullscreen, g_pending.maximised);
}
const xdg_surface_listener SURFACE_LISTENER = {surface_configure};

// The compositor's frame, unless the window is to have none.
void decorate(WlWindow& win) {
    zxdg_decoration_manager_v1* manager = wl_state().globals.decoration_manager;
    if (!manager) return;
    win.decoration = zxdg_decoration_manager_v1_get_toplevel_decoration(manager, win.toplevel);
    if (!win.decoration) return;
    const bool frameless = (display_window().flags & (SCREEN_NO_FRAME | SCREEN_FULLSCREEN)) != 0;
    zxdg_toplevel_decoration_v1_set_mode(win.decoration, frameless ? ZXDG_TOPLEVEL_DECORATION_V1_MODE_CLIENT_SIDE
                                                                   : ZXDG_TOPLEVEL_DECORATION_V1_MODE_SERVER_SIDE);
}

}  // namespace

bool wl_shell_xdg_create() {
    WaylandState& s = wl_state();
    WlWindow& win = s.window;
    const DisplayWindow& w = display_window();
    g_pending = Pending{};
    win.xdg = xdg_wm_base_get_xdg_surface(s.globals.wm_base, win.surface);
    if (!win.xdg) return false;
    xdg_surface_add_listener(win.xdg, &SURFACE_LISTENER, nullptr);
    win.toplevel = xdg_surface_get_toplevel(win.xdg);
    if (!win.toplevel) return false;
    xdg_toplevel_add_listener(win.toplevel, &TOPLEVEL_LISTENER, nullptr);
    xdg_toplevel_set_title(win.toplevel, w.title);
    xdg_toplevel_set_app_id(win.toplevel, WL_APP_ID);
    wl_shell_xdg_fix_size();
    if (w.flags & SCREEN_FULLSCREEN) xdg_toplevel_set_fullscreen(win.toplevel, nullptr);
    decorate(win);
    wl_surface_commit(win.surface);  // asks for the first configure
    return true;
}

void wl_shell_xdg_destroy() {
    WlWindow& win = wl_state().window;
    if (win.decoration) zxdg_toplevel_decoration_v1_destroy(win.decoration);
    if (win.toplevel) xdg_toplevel_destroy(win.toplevel);
    if (win.xdg) xdg_surface_destroy(win.xdg);
    win.decoration = nullptr;
    win.toplevel = nullptr;
    win.xdg = nullptr;
}

void wl_shell_xdg_set_title(const char* title) { xdg_toplevel_set_title(wl_state().window.toplevel, title); }

// One size, so that tiling compositors float it.
void wl_shell_xdg_fix_size() {
    const WlWindow& win = wl_state().window;
    if (!win.toplevel) return;
    xdg_toplevel_set_min_size(win.toplevel, win.geometry.logical_width, win.geometry.logical_height);
    xdg_toplevel_set_max_size(win.toplevel, win.geometry.logical_width, win.geometry.logical_height);
}
