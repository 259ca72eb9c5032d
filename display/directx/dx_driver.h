#pragma once
#include <cstdint>

struct GfxDriver;

// The window driver that draws through DirectDraw: "DirectX".
extern const GfxDriver dx_driver;

int32_t dx_init(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate, int32_t flags);
