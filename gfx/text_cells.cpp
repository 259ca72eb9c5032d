#include "gfx/text_cells.h"

#include <cstdlib>

namespace {

size_t cells_per_page(const GfxScreen* s) {
    if (s->text_columns <= 0 || s->text_rows <= 0) return 0;
    return static_cast<size_t>(s->text_columns) * static_cast<size_t>(s->text_rows);
}

}  // namespace

bool text_cells_alloc(GfxScreen* s, const DrawContext* ctx) {
    text_cells_free(s);
    if (s->page_count <= 0) return true;
    s->text_pages = static_cast<TextCell**>(std::calloc(static_cast<size_t>(s->page_count), sizeof(TextCell*)));
    if (!s->text_pages) return false;
    size_t cells = cells_per_page(s);
    if (cells == 0) return true;  // no text grid on a screen narrower than one glyph
    for (int32_t page = 0; page < s->page_count; ++page) {
        s->text_pages[page] = static_cast<TextCell*>(std::calloc(cells, sizeof(TextCell)));
        if (!s->text_pages[page]) {
            text_cells_free(s);
            return false;
        }
    }
    if (ctx->work_page >= 0 && ctx->work_page < s->page_count) {
        TextCell* grid = s->text_pages[ctx->work_page];
        for (size_t i = 0; i < cells; ++i) grid[i] = TextCell{' ', ctx->foreground, ctx->background};
    }
    return true;
}

void text_cells_free(GfxScreen* s) {
    if (!s->text_pages) return;
    for (int32_t page = 0; page < s->page_count; ++page) std::free(s->text_pages[page]);
    std::free(s->text_pages);
    s->text_pages = nullptr;
}

TextCell* text_cell(GfxScreen* s, int32_t page, int32_t column, int32_t row) {
    if (!s || !s->text_pages || page < 0 || page >= s->page_count) return nullptr;
    if (column < 0 || column >= s->text_columns || row < 0 || row >= s->text_rows) return nullptr;
    TextCell* grid = s->text_pages[page];
    if (!grid) return nullptr;
    return grid + static_cast<size_t>(row) * static_cast<size_t>(s->text_columns) + static_cast<size_t>(column);
}
