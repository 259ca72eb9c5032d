#include "display/glx/glx_symbols.h"
#include "display/lib_loader.h"

GlxApi glx;

namespace {

constexpr const char* LIBRARY_FILE = "libGL.so.1";

constexpr const char* NAMES[] = {
#define GLX_NAME(name) #name,
    GLX_SYMBOLS(GLX_NAME)
#undef GLX_NAME
        nullptr,
};

constexpr int32_t COUNT = sizeof NAMES / sizeof NAMES[0] - 1;
static_assert(COUNT == sizeof(GlxApi) / sizeof(void*));

void* load() {
    void* entries[COUNT] = {};
    void* library = lib_load(LIBRARY_FILE, NAMES, entries);
    if (!library) return nullptr;
    int32_t i = 0;
#define GLX_STORE(name) glx.name = reinterpret_cast<decltype(glx.name)>(entries[i++]);
    GLX_SYMBOLS(GLX_STORE)
#undef GLX_STORE
    return library;
}

}  // namespace

void* glx_library_load() {
    static void* const library = load();
    return library;
}
