// The window in libdecor's frame, for compositors that draw no frames for
// their clients: a title bar with the title, a close button, dragging.
#include "display/display_window.h"
#include "display/wayland/wl_app_id.h"
#include "display/wayland/wl_backend.h"
#include "display/window_events.h"
#include "gfx/screen.h"

namespace {

libdecor_configuration* g_configuration;  // the configure being answered, only during it

// libdecor's own errors leave the window as it is; a lost connection is
// found by the refresh loop.
void decor_error(libdecor*, libdecor_error, const char*) {}

libdecor_interface g_decor_interface = {decor_error, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}};

void frame_configure(libdecor_frame*, libdecor_configuration* configuration, void*) {
    int width = 0, height = 0;
    libdecor_window_state state = LIBDECOR_WINDOW_STATE_NONE;
    wlx.libdecor_configuration_get_window_state(configuration, &state);
    const bool fullscreen = (state & LIBDECOR_WINDOW_STATE_FULLSCREEN) != 0;
    if (!fullscreen ||
        !wlx.libdecor_configuration_get_content_size(configuration, wl_state().window.frame, &width, &height))
        width = height = 0;
    g_configuration = configuration;
    wl_window_configure(width, height, fullscreen, (state & LIBDECOR_WINDOW_STATE_MAXIMIZED) != 0);
    wl_shell_decor_commit();
}

void frame_close(libdecor_frame*, void*) { window_close_request(); }

// The frame's parts are subsurfaces that show with the window's commit.
void frame_commit(libdecor_frame*, void*) {
    if (wl_surface* surface = wl_state().window.surface) wl_surface_commit(surface);
}

void frame_dismiss_popup(libdecor_frame*, const char*, void*) {}

libdecor_frame_interface g_frame_interface = {
    frame_configure, frame_close, frame_commit, frame_dismiss_popup, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}};

}  // namespace

bool wl_shell_decor_create() {
    WaylandState& s = wl_state();
    WlWindow& win = s.window;
    const DisplayWindow& w = display_window();
    if (!s.decor) s.decor = wlx.libdecor_new(s.display, &g_decor_interface);
    if (!s.decor) return false;
    win.frame = wlx.libdecor_decorate(s.decor, win.surface, &g_frame_interface, nullptr);
    if (!win.frame) {
        wl_shell_decor_destroy();
        return false;
    }
    wlx.libdecor_frame_set_title(win.frame, w.title);
    wlx.libdecor_frame_set_app_id(win.frame, WL_APP_ID);
    wl_shell_decor_fix_size();
    wlx.libdecor_frame_unset_capabilities(win.frame, LIBDECOR_ACTION_RESIZE);
    if (w.flags & SCREEN_FULLSCREEN) wlx.libdecor_frame_set_fullscreen(win.frame, nullptr);
    wlx.libdecor_frame_map(win.frame);
    return true;
}

void wl_shell_decor_destroy() {
    WlWindow& win = wl_state().window;
    if (win.frame) wlx.libdecor_frame_unref(win.frame);
    win.frame = nullptr;
    g_configuration = nullptr;
}

void wl_shell_decor_release() {
    WaylandState& s = wl_state();
    if (s.decor) wlx.libdecor_unref(s.decor);
    s.decor = nullptr;
}

void wl_shell_decor_fix_size() {
    const WlWindow& win = wl_state().window;
    if (!win.frame) return;
    wlx.libdecor_frame_set_min_content_size(win.frame, win.geometry.logical_width, win.geometry.logical_height);
    wlx.libdecor_frame_set_max_content_size(win.frame, win.geometry.logical_width, win.geometry.logical_height);
}

void wl_shell_decor_set_title(const char* title) { wlx.libdecor_frame_set_title(wl_state().window.frame, title); }

// With the configure being answered, or none for a size that changed on
// the window's own account (a new scale).
void wl_shell_decor_commit() {
    WlWindow& win = wl_state().window;
    libdecor_configuration* configuration = g_configuration;
    g_configuration = nullptr;
    if (!win.frame) return;
    libdecor_state* state = wlx.libdecor_state_new(win.geometry.logical_width, win.geometry.logical_height);
    if (!state) return;
    wlx.libdecor_frame_commit(win.frame, state, configuration);
    wlx.libdecor_state_free(state);
}
