#pragma once
#include <cstdint>

struct GfxDriver;

// The window driver of Wayland desktops: "Wayland".
extern const GfxDriver wl_driver;

int32_t wl_init(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate, int32_t flags);
