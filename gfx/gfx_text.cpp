#include "gfx/gfx_text.h"

#include <algorithm>
#include <cstring>

#include "gfx/screen.h"
#include "gfx/text_cells.h"
#include "runtime/channels.h"
#include "runtime/console/console.h"
#include "runtime/console/print_area.h"

// Printing on the graphics screen: the layout rules are the shared ones of
// text_layout; this file supplies the glyph drawing and the scrolling of
// the work page and its text cells.

namespace {

// What one print call touched: drawing and scrolling widen the dirty pixel
// rows [dirty_first, dirty_end), which are marked once at the end.
struct PrintOwner {
    DrawContext* ctx;
    int32_t dirty_first;
    int32_t dirty_end;
};

// The pixel rows the row table reaches, and the pixel columns of a row.
struct PageExtent {
    int64_t width;
    int64_t height;
};

PageExtent page_extent(const GfxScreen* s, const DrawContext* ctx) {
    return {s->width, std::min<int64_t>(s->height, ctx->rows_capacity)};
}

PrintOwner* owner_of(TextLayout* layout) { return static_cast<PrintOwner*>(layout->owner); }

void widen_dirty(PrintOwner* owner, int64_t first, int64_t end, int64_t height) {
    first = std::clamp<int64_t>(first, 0, height);
    end = std::clamp<int64_t>(end, 0, height);
    if (first >= end) return;
    if (owner->dirty_first == owner->dirty_end) {
        owner->dirty_first = static_cast<int32_t>(first);
        owner->dirty_end = static_cast<int32_t>(end);
        return;
    }
    owner->dirty_first = std::min(owner->dirty_first, static_cast<int32_t>(first));
    owner->dirty_end = std::max(owner->dirty_end, static_cast<int32_t>(end));
}

// Text is drawn opaquely on the work page, whatever the context drew
// with before.
DrawContext* begin_text() {
    DrawContext* ctx = gfx_get_context();
    gfx_set_target(ctx, nullptr);
    if (const PixelOps* ops = gfx_pixel_ops(ctx->target_bytes_per_pixel)) {
        ctx->put_pixel = ops->put;
        ctx->get_pixel = ops->get;
        ctx->fill_run = ops->fill;
    }
    gfx_lock();
    return ctx;
}

void end_text(const GfxScreen* s, const PrintOwner& owner) {
    if (s->visible_page == owner.ctx->work_page && owner.dirty_first < owner.dirty_end) {
        int64_t display_rows = int64_t{s->height} * s->line_repeat;
        int64_t first = std::min<int64_t>(int64_t{owner.dirty_first} * s->line_repeat, display_rows);
        int64_t end = std::min<int64_t>(int64_t{owner.dirty_end} * s->line_repeat, display_rows);
        if (first < end) {
            std::memset(s->dirty_rows + first, 1, static_cast<size_t>(end - first));
            gfx_rows_changed();
        }
    }
    gfx_unlock(1, 0);
}

// The text window over the print area, kept inside the screen's grid
// whatever the print area says.
TextLayout text_window(const GfxScreen* s, PrintOwner* owner) {
    int32_t columns = 0, rows = 0, top = 0, bottom = 0;
    gfx_text_size(&columns, &rows);
    print_area_get(&top, &bottom);
    TextLayout l{};
    l.owner = owner;
    l.scroll = gfx_text_scroll;
    l.draw = gfx_text_draw;
    l.left = 0;
    l.right = columns - 1;
    l.bottom = std::max(std::min(bottom - 1, rows - 1), -1);
    l.top = std::clamp(top - 1, 0, std::max(l.bottom, 0));
    l.x = s->text_x;
    l.y = s->text_y;
    return l;
}

void draw_glyph(const DrawContext* ctx, const FontDesc* font, uint8_t c, int64_t px, int64_t py, PageExtent page) {
    const int32_t stride = (font->width + 7) / 8;
    const uint8_t* glyph = font->glyphs + static_cast<size_t>(c) * static_cast<size_t>(font->height * stride);
    for (int32_t r = 0; r < font->height; ++r) {
        if (py + r < 0 || py + r >= page.height) continue;
        uint8_t* row = ctx->rows[py + r];
        const uint8_t* bits = glyph + r * stride;
        for (int32_t b = 0; b < font->width; ++b) {
            if (px + b < 0 || px + b >= page.width) continue;
            bool on = (bits[b / 8] >> (b % 8)) & 1;
            ctx->put_pixel(row, static_cast<int32_t>(px + b), on ? ctx->foreground : ctx->background);
        }
    }
}

// The line editor's cursor: only the cell's bottom pixel row changes.
void draw_cursor_mark(const DrawContext* ctx, const FontDesc* font, int64_t px, int64_t py, PageExtent page) {
    int64_t y = py + font->height - 1;
    if (y < 0 || y >= page.height) return;
    for (int32_t b = 0; b < font->width; ++b)
        if (px + b >= 0 && px + b < page.width)
            ctx->put_pixel(ctx->rows[y], static_cast<int32_t>(px + b), ctx->foreground);
}

void write_cells(GfxScreen* s, const DrawContext* ctx, const TextLayout* l, const uint8_t* chars, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        if (int64_t{l->x} + i > INT32_MAX) return;
        // Codes 128 to 255 are kept with the high byte set.
        auto character = static_cast<int16_t>(static_cast<int8_t>(chars[i]));
        if (TextCell* cell = text_cell(s, ctx->work_page, l->x + i, l->y))
            *cell = TextCell{character, ctx->foreground, ctx->background};
    }
}

struct CellWindow {
    int32_t left, top, right, bottom;
};

// The part of a window that lies on the grid; empty (left > right or
// top > bottom) when none does.
CellWindow clip_to_grid(const GfxScreen* s, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return {std::max(left, 0), std::max(top, 0), std::min(right, s->text_columns - 1),
            std::min(bottom, s->text_rows - 1)};
}

void scroll_pixels(const GfxScreen* s, PrintOwner* owner, CellWindow w, int32_t count) {
    const DrawContext* ctx = owner->ctx;
    const PixelOps* ops = gfx_pixel_ops(ctx->target_bytes_per_pixel);
    if (!ops) return;
    const PageExtent page = page_extent(s, ctx);
    const int64_t gw = s->font->width, gh = s->font->height;
    const int64_t first = w.top * gh, x0 = w.left * gw;
    const int64_t area = std::min((int64_t{w.bottom} + 1 - w.top) * gh, page.height - first);
    const int64_t width = std::min((int64_t{w.right} + 1 - w.left) * gw, page.width - x0);
    if (area <= 0 || width <= 0) return;
    const int64_t shift = std::min(int64_t{count} * gh, area);
    for (int64_t i = 0; i < area - shift; ++i)
        ops->copy(ctx->rows[first + i], ctx->rows[first + shift + i], static_cast<int32_t>(x0),
                  static_cast<int32_t>(width));
    for (int64_t i = area - shift; i < area; ++i)
        ctx->fill_run(ctx->rows[first + i], static_cast<int32_t>(x0), static_cast<int32_t>(width), ctx->background);
    widen_dirty(owner, first, first + area, page.height);
}

void fill_cell_rows(GfxScreen* s, const DrawContext* ctx, CellWindow w, int32_t from, int32_t to) {
    const TextCell blank{' ', ctx->foreground, ctx->background};
    for (int32_t row = from; row <= to; ++row)
        if (TextCell* cell = text_cell(s, ctx->work_page, w.left, row)) std::fill_n(cell, w.right - w.left + 1, blank);
}

void scroll_cells(GfxScreen* s, const DrawContext* ctx, CellWindow w, int32_t count) {
    const int32_t rows = w.bottom + 1 - w.top;
    if (rows <= count) {
        fill_cell_rows(s, ctx, w, w.top, w.bottom);
        return;
    }
    for (int32_t row = w.top; row + count <= w.bottom; ++row) {
        TextCell* to = text_cell(s, ctx->work_page, w.left, row);
        TextCell* from = text_cell(s, ctx->work_page, w.left, row + count);
        if (to && from) std::copy_n(from, w.right - w.left + 1, to);
    }
    fill_cell_rows(s, ctx, w, w.bottom - count + 1, w.bottom);
}

// Clears the whole work page and all of its cells.
void clear_page(GfxScreen* s, PrintOwner* owner) {
    const DrawContext* ctx = owner->ctx;
    const PageExtent page = page_extent(s, ctx);
    for (int64_t y = 0; y < page.height; ++y)
        ctx->fill_run(ctx->rows[y], 0, static_cast<int32_t>(page.width), ctx->background);
    widen_dirty(owner, 0, page.height, page.height);
    fill_cell_rows(s, ctx, CellWindow{0, 0, s->text_columns - 1, s->text_rows - 1}, 0, s->text_rows - 1);
}

}  // namespace

void gfx_print_buffer(const uint8_t* chars, int64_t count, int32_t mask) {
    if (!chars) count = 0;
    if (count > 0 || (mask & PRINT_RESOLVE_NEWLINE)) gfx_print(chars, count);
}

void gfx_print_wide_buffer(const uint16_t* chars, int64_t count, int32_t mask) {
    if (!g_gfx_screen) return;
    if (!chars || count <= 0) {
        gfx_print_buffer(nullptr, 0, mask);
        return;
    }
    // Held across the chunks so the display never shows a part of the text.
    gfx_lock();
    uint8_t chunk[TEXT_RUN_MAX];
    while (count > 0) {
        int32_t n = static_cast<int32_t>(std::min<int64_t>(count, TEXT_RUN_MAX));
        for (int32_t i = 0; i < n; ++i) chunk[i] = chars[i] > 255 ? '?' : static_cast<uint8_t>(chars[i]);
        gfx_print(chunk, n);
        chars += n;
        count -= n;
    }
    gfx_unlock(1, 0);
}

void gfx_print(const uint8_t* chars, int64_t count) {
    GfxScreen* s = g_gfx_screen;
    if (!s) return;
    PrintOwner owner{begin_text(), 0, 0};
    TextLayout l = text_window(s, &owner);
    bool pending = s->flags & SCREEN_FLAG_PENDING_NEWLINE;
    text_layout_print_call(&l, chars, count, &pending);
    s->flags = pending ? s->flags | SCREEN_FLAG_PENDING_NEWLINE : s->flags & ~SCREEN_FLAG_PENDING_NEWLINE;
    if (l.x >= 0) s->text_x = l.x;
    if (l.y >= 0) s->text_y = l.y;
    end_text(s, owner);
}

int32_t gfx_text_draw(TextLayout* layout, const uint8_t* chars, int32_t count) {
    GfxScreen* s = g_gfx_screen;
    PrintOwner* owner = owner_of(layout);
    if (!s || !owner || count <= 0) return 1;
    const DrawContext* ctx = owner->ctx;
    const FontDesc* font = s->font;
    const PageExtent page = page_extent(s, ctx);
    int64_t px = int64_t{layout->x} * font->width;
    const int64_t py = int64_t{layout->y} * font->height;
    if (count == 1 && chars[0] == 255) {
        draw_cursor_mark(ctx, font, px, py, page);
    } else {
        for (int32_t i = 0; i < count; ++i, px += font->width)
            if (px + font->width > 0 && px < page.width) draw_glyph(ctx, font, chars[i], px, py, page);
    }
    widen_dirty(owner, py, py + font->height, page.height);
    write_cells(s, ctx, layout, chars, count);
    return 1;
}

void gfx_text_scroll(TextLayout* layout, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t count) {
    GfxScreen* s = g_gfx_screen;
    PrintOwner* owner = owner_of(layout);
    if (s && owner && count > 0) {
        CellWindow w = clip_to_grid(s, left, top, right, bottom);
        if (w.left <= w.right && w.top <= w.bottom) {
            scroll_pixels(s, owner, w, count);
            scroll_cells(s, owner->ctx, w, count);
        }
    }
    layout->y = bottom;
}

void gfx_clear(int32_t what) {
    GfxScreen* s = g_gfx_screen;
    if (!s) return;
    PrintOwner owner{begin_text(), 0, 0};
    TextLayout l = text_window(s, &owner);
    s->flags &= ~SCREEN_FLAG_PENDING_NEWLINE;
    if (what == 0)
        clear_page(s, &owner);
    else if (l.bottom >= l.top)
        gfx_text_scroll(&l, l.left, l.top, l.right, l.bottom, l.bottom - l.top + 1);
    s->text_x = 0;
    s->text_y = l.top;
    channel_record(0)->column = 0;
    end_text(s, owner);
}
