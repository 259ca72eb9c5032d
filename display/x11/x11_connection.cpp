#include <cstdlib>

#include "display/window_events.h"
#include "display/x11/x11_backend.h"
#include "display/x11/x11_refresh.h"

namespace {

X11State g_state;

XErrorHandler g_previous_error_handler;
XIOErrorHandler g_previous_io_handler;

// A failed request is recorded, never fatal: init checks the requests it
// depends on, the rest of the program carries on without the failed one.
int on_error(Display* display, XErrorEvent* error) {
    if (display == g_state.display) g_state.error_code = error->error_code;
    return 0;
}

// The server went away. Without an exit handler (libX11 before 1.7) Xlib
// would end the process when this returns, so the refresh thread ends here.
int on_io_error(Display* display) {
    if (display != g_state.display) return 0;
    g_state.lost = true;
    if (!x11.XSetIOErrorExitHandler) x11_end_thread_after_loss();
    return 0;
}

// Xlib's last word on a lost connection; returning keeps the process alive
// and leaves the connection inert.
void on_io_exit(Display* display, void*) {
    if (display == g_state.display) g_state.lost = true;
}

Atom atom(const char* name) { return x11.XInternAtom(g_state.display, name, False); }

void intern_atoms() {
    X11Atoms& a = g_state.atoms;
    a.wm_protocols = atom("WM_PROTOCOLS");
    a.wm_delete_window = atom("WM_DELETE_WINDOW");
    a.net_wm_name = atom("_NET_WM_NAME");
    a.utf8_string = atom("UTF8_STRING");
    a.net_wm_state = atom("_NET_WM_STATE");
    a.net_wm_state_fullscreen = atom("_NET_WM_STATE_FULLSCREEN");
    a.net_wm_state_above = atom("_NET_WM_STATE_ABOVE");
    a.net_wm_state_maximized_vert = atom("_NET_WM_STATE_MAXIMIZED_VERT");
    a.net_wm_state_maximized_horz = atom("_NET_WM_STATE_MAXIMIZED_HORZ");
    a.motif_wm_hints = atom("_MOTIF_WM_HINTS");
    a.net_wm_icon = atom("_NET_WM_ICON");
    a.net_frame_extents = atom("_NET_FRAME_EXTENTS");
}

// Typed text comes through an input method where the locale has one (it
// composes accented characters); without one, through the plain lookup.
void open_input_method() {
    x11.XSetLocaleModifiers("");
    g_state.im = x11.XOpenIM(g_state.display, nullptr, nullptr, nullptr);
}

}  // namespace

X11State& x11_state() { return g_state; }

bool x11_display_named() {
    const char* name = std::getenv("DISPLAY");
    return name && name[0];
}

int32_t x11_connect() {
    if (!x11_library_load()) return -1;
    g_state = X11State{};
    g_state.display = x11.XOpenDisplay(nullptr);
    if (!g_state.display) return -1;
    g_previous_error_handler = x11.XSetErrorHandler(on_error);
    g_previous_io_handler = x11.XSetIOErrorHandler(on_io_error);
    if (x11.XSetIOErrorExitHandler) x11.XSetIOErrorExitHandler(g_state.display, on_io_exit, nullptr);
    g_state.screen = DefaultScreen(g_state.display);
    g_state.root = RootWindow(g_state.display, g_state.screen);
    intern_atoms();
    g_state.desktop_scale = x11_desktop_scale(g_state.display);
    // Held keys then repeat as presses without releases between them.
    if (x11.XkbSetDetectableAutoRepeat) x11.XkbSetDetectableAutoRepeat(g_state.display, True, nullptr);
    open_input_method();
    return x11_sync_ok() ? 0 : -1;
}

int32_t x11_open_display() {
    if (x11_connect() != 0 || !x11_choose_visual()) return -1;
    return x11_sync_ok() ? 0 : -1;
}

void x11_close_display() {
    if (!g_state.display) return;
    if (g_state.im) x11.XCloseIM(g_state.im);
    if (g_state.own_colormap && !g_state.lost) x11.XFreeColormap(g_state.display, g_state.colormap);
    x11.XCloseDisplay(g_state.display);
    x11.XSetErrorHandler(g_previous_error_handler);
    x11.XSetIOErrorHandler(g_previous_io_handler);
    g_state = X11State{};
}

void x11_begin_checked() { g_state.error_code = 0; }

void x11_report_loss() { window_system_lost(g_state.loss_reported); }

bool x11_sync_ok() {
    if (g_state.lost) return false;
    x11.XSync(g_state.display, False);
    return g_state.error_code == 0 && !g_state.lost;
}
