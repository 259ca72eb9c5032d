// opengl32.dll, its entry points, and the ones handed to the program.
#include "display/lib_loader.h"
#include "display/opengl/gl_platform.h"
#include "display/wgl/wgl_backend.h"

namespace {

WglState g_wgl;

constexpr const char* LIBRARY_FILE = "opengl32.dll";
constexpr const char* REQUIRED[] = {"wglCreateContext", "wglMakeCurrent", "wglDeleteContext", nullptr};
constexpr const char* GET_PROC_ADDRESS[] = {"wglGetProcAddress"};

template <class F>
void store(F& entry, void* found) {
    entry = reinterpret_cast<F>(found);
}

// Some implementations answer an unknown name with a small number instead
// of null.
bool valid_entry(void* entry) {
    const auto value = reinterpret_cast<intptr_t>(entry);
    return value < -1 || value > 3;
}

}  // namespace

WglState& wgl_state() { return g_wgl; }

// Stays loaded until the window closes (gl_platform_close unloads it).
void* gl_platform_load() {
    void* entries[3] = {};
    g_wgl.library = lib_load(LIBRARY_FILE, REQUIRED, entries);
    if (!g_wgl.library) return nullptr;
    store(g_wgl.api.wglCreateContext, entries[0]);
    store(g_wgl.api.wglMakeCurrent, entries[1]);
    store(g_wgl.api.wglDeleteContext, entries[2]);
    void* get_proc_address = nullptr;
    if (lib_resolve(g_wgl.library, GET_PROC_ADDRESS, &get_proc_address, 1) == 0)
        store(g_wgl.api.wglGetProcAddress, get_proc_address);
    return g_wgl.library;
}

void* wgl_context_entry(const char* name) {
    if (!g_wgl.api.wglGetProcAddress) return nullptr;
    void* entry = reinterpret_cast<void*>(g_wgl.api.wglGetProcAddress(name));
    return valid_entry(entry) ? entry : nullptr;
}

// Extensions' entry points come from the current context; OpenGL 1.1's
// own are exported by the library.
void* gl_platform_proc_address(const char* name) {
    if (!g_wgl.library) return nullptr;
    if (void* entry = wgl_context_entry(name)) return entry;
    void* entry = nullptr;
    const char* names[] = {name};
    return lib_resolve(g_wgl.library, names, &entry, 1) == 0 ? entry : nullptr;
}
