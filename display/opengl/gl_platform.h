#pragma once
// What a window system's OpenGL layer provides to the shared back-end
// (gl_driver.cpp). One layer is built per platform. Everything runs on the
// program's thread: the OpenGL window has no refresh thread, and its
// rendering context stays current on that thread from init to exit.
#include <cstdint>

#include "display/display_window.h"
#include "display/opengl/gl_options.h"

// Loads the OpenGL library and opens what the window system needs. The
// library's handle, from which the GL functions are resolved, or null.
void* gl_platform_load();

// The window record's back-end operations: window init and exit (a full
// screen switch runs them on the window in place), no paint, no thread.
DisplayBackend gl_platform_backend();

// A temporary rendering context made current, for reading the extension
// strings; `extensions` gets the window system's own (null for none).
// 0 or -1; gl_platform_probe_end releases what it made either way. The
// shared part builds the extension text in between, so that probe_end,
// while the context is still current, may look up entry points that the
// text offers (gl_has_extension).
int32_t gl_platform_probe_begin(const char** extensions);
void gl_platform_probe_end();

// The window with a pixel format for the options (samples lowered by
// gl_choose_format as needed, and left as found) and its rendering context
// made current, the window shown: 0 or -1.
int32_t gl_platform_open(GlOptions* options);

// Releases the context, the window and the connection; safe after any
// failure and when nothing is open.
void gl_platform_close();

// Presents the back buffer.
void gl_platform_swap();

// Handles the window's pending events through the shared window procedure
// and refreshes the key states while the window is active.
void gl_platform_poll();

// An OpenGL entry point by name, for the program; null when unknown.
void* gl_platform_proc_address(const char* name);

// The back-end operations and the fetch_modes slot, in each layer.
int32_t gl_window_init();
void gl_window_exit();
int32_t* gl_fetch_modes(int32_t depth, int32_t* count);
