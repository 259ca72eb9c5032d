#pragma once
#include <cstdint>

struct GfxDriver;

// The window driver of X11 desktops: "X11".
extern const GfxDriver x11_driver;

int32_t x11_init(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate, int32_t flags);
