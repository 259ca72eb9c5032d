#pragma once
#include <cstdint>

#include "gfx/screen.h"

// The text grid laid over each page: what character and colours every cell
// of the graphics text console holds.

// Creates one zeroed grid per page; the work page's grid is filled with
// spaces in the context's colours. False when memory is exhausted.
bool text_cells_alloc(GfxScreen* s, const DrawContext* ctx);
void text_cells_free(GfxScreen* s);
// The cell, or null outside the grid.
TextCell* text_cell(GfxScreen* s, int32_t page, int32_t column, int32_t row);
