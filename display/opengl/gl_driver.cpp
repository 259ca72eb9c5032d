#include "display/opengl/gl_driver.h"

#include <GL/gl.h>

#include "display/display_window.h"
#include "display/opengl/gl_extensions.h"
#include "display/opengl/gl_functions.h"
#include "display/opengl/gl_platform.h"
#include "display/window_events.h"
#include "gfx/screen.h"

#ifndef GL_MULTISAMPLE
#define GL_MULTISAMPLE 0x809D
#endif

namespace {

// Nothing else touches the screen: the program draws on its own thread.
void no_lock() {}

// The implementation must offer the GL functions and BGRA pixel transfers.
bool implementation_usable(void* library) {
    const char* window_system = nullptr;
    bool usable = false;
    if (gl_platform_probe_begin(&window_system) == 0 && gl_functions_resolve(library) == 0) {
        const GLubyte* gl = gl_functions().glGetString(GL_EXTENSIONS);
        gl_extensions_set(reinterpret_cast<const char*>(gl), window_system);
        usable = gl_has_extension("GL_EXT_bgra") != 0;
    }
    gl_platform_probe_end();
    return usable;
}

}  // namespace

int32_t gl_init(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate, int32_t flags) {
    display_window_clear();
    gl_extensions_clear();
    gl_functions_clear();
    if (!(flags & SCREEN_OPENGL)) return -1;
    void* library = gl_platform_load();
    if (!library) return -1;
    display_window().backend = gl_platform_backend();
    if (display_window_init(title, width, height, depth, refresh_rate, flags) != 0) return -1;
    if (!implementation_usable(library)) return -1;
    GlOptions options = gl_options_with_defaults(gl_options(), depth, flags);
    if (gl_platform_open(&options) != 0) return -1;
    if (options.samples > 0) gl_functions().glEnable(GL_MULTISAMPLE);
    return 0;
}

void gl_exit() {
    gl_platform_close();
    gl_functions_clear();
    display_window_exit();
}

void gl_flip() { gl_platform_swap(); }

void gl_poll_events() { gl_platform_poll(); }

void* gl_get_proc_address(const char* name) { return name && name[0] ? gl_platform_proc_address(name) : nullptr; }

// clang-format off
const GfxDriver gl_driver = {
    "OpenGL",         gl_init,           gl_exit,          no_lock,          no_lock,
    nullptr,          window_wait_frame, window_get_mouse, window_set_mouse, window_set_title,
    window_set_pos,   gl_fetch_modes,    gl_flip,          gl_poll_events,   {nullptr, nullptr},
};
// clang-format on
