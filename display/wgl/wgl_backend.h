#pragma once
// The WGL layer of the OpenGL back-end: the window and its messages are
// the Windows window machinery's (display/win32/), used on the program's
// thread; this layer adds opengl32.dll, the pixel format and the rendering
// context.
#include <windows.h>

#include <GL/gl.h>  // first: the WGL extensions take their types from it
#include <GL/wglext.h>

#include "display/opengl/gl_format.h"

// The entry points of opengl32.dll the layer calls itself.
struct WglApi {
    decltype(&::wglCreateContext) wglCreateContext;
    decltype(&::wglMakeCurrent) wglMakeCurrent;
    decltype(&::wglDeleteContext) wglDeleteContext;
    decltype(&::wglGetProcAddress) wglGetProcAddress;
    // Through wglGetProcAddress, while a context is current; null when the
    // implementation lacks them.
    PFNWGLGETEXTENSIONSSTRINGARBPROC get_extensions_string;
    PFNWGLCHOOSEPIXELFORMATARBPROC wglChoosePixelFormatARB;
};

struct WglState {
    void* library;  // opengl32.dll
    WglApi api;
    HDC dc;         // the window's, held from its first use until the end
    HGLRC context;  // the window's, current on the program's thread
    // The set-up window: a plain pixel format and a temporary context made
    // current on it while the implementation is looked at.
    HWND probe_window;
    HDC probe_dc;
    HGLRC probe_context;
};

WglState& wgl_state();

// An entry point of the current context by name (wglGetProcAddress); null
// when unknown.
void* wgl_context_entry(const char* name);

// wgl_probe.cpp: the set-up window and its context go, if there are any.
void wgl_release_probe();

// wgl_format.cpp: the pixel format of the window's device context for the
// options, through wglChoosePixelFormatARB (samples lowered as needed)
// where the implementation has it, else ChoosePixelFormat (no samples);
// 0 when there is none. `descriptor` gets the options' descriptor.
int wgl_choose_format(HDC dc, GlOptions* options, PIXELFORMATDESCRIPTOR* descriptor);

// The descriptor of a request: a double-buffered RGBA window format with
// the request's sizes.
PIXELFORMATDESCRIPTOR wgl_descriptor(const GlFormatRequest& request);

// The zero-terminated attribute list of wglChoosePixelFormatARB for a
// request: identifier, value, identifier, value, ..., 0.
inline constexpr int WGL_ATTRIBUTE_CAPACITY = 2 * GL_ATTRIBUTE_COUNT + 1;
void wgl_attributes(const GlFormatRequest& request, int (&list)[WGL_ATTRIBUTE_CAPACITY]);

// wgl_window.cpp: the window's device context, taken when none is held
// yet; null when there is no window or none can be had.
HDC wgl_window_dc();
