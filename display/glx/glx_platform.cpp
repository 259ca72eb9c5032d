#include "display/display_window.h"
#include "display/glx/glx_backend.h"
#include "display/opengl/gl_platform.h"
#include "display/x11/x11_backend.h"
#include "gfx/screen.h"

namespace {

GlxState g_glx;

constexpr int GLX_MAJOR = 1, GLX_MINOR = 3;  // framebuffer configurations

bool glx_usable() {
    X11State& x = x11_state();
    int error_base = 0, event_base = 0, major = 0, minor = 0;
    return glx.glXQueryExtension(x.display, &error_base, &event_base) &&
           glx.glXQueryVersion(x.display, &major, &minor) &&
           (major > GLX_MAJOR || (major == GLX_MAJOR && minor >= GLX_MINOR));
}

// The window takes the configuration's visual; x11_close_display frees the
// colormap made for it.
bool use_visual(GLXFBConfig config) {
    X11State& x = x11_state();
    if (!glx_visual_of(config, &x.visual, &x.visual_depth, &x.colormap)) return false;
    x.own_colormap = true;
    return true;
}

bool find_config(const GlFormatRequest& request, void* config) {
    return glx_find_config(request, static_cast<GLXFBConfig*>(config));
}

// The options' configuration, with fewer samples as needed; failing that,
// the nearest there is: any double-buffered RGBA window configuration.
bool choose_config(GlOptions* options, GLXFBConfig* config) {
    if (gl_choose_format(options, find_config, config)) return true;
    options->samples = 0;
    return glx_find_config(glx_plain_request(), config);
}

}  // namespace

GlxState& glx_state() { return g_glx; }

// The program's thread must survive a lost server: that takes a libX11
// that lets the program's own exit handler return (1.7 and later).
void* gl_platform_load() {
    if (!x11_display_named() || !x11_library_load() || !x11.XSetIOErrorExitHandler) return nullptr;
    if (x11_connect() != 0) return nullptr;
    x11_state().drawn_by_program = true;
    void* library = glx_library_load();
    return library && glx_usable() ? library : nullptr;
}

DisplayBackend gl_platform_backend() { return {gl_window_init, gl_window_exit, nullptr, nullptr, x11_confine_pointer}; }

int32_t gl_platform_open(GlOptions* options) {
    X11State& x = x11_state();
    GLXFBConfig config = nullptr;
    if (!x.display || x.lost || !choose_config(options, &config) || !use_visual(config)) return -1;
    if (x11_window_create() != 0 || gl_window_init() != 0) return -1;
    g_glx.context = glx.glXCreateNewContext(x.display, config, GLX_RGBA_TYPE, nullptr, True);
    if (!g_glx.context || !glx.glXMakeCurrent(x.display, x.window, g_glx.context)) return -1;
    return x11_sync_ok() ? 0 : -1;
}

void gl_platform_close() {
    X11State& x = x11_state();
    gl_platform_probe_end();
    if (x.display && g_glx.context) {
        glx.glXMakeCurrent(x.display, None, nullptr);
        glx.glXDestroyContext(x.display, g_glx.context);
    }
    g_glx = GlxState{};
    x11_window_exit();
    x11_close_display();
}

// Nothing is shown once the server is gone.
void gl_platform_swap() {
    X11State& x = x11_state();
    if (x.window && g_glx.context && !x.lost) glx.glXSwapBuffers(x.display, x.window);
}

// What the X11 driver's refresh pass does, without the picture: requests,
// the window's events, key states; then a loss, once.
void gl_platform_poll() {
    X11State& x = x11_state();
    if (!x.display || !x.window) return;
    if (!x.lost) {
        x11_apply_requests();
        x11_drain_events();
        x11_refresh_key_states();
        if (!x.lost) x11.XFlush(x.display);
    }
    if (x.lost) x11_report_loss();
}

void* gl_platform_proc_address(const char* name) {
    if (!glx.glXGetProcAddressARB) return nullptr;
    return reinterpret_cast<void*>(glx.glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

// The window stays while full screen is switched: the rendering context
// lives on it. Window init places, styles and shows it for the request.
int32_t gl_window_init() {
    x11_window_restyle();
    if (x11_window_show() != 0) return -1;
    display_window().active = 1;
    if (GfxScreen* s = g_gfx_screen) s->refresh_rate = x11_refresh_rate();
    return 0;
}

void gl_window_exit() { x11_window_hide(); }

int32_t* gl_fetch_modes(int32_t depth, int32_t* count) { return x11_list_modes(depth, count, true); }
