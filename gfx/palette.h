#pragma once
#include <cstdint>

// Loads the current screen's palette descriptor into its mode and device
// palettes and the display driver, and marks every row for redrawing.
void gfx_palette_reset();

// Sets one device palette entry (0x00BBGGRR) and tells the driver.
void gfx_palette_set(int32_t index, uint32_t colour);
