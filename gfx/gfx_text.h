#pragma once
#include <cstdint>

#include "runtime/console/text_layout.h"

// The graphics text console: text printed on the console channel drawn
// with the screen's font into the work page. These are console hooks.

void gfx_print_buffer(const uint8_t* chars, int64_t count, int32_t mask);        // hook 12
void gfx_print_wide_buffer(const uint16_t* chars, int64_t count, int32_t mask);  // hook 13
void gfx_print(const uint8_t* chars, int64_t count);
int32_t gfx_text_draw(TextLayout* layout, const uint8_t* chars, int32_t count);
void gfx_text_scroll(TextLayout* layout, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t count);
int32_t gfx_locate(int32_t row, int32_t column, int32_t cursor);               // hook 6
int32_t gfx_cursor_column();                                                   // hook 8
int32_t gfx_cursor_row();                                                      // hook 9
void gfx_cursor_position(int32_t* column, int32_t* row);                       // hook 10
void gfx_text_size(int32_t* columns, int32_t* rows);                           // hook 11
void gfx_clear(int32_t what);                                                  // hook 4
void gfx_set_colour(uint32_t foreground, uint32_t background, int32_t which);  // hook 5
int32_t gfx_set_text_size(int32_t columns, int32_t rows);                      // hook 7
int32_t gfx_read_cell(int32_t row, int32_t column, int32_t colour);            // hook 23
