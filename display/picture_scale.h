#pragma once
#include <cstdint>

// A picture shown crisp on a display of many pixels per inch: each picture
// pixel becomes a square block of `factor` x `factor` device pixels
// (nearest neighbour, never filtered).

// The whole factor of a display's dots per inch: DPI / 96 rounded down, at
// least 1.
constexpr int32_t dpi_scale(int32_t dpi) { return dpi / 96 > 1 ? dpi / 96 : 1; }

// One row of `width` pixels of `bytes_per_pixel` bytes (1 to 4), each
// pixel repeated `factor` times across into `dst`.
void scale_row_across(const uint8_t* src, uint8_t* dst, int32_t width, int32_t bytes_per_pixel, int32_t factor);

// Rows first..last of a picture of `width` pixels of `bytes_per_pixel`
// bytes (1 to 4) at `src` (rows `src_pitch` bytes apart) into `dst`
// (rows `dst_pitch` bytes apart), each pixel repeated `factor` times
// across and each row `factor` times down: picture row y lands on rows
// y x factor .. y x factor + factor - 1. Other rows of `dst` are left as
// they are.
void scale_rows(const uint8_t* src, int32_t src_pitch, uint8_t* dst, int32_t dst_pitch, int32_t width,
                int32_t bytes_per_pixel, int32_t first, int32_t last, int32_t factor);
