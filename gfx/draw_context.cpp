#include <cstdlib>

#include "gfx/screen.h"
#include "runtime/context_slots.h"

namespace {

void release_rows(void* record) {
    auto* ctx = static_cast<DrawContext*>(record);
    std::free(ctx->rows);
    ctx->rows = nullptr;
}

void select_pixel_ops(DrawContext* ctx, int32_t bytes_per_pixel) {
    const PixelOps* ops = gfx_pixel_ops(bytes_per_pixel);
    ctx->put_pixel = ops->put;
    ctx->get_pixel = ops->get;
    ctx->fill_run = ops->fill;
}

// Sets the context up for a screen it has not seen yet.
void reset_for(DrawContext* ctx, const GfxScreen* s) {
    std::free(ctx->rows);
    *ctx = DrawContext{};
    ctx->screen_id = s->id;
    ctx->saved_view[2] = s->width;
    ctx->saved_view[3] = s->height;
    ctx->rows_capacity = s->height;
    ctx->rows = static_cast<uint8_t**>(std::calloc(static_cast<size_t>(s->height), sizeof(uint8_t*)));
    ctx->foreground = s->depth >= 5 && s->depth <= 8 ? 15 : s->colour_mask;
    ctx->background = s->colour_mask & 0xFF000000u;
    ctx->flags = DRAW_REATTACH;
    gfx_set_target(ctx, nullptr);
}

}  // namespace

DrawContext* gfx_get_context() {
    auto* ctx = static_cast<DrawContext*>(get_context_slot(SLOT_DRAW, sizeof(DrawContext)));
    context_slot_set_finaliser(SLOT_DRAW, release_rows);
    GfxScreen* s = g_gfx_screen;
    if (s && s->id != ctx->screen_id) reset_for(ctx, s);
    return ctx;
}

void gfx_set_target(DrawContext* ctx, void* target) {
    GfxScreen* s = g_gfx_screen;
    // Drawing into images is not offered; a target other than the screen
    // leaves the context as it is.
    if (target || !s || !(ctx->flags & (DRAW_REATTACH | DRAW_TARGET_IMAGE))) return;
    ctx->view_x = ctx->saved_view[0];
    ctx->view_y = ctx->saved_view[1];
    ctx->view_width = ctx->saved_view[2];
    ctx->view_height = ctx->saved_view[3];
    ctx->target_bytes_per_pixel = s->bytes_per_pixel;
    ctx->target_pitch = s->pitch;
    if (ctx->rows) {
        uint8_t* page = s->pages[ctx->work_page];
        for (int32_t i = 0; i < ctx->rows_capacity && i < s->height; ++i) ctx->rows[i] = page + i * s->pitch;
    }
    select_pixel_ops(ctx, s->bytes_per_pixel);
    ctx->flags &= ~(DRAW_REATTACH | DRAW_TARGET_IMAGE);
}
