#include "gfx/gfx_text.h"
#include "gfx/screen.h"
#include "gfx/text_cells.h"
#include "runtime/channels.h"

// The graphics text console's cursor, size, colours and cells as the
// console hooks report and change them.

int32_t gfx_locate(int32_t row, int32_t column, int32_t /*cursor: no hardware cursor to show*/) {
    GfxScreen* s = g_gfx_screen;
    if (!s) return 0;
    s->flags &= ~SCREEN_FLAG_PENDING_NEWLINE;
    if (column > 0) s->text_x = column - 1;
    if (row > 0) s->text_y = row - 1;
    channel_record(0)->column = s->text_x;
    return ((s->text_y & 0xFF) * 256 + (s->text_x & 0xFF)) + 257;
}

int32_t gfx_cursor_column() { return g_gfx_screen ? g_gfx_screen->text_x + 1 : 0; }

int32_t gfx_cursor_row() { return g_gfx_screen ? g_gfx_screen->text_y + 1 : 0; }

void gfx_cursor_position(int32_t* column, int32_t* row) {
    if (column) *column = gfx_cursor_column();
    if (row) *row = gfx_cursor_row();
}

void gfx_text_size(int32_t* columns, int32_t* rows) {
    const GfxScreen* s = g_gfx_screen;
    if (columns) *columns = s ? s->text_columns : 0;
    if (rows) *rows = s ? s->text_rows : 0;
}

void gfx_set_colour(uint32_t foreground, uint32_t background, int32_t which) {
    const GfxScreen* s = g_gfx_screen;
    if (!s) return;
    DrawContext* ctx = gfx_get_context();
    if (which & 1) ctx->foreground = foreground & s->colour_mask;
    if (which & 2) ctx->background = background & s->colour_mask;
}

// The grid follows the screen's size and font; only that size is accepted.
int32_t gfx_set_text_size(int32_t columns, int32_t rows) {
    const GfxScreen* s = g_gfx_screen;
    if (!s || columns != s->text_columns || rows != s->text_rows) return -1;
    return 0;
}

int32_t gfx_read_cell(int32_t row, int32_t column, int32_t colour) {
    GfxScreen* s = g_gfx_screen;
    if (!s || row < 1 || column < 1) return -1;
    const TextCell* cell = text_cell(s, gfx_get_context()->work_page, column - 1, row - 1);
    if (!cell) return -1;
    if (colour == 1) return static_cast<int32_t>(cell->foreground);
    if (colour == 2) return static_cast<int32_t>(cell->background);
    return cell->character & 0xFF;
}
