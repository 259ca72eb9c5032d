#include "display/opengl/gl_functions.h"

#include "display/lib_loader.h"

const char* const GL_FUNCTION_NAMES[GL_FUNCTION_COUNT] = {
#define GL_FUNCTION_NAME(name) #name,
    GL_FUNCTION_LIST(GL_FUNCTION_NAME)
#undef GL_FUNCTION_NAME
};

namespace {

GlFunctions g_functions;

}  // namespace

const GlFunctions& gl_functions() { return g_functions; }

int32_t gl_functions_resolve(void* library) {
    void* entries[GL_FUNCTION_COUNT] = {};
    if (lib_resolve(library, GL_FUNCTION_NAMES, entries, GL_FUNCTION_COUNT) != 0) {
        gl_functions_clear();
        return -1;
    }
    int32_t i = 0;
#define GL_FUNCTION_STORE(name) g_functions.name = reinterpret_cast<decltype(g_functions.name)>(entries[i++]);
    GL_FUNCTION_LIST(GL_FUNCTION_STORE)
#undef GL_FUNCTION_STORE
    return 0;
}

void gl_functions_clear() { g_functions = GlFunctions{}; }
