#pragma once
#include <cstdint>

struct GfxDriver;

// The "OpenGL" display driver: a window the program draws into with
// OpenGL itself. It serves only mode sets with SCREEN_OPENGL.
extern const GfxDriver gl_driver;

int32_t gl_init(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate, int32_t flags);
void gl_exit();
void gl_flip();
void gl_poll_events();

// An OpenGL entry point for the program, by name; null when no OpenGL is
// loaded or the name is unknown.
void* gl_get_proc_address(const char* name);
