// The WGL layer's part of the OpenGL back-end's life: the window with its
// pixel format and rendering context, the swap, the window's messages,
// and the end.
#include "display/display_window.h"
#include "display/lib_loader.h"
#include "display/opengl/gl_platform.h"
#include "display/wgl/wgl_backend.h"
#include "display/win32/win32_window.h"
#include "gfx/screen.h"

namespace {

// Made hidden and without a frame; gl_window_init styles and shows it.
constexpr DWORD CREATION_STYLE = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

}  // namespace

DisplayBackend gl_platform_backend() {
    return {gl_window_init, gl_window_exit, nullptr, nullptr, win32_confine_cursor};
}

int32_t gl_platform_open(GlOptions* options) {
    const DisplayWindow& w = display_window();
    WglState& g = wgl_state();
    if (!g.library) return -1;
    if (display_window_create(CREATION_STYLE, 0, 0, 0, w.width, w.height) != 0 || gl_window_init() != 0) return -1;
    HDC dc = wgl_window_dc();
    if (!dc) return -1;
    PIXELFORMATDESCRIPTOR descriptor;
    const int format = wgl_choose_format(dc, options, &descriptor);
    if (format == 0 || !SetPixelFormat(dc, format, &descriptor)) return -1;
    g.context = g.api.wglCreateContext(dc);
    return g.context && g.api.wglMakeCurrent(dc, g.context) ? 0 : -1;
}

void gl_platform_close() {
    WglState& g = wgl_state();
    Win32Window& w32 = win32_window();
    wgl_release_probe();
    if (g.library) {
        if (g.context) {
            g.api.wglMakeCurrent(nullptr, nullptr);
            g.api.wglDeleteContext(g.context);
        }
        if (g.dc) ReleaseDC(w32.window, g.dc);
        if (w32.window) {
            if (display_window().flags & SCREEN_FULLSCREEN) win32_restore_display_mode();
            DestroyWindow(w32.window);
            w32.window = nullptr;
        }
        lib_free(&g.library);
    }
    g = WglState{};
}

void gl_platform_swap() {
    const WglState& g = wgl_state();
    if (g.dc && g.context) SwapBuffers(g.dc);
}

// The window procedure runs here, on the program's thread.
void gl_platform_poll() {
    if (!win32_window().window) return;
    if (display_window().active) win32_refresh_key_states();
    display_pump_messages();
}
