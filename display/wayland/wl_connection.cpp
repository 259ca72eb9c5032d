#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "display/wayland/wl_backend.h"
#include "display/window_events.h"

namespace {

WaylandState g_state;

template <class T>
T* bind(wl_registry* registry, uint32_t name, const wl_interface* interface, uint32_t offered, uint32_t wanted) {
    return static_cast<T*>(wl_registry_bind(registry, name, interface, std::min(offered, wanted)));
}

WlOutput* output_of(wl_output* output) {
    WlGlobals& g = g_state.globals;
    for (int32_t i = 0; i < g.output_count; ++i)
        if (g.outputs[i].output == output) return &g.outputs[i];
    return nullptr;
}

void output_geometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*,
                     int32_t) {}

void output_mode(void*, wl_output* output, uint32_t flags, int32_t width, int32_t height, int32_t millihertz) {
    WlOutput* o = output_of(output);
    if (o && (flags & WL_OUTPUT_MODE_CURRENT)) {
        o->width = width;
        o->height = height;
        o->refresh = (millihertz + 500) / 1000;
    }
}

void output_done(void*, wl_output*) {}

// A scale that changes under the window changes its geometry.
void output_scale(void*, wl_output* output, int32_t factor) {
    WlOutput* o = output_of(output);
    if (!o || factor < 1 || o->scale == factor) return;
    o->scale = factor;
    if (g_state.window.surface) wl_window_update_geometry();
}

void output_name(void*, wl_output*, const char*) {}
void output_description(void*, wl_output*, const char*) {}

// Built field by field: newer headers add events of versions not bound.
const wl_output_listener OUTPUT_LISTENER = [] {
    wl_output_listener l{};
    l.geometry = output_geometry;
    l.mode = output_mode;
    l.done = output_done;
    l.scale = output_scale;
    l.name = output_name;
    l.description = output_description;
    return l;
}();

void add_output(wl_registry* registry, uint32_t name, uint32_t version) {
    WlGlobals& g = g_state.globals;
    if (g.output_count >= WL_MAX_OUTPUTS) return;
    auto* output = bind<wl_output>(registry, name, &wl_output_interface, version, 2);
    if (!output) return;
    g.outputs[g.output_count++] = WlOutput{output, name, 1, 0, 0, 0, false};
    wl_output_add_listener(output, &OUTPUT_LISTENER, nullptr);
}

void remove_output(uint32_t name) {
    WlGlobals& g = g_state.globals;
    for (int32_t i = 0; i < g.output_count; ++i) {
        if (g.outputs[i].name != name) continue;
        wl_output_destroy(g.outputs[i].output);
        g.outputs[i] = g.outputs[--g.output_count];
        if (g_state.window.surface) wl_window_update_geometry();
        return;
    }
}

void wm_base_ping(void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); }
const xdg_wm_base_listener WM_BASE_LISTENER = [] {
    xdg_wm_base_listener l{};
    l.ping = wm_base_ping;
    return l;
}();

void seat_capabilities(void*, wl_seat*, uint32_t capabilities) { wl_seat_capabilities(capabilities); }
void seat_name(void*, wl_seat*, const char*) {}
const wl_seat_listener SEAT_LISTENER = [] {
    wl_seat_listener l{};
    l.capabilities = seat_capabilities;
    l.name = seat_name;
    return l;
}();

void global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    WlGlobals& g = g_state.globals;
    const auto is = [&](const wl_interface& i) { return std::strcmp(interface, i.name) == 0; };
    if (is(wl_compositor_interface) && version >= 4) {
        g.compositor = bind<wl_compositor>(registry, name, &wl_compositor_interface, version, 4);
    } else if (is(wl_shm_interface)) {
        g.shm = bind<wl_shm>(registry, name, &wl_shm_interface, version, 1);
    } else if (is(xdg_wm_base_interface)) {
        g.wm_base = bind<xdg_wm_base>(registry, name, &xdg_wm_base_interface, version, 3);
        if (g.wm_base) xdg_wm_base_add_listener(g.wm_base, &WM_BASE_LISTENER, nullptr);
    } else if (is(wl_seat_interface) && !g.seat) {
        g.seat = bind<wl_seat>(registry, name, &wl_seat_interface, version, 5);
        if (g.seat) wl_seat_add_listener(g.seat, &SEAT_LISTENER, nullptr);
    } else if (is(wl_output_interface)) {
        add_output(registry, name, version);
    } else if (is(zxdg_decoration_manager_v1_interface)) {
        g.decoration_manager =
            bind<zxdg_decoration_manager_v1>(registry, name, &zxdg_decoration_manager_v1_interface, version, 1);
    } else if (is(zwp_idle_inhibit_manager_v1_interface)) {
        g.idle_manager =
            bind<zwp_idle_inhibit_manager_v1>(registry, name, &zwp_idle_inhibit_manager_v1_interface, version, 1);
    } else if (is(wp_viewporter_interface)) {
        g.viewporter = bind<wp_viewporter>(registry, name, &wp_viewporter_interface, version, 1);
    } else if (is(wp_fractional_scale_manager_v1_interface)) {
        g.fractional_manager =
            bind<wp_fractional_scale_manager_v1>(registry, name, &wp_fractional_scale_manager_v1_interface, version, 1);
    }
}

void global_remove(void*, wl_registry*, uint32_t name) { remove_output(name); }

const wl_registry_listener REGISTRY_LISTENER = {global, global_remove};

template <class T>
void destroy(T*& proxy, void (*release)(T*)) {
    if (proxy) release(proxy);
    proxy = nullptr;
}

void destroy_globals() {
    WlGlobals& g = g_state.globals;
    for (int32_t i = 0; i < g.output_count; ++i) wl_output_destroy(g.outputs[i].output);
    g.output_count = 0;
    destroy(g.fractional_manager, wp_fractional_scale_manager_v1_destroy);
    destroy(g.viewporter, wp_viewporter_destroy);
    destroy(g.idle_manager, zwp_idle_inhibit_manager_v1_destroy);
    destroy(g.decoration_manager, zxdg_decoration_manager_v1_destroy);
    destroy(g.wm_base, xdg_wm_base_destroy);
    destroy(g.seat, wl_seat_destroy);
    destroy(g.shm, wl_shm_destroy);
    destroy(g.compositor, wl_compositor_destroy);
    destroy(g_state.registry, wl_registry_destroy);
}

}  // namespace

WaylandState& wl_state() { return g_state; }

// A socket handed down, or the named one in the runtime folder (or at the
// path given): a name without its socket is no compositor, and asking the
// library to connect to it would only make it complain on standard error.
bool wl_display_named() {
    const char* socket = std::getenv("WAYLAND_SOCKET");
    if (socket && socket[0]) return true;
    const char* display = std::getenv("WAYLAND_DISPLAY");
    if (!display || !display[0]) return false;
    std::string path = display;
    if (path[0] != '/') {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (!runtime || !runtime[0]) return false;
        path = std::string(runtime) + "/" + path;
    }
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

// The globals the window needs: a compositor, shared memory and the
// desktop shell; a seat and the rest are taken when offered.
int32_t wl_connect() {
    if (!wl_library_load()) return -1;
    g_state = WaylandState{};
    g_state.display = wl.wl_display_connect(nullptr);
    if (!g_state.display) return -1;
    g_state.registry = wl_display_get_registry(g_state.display);
    if (!g_state.registry) return -1;
    wl_registry_add_listener(g_state.registry, &REGISTRY_LISTENER, nullptr);
    // The globals, then what binding them brought (outputs' modes and
    // scales, the seat's devices).
    if (wl.wl_display_roundtrip(g_state.display) < 0 || wl.wl_display_roundtrip(g_state.display) < 0) return -1;
    const WlGlobals& g = g_state.globals;
    return g.compositor && g.shm && g.wm_base ? 0 : -1;
}

// Proxies are only the client's records: destroying them is safe on a
// lost connection too.
void wl_disconnect() {
    if (!g_state.display) return;
    wl_input_exit();
    wl_shell_decor_release();
    destroy_globals();
    wl.wl_display_disconnect(g_state.display);
    g_state = WaylandState{};
}

bool wl_flush() {
    if (g_state.lost || !g_state.display) return false;
    if (wl.wl_display_flush(g_state.display) < 0 && errno != EAGAIN) g_state.lost = true;
    if (wl.wl_display_get_error(g_state.display) != 0) g_state.lost = true;
    return !g_state.lost;
}

void wl_report_loss() { window_system_lost(g_state.loss_reported); }

int32_t wl_output_scale() {
    const WlGlobals& g = g_state.globals;
    int32_t on = 0, any = 1;
    for (int32_t i = 0; i < g.output_count; ++i) {
        any = std::max(any, g.outputs[i].scale);
        if (g.outputs[i].entered) on = std::max(on, g.outputs[i].scale);
    }
    return on > 0 ? on : any;
}

void wl_output_entered(wl_output* output, bool entered) {
    if (WlOutput* o = output_of(output)) o->entered = entered;
    wl_window_update_geometry();
}
