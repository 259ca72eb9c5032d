#include "gfx/plot.h"

#include <cmath>

uint32_t gfx_convert_colour(uint32_t c, int32_t bytes_per_pixel) {
    switch (bytes_per_pixel) {
    case 1: return c & 0xFF;
    case 2: return ((c >> 8) & 0xF800) | ((c >> 5) & 0x07E0) | ((c & 0xFF) >> 3);
    default: return c;
    }
}

void gfx_fix_coords(DrawContext* ctx, int32_t coord_type, float* x1, float* y1, float* x2, float* y2) {
    if ((coord_type & 7) == COORD_POINT_RELATIVE) {
        *x1 += ctx->last_x;
        *y1 += ctx->last_y;
    }
    float last_x = *x1, last_y = *y1;
    if (x2 && y2) {
        last_x = *x2;
        last_y = *y2;
    }
    ctx->last_x = last_x;
    ctx->last_y = last_y;
}

namespace {

// Halves away from zero, in double precision. Values beyond the 32-bit
// range (and NaN) land far outside any view, where the clip drops them.
int32_t to_pixel(float v) {
    double d = v > 0 ? static_cast<double>(v) + 0.5 : static_cast<double>(v) - 0.5;
    d = std::trunc(d);
    if (!(d >= -1073741824.0 && d <= 1073741824.0)) return INT32_MIN / 2;
    return static_cast<int32_t>(d);
}

}  // namespace

void gfx_to_pixel(const DrawContext* ctx, float x, float y, int32_t* px, int32_t* py) {
    *px = to_pixel(x) + ctx->view_x;
    *py = to_pixel(y) + ctx->view_y;
}

void gfx_pset_on_screen(void* target, float x, float y, uint32_t colour, int32_t coord_type, int32_t preset) {
    GfxScreen* s = g_gfx_screen;
    if (!s) return;
    DrawContext* ctx = gfx_get_context();
    gfx_set_target(ctx, target);
    if (coord_type < 0)
        colour = preset ? ctx->background : ctx->foreground;
    else
        colour = gfx_convert_colour(colour, ctx->target_bytes_per_pixel);
    gfx_fix_coords(ctx, coord_type, &x, &y, nullptr, nullptr);
    int32_t px, py;
    gfx_to_pixel(ctx, x, y, &px, &py);
    if (px < ctx->view_x || px >= ctx->view_x + ctx->view_width || py < ctx->view_y ||
        py >= ctx->view_y + ctx->view_height)
        return;
    gfx_lock();
    ctx->put_pixel(ctx->rows[py], px, colour);
    if (s->visible_pixels == ctx->rows[0]) {
        s->dirty_rows[py] = 1;
        gfx_rows_changed();
    }
    gfx_unlock(1, 0);
}
