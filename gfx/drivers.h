#pragma once
#include <cstdint>

struct GfxDriver;

// The screen that lives in memory only: no window, no keys.
extern const GfxDriver null_driver;

// The platform's window drivers in the order they are tried, closed by a
// null entry.
extern const GfxDriver* const gfx_window_drivers[];

// Chooses the display driver for a mode set from `drivers` (closed by a
// null entry): by the "ZVGFX" request, in passes over the list, inverting
// the full-screen request between passes. Null when no driver accepts.
const GfxDriver* gfx_choose_driver(const GfxDriver* const* drivers, const char* title, int32_t width,
                                   int32_t height, int32_t depth, int32_t refresh_rate, int32_t flags);
