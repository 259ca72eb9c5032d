// The set-up window: a hidden window of the display's class with a plain
// pixel format, on which a temporary context is made current while the
// shared part looks at the implementation.
#include "display/display_window.h"
#include "display/opengl/gl_extensions.h"
#include "display/opengl/gl_platform.h"
#include "display/wgl/wgl_backend.h"
#include "display/win32/win32_window.h"

namespace {

constexpr DWORD PROBE_STYLE = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr int PROBE_SIZE = 8;
constexpr int32_t PROBE_DEPTH_BITS = 32;

template <class F>
F context_entry(const char* name) {
    return reinterpret_cast<F>(wgl_context_entry(name));
}

bool make_probe(WglState& g) {
    const DisplayWindow& w = display_window();
    g.probe_window = CreateWindowExA(0, w.class_name, "OpenGL setup", PROBE_STYLE, 0, 0, PROBE_SIZE, PROBE_SIZE,
                                     nullptr, nullptr, win32_window().instance, nullptr);
    if (!g.probe_window) return false;
    g.probe_dc = GetDC(g.probe_window);
    if (!g.probe_dc) return false;
    GlFormatRequest request{};
    request.items[request.count++] = {GlAttribute::DepthBits, PROBE_DEPTH_BITS};
    const PIXELFORMATDESCRIPTOR plain = wgl_descriptor(request);
    const int format = ChoosePixelFormat(g.probe_dc, &plain);
    if (format == 0 || !SetPixelFormat(g.probe_dc, format, &plain)) return false;
    g.probe_context = g.api.wglCreateContext(g.probe_dc);
    return g.probe_context && g.api.wglMakeCurrent(g.probe_dc, g.probe_context);
}

}  // namespace

int32_t gl_platform_probe_begin(const char** extensions) {
    WglState& g = wgl_state();
    *extensions = nullptr;
    if (!g.library || !make_probe(g)) return -1;
    g.api.get_extensions_string = context_entry<PFNWGLGETEXTENSIONSSTRINGARBPROC>("wglGetExtensionsStringARB");
    if (!g.api.get_extensions_string)
        g.api.get_extensions_string = context_entry<PFNWGLGETEXTENSIONSSTRINGARBPROC>("wglGetExtensionsStringEXT");
    if (g.api.get_extensions_string) *extensions = g.api.get_extensions_string(g.probe_dc);
    return 0;
}

// The format chooser is the implementation's, so it is asked for while its
// context is current.
void gl_platform_probe_end() {
    WglState& g = wgl_state();
    if (g.probe_context && gl_has_extension("WGL_ARB_pixel_format"))
        g.api.wglChoosePixelFormatARB = context_entry<PFNWGLCHOOSEPIXELFORMATARBPROC>("wglChoosePixelFormatARB");
    wgl_release_probe();
}

void wgl_release_probe() {
    WglState& g = wgl_state();
    if (g.probe_context) {
        g.api.wglMakeCurrent(nullptr, nullptr);
        g.api.wglDeleteContext(g.probe_context);
    }
    if (g.probe_dc) ReleaseDC(g.probe_window, g.probe_dc);
    if (g.probe_window) DestroyWindow(g.probe_window);
    g.probe_context = nullptr;
    g.probe_dc = nullptr;
    g.probe_window = nullptr;
}
