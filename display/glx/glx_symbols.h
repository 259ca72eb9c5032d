#pragma once
// The entry points of libGL's GLX part that the OpenGL layer uses, in one
// list. libGL is loaded at run time (glx_library_load), so the program
// starts and works without it; the headers only lend the entry points'
// types.
#include "display/x11/x11_symbols.h"  // first: GL/glx.h takes the X types from Xlib

#include <GL/glx.h>

// clang-format off
#define GLX_SYMBOLS(X)            \
    X(glXQueryExtension)          \
    X(glXQueryVersion)            \
    X(glXQueryExtensionsString)   \
    X(glXChooseFBConfig)          \
    X(glXGetVisualFromFBConfig)   \
    X(glXCreateNewContext)        \
    X(glXMakeCurrent)             \
    X(glXDestroyContext)          \
    X(glXSwapBuffers)             \
    X(glXGetProcAddressARB)
// clang-format on

struct GlxApi {
#define GLX_API_MEMBER(name) decltype(&::name) name;
    GLX_SYMBOLS(GLX_API_MEMBER)
#undef GLX_API_MEMBER
};

// The resolved entry points; valid after glx_library_load gave a library.
extern GlxApi glx;

// Loads libGL once per process and resolves the list: the library's handle,
// or null when it or one of the names is missing. It stays loaded for the
// process's life: Mesa's drivers keep state that an unload leaks.
void* glx_library_load();
