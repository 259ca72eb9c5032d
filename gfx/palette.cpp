#include "gfx/palette.h"

#include "gfx/screen.h"

void gfx_palette_reset() {
    GfxScreen* s = g_gfx_screen;
    if (!s || s->depth > 8 || !s->palette_desc) return;
    gfx_lock();
    const PaletteDesc* desc = s->palette_desc;
    int32_t shown = 1 << s->depth;
    for (int32_t i = 0; i < desc->count && i < PALETTE_SIZE; ++i) {
        const uint8_t* rgb = desc->rgb + 3 * i;
        uint32_t colour = rgb[0] | rgb[1] << 8 | uint32_t{rgb[2]} << 16;
        s->mode_palette[i] = colour;
        if (i < shown) {
            s->device_palette[i] = colour;
            if (s->driver && s->driver->set_palette) s->driver->set_palette(i, rgb[0], rgb[1], rgb[2]);
        }
    }
    gfx_mark_all_dirty();
    gfx_unlock(1, 0);
}

void gfx_palette_set(int32_t index, uint32_t colour) {
    GfxScreen* s = g_gfx_screen;
    if (!s || index < 0 || index >= PALETTE_SIZE) return;
    gfx_lock();
    s->device_palette[index] = colour & 0xFFFFFF;
    if (s->driver && s->driver->set_palette)
        s->driver->set_palette(index, colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    gfx_mark_all_dirty();
    gfx_unlock(1, 0);
}
