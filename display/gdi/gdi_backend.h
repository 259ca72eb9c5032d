#pragma once
// The "GDI" back-end: the window's picture is the visible page (or its
// conversion) handed to SetDIBitsToDevice with a 256-colour table.
#include <windows.h>

#include <cstdint>

#include "display/win32/win32_window.h"

struct GdiState {
    BITMAPINFO* header;        // 40-byte header and 256 colours, rows top-down: the bitmap shown
    uint8_t* conversion;       // the converted picture, when a converter is in use
    int32_t conversion_pitch;  // bytes between its rows
    uint8_t* scaled;           // the picture scaled for the window, when its scale is above 1
    int32_t scaled_pitch;      // bytes between its rows
    HPALETTE palette;          // the logical palette realised in the window
};

GdiState& gdi_state();

// gdi_window.cpp: on the refresh thread. gdi_rescale is the window's
// rescale: the shown bitmap for another scale.
int32_t gdi_window_init();
void gdi_window_exit();
bool gdi_rescale(int32_t scale);

// gdi_refresh.cpp: the refresh thread and the repaint. A pass runs under
// the display lock.
void gdi_thread_main();
RefreshOutcome gdi_refresh_pass();
void gdi_paint();

// gdi_modes.cpp
int32_t* gdi_fetch_modes(int32_t depth, int32_t* count);
