#include "display/glx/glx_backend.h"
#include "display/opengl/gl_platform.h"
#include "display/x11/x11_backend.h"

namespace {

constexpr unsigned PROBE_SIZE = 8;

bool make_probe(GlxState& g) {
    X11State& x = x11_state();
    GLXFBConfig config = nullptr;
    Visual* visual = nullptr;
    int depth = 0;
    if (!glx_find_config(glx_plain_request(), &config) || !glx_visual_of(config, &visual, &depth, &g.probe_colormap))
        return false;
    XSetWindowAttributes a{};
    a.colormap = g.probe_colormap;
    a.border_pixel = 0;
    x11_begin_checked();
    g.probe_window = x11.XCreateWindow(x.display, x.root, 0, 0, PROBE_SIZE, PROBE_SIZE, 0, depth, InputOutput, visual,
                                       CWColormap | CWBorderPixel, &a);
    if (!x11_sync_ok()) {
        g.probe_window = 0;  // refused: nothing was made
        return false;
    }
    g.probe_context = glx.glXCreateNewContext(x.display, config, GLX_RGBA_TYPE, nullptr, True);
    return g.probe_context && glx.glXMakeCurrent(x.display, g.probe_window, g.probe_context) && x11_sync_ok();
}

}  // namespace

// The probe's window is never shown: a context only needs a drawable to
// be made current on.
int32_t gl_platform_probe_begin(const char** extensions) {
    X11State& x = x11_state();
    *extensions = nullptr;
    if (!x.display || x.lost || !make_probe(glx_state())) return -1;
    *extensions = glx.glXQueryExtensionsString(x.display, x.screen);
    return 0;
}

void gl_platform_probe_end() {
    X11State& x = x11_state();
    GlxState& g = glx_state();
    if (!x.display) return;
    if (g.probe_context) {
        glx.glXMakeCurrent(x.display, None, nullptr);
        glx.glXDestroyContext(x.display, g.probe_context);
    }
    if (g.probe_window && !x.lost) x11.XDestroyWindow(x.display, g.probe_window);
    if (g.probe_colormap && !x.lost) x11.XFreeColormap(x.display, g.probe_colormap);
    g.probe_context = nullptr;
    g.probe_window = 0;
    g.probe_colormap = 0;
}
