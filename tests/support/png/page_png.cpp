#include "page_png.h"

#include <png.h>

#include <cstdint>
#include <vector>

#include "gfx/screen.h"

bool save_visible_page_png(const char* path) {
    const GfxScreen* s = g_gfx_screen;
    if (!s || s->bytes_per_pixel != 1 || !s->visible_pixels || !s->device_palette) return false;
    std::vector<uint8_t> colours(3 * PALETTE_SIZE);
    for (int i = 0; i < PALETTE_SIZE; ++i) {
        uint32_t c = s->device_palette[i];  // 0x00BBGGRR
        colours[3 * i] = static_cast<uint8_t>(c);
        colours[3 * i + 1] = static_cast<uint8_t>(c >> 8);
        colours[3 * i + 2] = static_cast<uint8_t>(c >> 16);
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(s->width);
    image.height = static_cast<png_uint_32>(s->height);
    image.format = PNG_FORMAT_RGB_COLORMAP;
    image.colormap_entries = PALETTE_SIZE;
    int ok = png_image_write_to_file(&image, path, 0, s->visible_pixels, s->pitch, colours.data());
    png_image_free(&image);
    return ok != 0;
}
