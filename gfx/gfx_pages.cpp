#include "gfx/gfx_pages.h"

#include <cstring>

#include "gfx/screen.h"

namespace {

bool page_exists(const GfxScreen* s, int32_t page) { return page >= 0 && page < s->page_count; }

}  // namespace

// A display that presents a picture of its own (OpenGL: what the program
// drew) shows no page: a page copy presents that picture instead, then
// lets the window's events in.
int32_t gfx_copy_page(int32_t from, int32_t to) {
    GfxScreen* s = g_gfx_screen;
    if (s && s->driver && s->driver->flip) {
        s->driver->flip();
        if (s->driver->poll_events) s->driver->poll_events();
        return 0;
    }
    if (!s || !page_exists(s, from) || !page_exists(s, to)) return -1;
    gfx_lock();
    if (from != to) std::memcpy(s->pages[to], s->pages[from], static_cast<size_t>(s->pitch) * s->height);
    if (to == s->visible_page) gfx_mark_all_dirty();
    gfx_unlock(1, 0);
    return 0;
}

int32_t gfx_set_pages(int32_t work, int32_t visible) {
    GfxScreen* s = g_gfx_screen;
    if (!s || (work >= 0 && !page_exists(s, work)) || (visible >= 0 && !page_exists(s, visible))) return -1;
    DrawContext* ctx = gfx_get_context();
    gfx_lock();
    if (work >= 0 && work != ctx->work_page) {
        ctx->work_page = work;
        ctx->flags |= DRAW_REATTACH;
        gfx_set_target(ctx, nullptr);
    }
    if (visible >= 0 && visible != s->visible_page) {
        s->visible_page = visible;
        s->visible_pixels = s->pages[visible];
        gfx_mark_all_dirty();
    }
    gfx_unlock(1, 0);
    return 0;
}
