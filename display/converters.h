#pragma once
#include <cstdint>

// Copies the dirty rows of the current screen's visible page into a
// destination of another pixel format. Output row j (0 .. height x line
// repeat - 1) starts dest_pitch bytes after row j - 1, shows screen row
// j / line repeat and is written only when that screen row is dirty; clean
// rows of the destination keep their contents. Does nothing without a screen.
using Converter = void (*)(uint8_t* dest, int32_t dest_pitch);

// The converter from the current screen's depth to dest_depth (8, 15, 16, 24
// or 32; 8 only from an indexed screen) in dest_order (0: blue in the low
// bits, 1: red in the low bits). Rebuilds the 16-bit lookup table in
// g_conversion_table for dest_order. Null without a screen, for a depth or
// order it cannot serve, and for a 16-bit screen that needs the lookup table
// (24- and 32-bit destinations) while there is none.
Converter get_converter(int32_t dest_depth, int32_t dest_order);

// The copy for shaped windows: 32-bit screen to 32-bit destination with the
// top byte of every pixel cleared.
Converter get_shaped_converter();
