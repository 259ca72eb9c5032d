#pragma once
#include <GL/gl.h>

#include <cstdint>

// The OpenGL entry points the back-end resolves from the loaded library,
// in this order.
#define GL_FUNCTION_LIST(X) \
    X(glEnable)             \
    X(glDisable)            \
    X(glGetString)          \
    X(glViewport)           \
    X(glMatrixMode)         \
    X(glLoadIdentity)       \
    X(glOrtho)              \
    X(glShadeModel)         \
    X(glDepthMask)          \
    X(glClearColor)         \
    X(glClear)              \
    X(glGenTextures)        \
    X(glDeleteTextures)     \
    X(glBindTexture)        \
    X(glTexImage2D)

struct GlFunctions {
#define GL_FUNCTION_MEMBER(name) decltype(&::name) name;
    GL_FUNCTION_LIST(GL_FUNCTION_MEMBER)
#undef GL_FUNCTION_MEMBER
};

inline constexpr int32_t GL_FUNCTION_COUNT = sizeof(GlFunctions) / sizeof(void*);

extern const char* const GL_FUNCTION_NAMES[GL_FUNCTION_COUNT];

// The resolved entry points; all null until gl_functions_resolve succeeded.
const GlFunctions& gl_functions();

// Resolves every name from the loaded library: 0, or -1 (and all null)
// when one is missing.
int32_t gl_functions_resolve(void* library);
void gl_functions_clear();
