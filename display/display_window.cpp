#include "display/display_window.h"

#include <cstdio>
#include <memory>
#include <new>

#include "display/window_platform.h"
#include "gfx/screen.h"
#include "runtime/os.h"

namespace {

DisplayWindow g_window;

}  // namespace

DisplayWindow& display_window() { return g_window; }

void display_window_clear() {
    std::destroy_at(&g_window);
    new (&g_window) DisplayWindow{};
    window_platform_clear();
}

void display_class_name(char (&name)[CLASS_NAME_SIZE], const void* address) {
    std::snprintf(name, sizeof name, "zvgfxclass_%p", address);
}

void display_window_store(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                          int32_t flags) {
    DisplayWindow& w = g_window;
    std::snprintf(w.title, sizeof w.title, "%s", title ? title : "");
    display_class_name(w.class_name, &w);
    w.width = width;
    w.height = height;
    w.depth = depth < 8 ? 8 : depth;
    w.flags = flags;
    w.refresh_rate = refresh_rate;
}

bool dirty_span(const uint8_t* dirty_rows, int32_t rows, int32_t* first, int32_t* last) {
    int32_t top = 0;
    while (top < rows && !dirty_rows[top]) ++top;
    if (top == rows) return false;
    int32_t bottom = rows - 1;
    while (!dirty_rows[bottom]) --bottom;
    *first = top;
    *last = bottom;
    return true;
}

// Callers pass 0..255; the index is masked so that no other value can
// write outside the palette.
void window_set_palette(int32_t index, int32_t red, int32_t green, int32_t blue) {
    g_window.palette[index & 0xFF] = {static_cast<uint8_t>(red), static_cast<uint8_t>(green),
                                      static_cast<uint8_t>(blue), PALETTE_NO_COLLAPSE};
    g_window.palette_changed.store(1);
    window_wake();
}

// The rate is measured by the refresh thread at window creation, again
// after a full-screen switch: read under the display lock.
void window_wait_frame() {
    int32_t rate = 0;
    with_display_lock([&] {
        if (const GfxScreen* s = g_gfx_screen) rate = s->refresh_rate;
    });
    os_sleep_ms(frame_wait_ms(rate));
}
