#pragma once
#include <cstdint>

struct GfxDriver;

// The screen that lives in memory only: no window, no keys.
extern const GfxDriver null_driver;

// The platform's window drivers in the order they are tried, closed by a
// null entry. The display layer hands its list over before the program
// starts; without one the list is empty and only "Null" can be had.
void gfx_register_window_drivers(const GfxDriver* const* drivers);
const GfxDriver* const* gfx_window_drivers();

// Chooses the display driver for a mode set from `drivers` (closed by a
// null entry): by the "ZVGFX" request, in passes over the list, inverting
// the full-screen request between passes. Null when no driver accepts.
const GfxDriver* gfx_choose_driver(const GfxDriver* const* drivers, const char* title, int32_t width, int32_t height,
                                   int32_t depth, int32_t refresh_rate, int32_t flags);
