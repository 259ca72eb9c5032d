#include "gfx/screen.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "gfx/drivers.h"
#include "gfx/graphics_hooks.h"
#include "gfx/palette.h"
#include "gfx/text_cells.h"
#include "runtime/channels.h"
#include "runtime/console/console.h"
#include "runtime/console/print_area.h"
#include "runtime/console_hooks.h"
#include "runtime/os.h"
#include "runtime/runtime_context.h"

GfxScreen* g_gfx_screen = nullptr;
bool g_gfx_rows_changed;

namespace {

void (*g_marked_listener)();
void (*g_paused_listener)();
bool g_unshown;  // rows marked since the drawing thread last paused; its own

}  // namespace
uint32_t* g_conversion_table = nullptr;

namespace {

uint32_t g_next_screen_id = 1;
bool g_exit_hook_registered = false;
char g_title[128];

// Pages are 16-byte aligned inside their allocation; the allocation's
// address sits in the 8 bytes before the start so the page can be freed.
// They come zeroed: large blocks then arrive as untouched zero pages, and
// a screen whose background is 0 costs nothing to clear.
uint8_t* page_alloc(size_t size) {
    void* block = std::calloc(1, size + 22);
    if (!block) return nullptr;
    auto start = (reinterpret_cast<uintptr_t>(block) + 22) & ~uintptr_t{15};
    std::memcpy(reinterpret_cast<void*>(start - 8), &block, sizeof block);
    return reinterpret_cast<uint8_t*>(start);
}

void page_free(uint8_t* page) {
    if (!page) return;
    void* block;
    std::memcpy(&block, page - 8, sizeof block);
    std::free(block);
}

void screen_free(GfxScreen* s) {
    text_cells_free(s);
    for (int32_t i = 0; s->pages && i < s->page_count; ++i) page_free(s->pages[i]);
    std::free(s->pages);
    std::free(s->mode_palette);
    std::free(s->device_palette);
    std::free(s->colour_map);
    std::free(s->dirty_rows);
    std::free(s->key_states);
    std::free(s->events);
    os_lock_destroy(s->event_lock);
    delete s;
}

void take_down_screen() {
    GfxScreen* s = g_gfx_screen;
    if (!s) return;
    if (s->driver && s->driver->exit) s->driver->exit();
    g_gfx_screen = nullptr;
    screen_free(s);
}

// The window title: the program's file name without directory and
// extension, found once.
const char* window_title() {
    if (g_title[0]) return g_title;
    char path[128] = {};
    if (os_program_path(path, sizeof path) == 0) return std::strcpy(g_title, "wavetable");
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\') name = p + 1;
    std::snprintf(g_title, sizeof g_title, "%s", name);
    if (char* dot = std::strrchr(g_title, '.')) *dot = 0;
    if (!g_title[0]) std::strcpy(g_title, "wavetable");
    return g_title;
}

void normalise_depth(GfxScreen* s) {
    if (s->depth == 24 || s->depth == 32) {
        s->depth = 32;
        s->bytes_per_pixel = 4;
        s->colour_mask = 0xFFFFFFFFu;
    } else if (s->depth == 15 || s->depth == 16) {
        s->depth = 16;
        s->bytes_per_pixel = 2;
        s->colour_mask = 0xFFFF;
    } else {
        s->bytes_per_pixel = (s->depth + 7) / 8;
        s->colour_mask = (1u << s->depth) - 1;
    }
    s->pitch = s->width * s->bytes_per_pixel;
}

// Pages are cleared as soon as they exist, before any display can show
// them, to the background colour a fresh drawing context will have.
bool alloc_pages(GfxScreen* s, int32_t pages) {
    size_t page_size = static_cast<size_t>(s->pitch) * static_cast<size_t>(s->height);
    s->pages = static_cast<uint8_t**>(std::calloc(static_cast<size_t>(pages), sizeof(uint8_t*)));
    if (!s->pages) return false;
    s->page_count = pages;
    const PixelOps* ops = gfx_pixel_ops(s->bytes_per_pixel);
    uint32_t background = s->colour_mask & 0xFF000000u;
    for (int32_t i = 0; i < pages; ++i) {
        s->pages[i] = page_alloc(page_size);
        if (!s->pages[i]) return false;
        if (background == 0) continue;
        for (int32_t y = 0; y < s->height; ++y) ops->fill(s->pages[i] + int64_t{y} * s->pitch, 0, s->width, background);
    }
    s->visible_page = 0;
    s->visible_pixels = s->pages[0];
    return true;
}

bool alloc_tables(GfxScreen* s) {
    size_t rows = static_cast<size_t>(s->height) * static_cast<size_t>(s->line_repeat);
    s->dirty_rows = static_cast<uint8_t*>(std::calloc(rows, 1));
    s->mode_palette = static_cast<uint32_t*>(std::calloc(PALETTE_SIZE, sizeof(uint32_t)));
    s->device_palette = static_cast<uint32_t*>(std::calloc(PALETTE_SIZE, sizeof(uint32_t)));
    s->key_states = static_cast<uint8_t*>(std::calloc(KEY_STATE_COUNT, 1));
    s->colour_map = static_cast<uint8_t*>(std::malloc(16));
    s->events = static_cast<GfxEvent*>(std::malloc(EVENT_QUEUE_SIZE * sizeof(GfxEvent)));
    g_conversion_table = static_cast<uint32_t*>(std::malloc(2048));
    s->event_lock = os_lock_create();
    return s->dirty_rows && s->mode_palette && s->device_palette && s->key_states && s->colour_map && s->events &&
           g_conversion_table && s->event_lock;
}

uint32_t screen_flags_for(int32_t flags) {
    if (flags == SCREEN_NULL) return 0;
    uint32_t result = 0;
    if (flags & SCREEN_ALPHA_BLEND) result |= SCREEN_FLAG_ALPHA;
    if (flags & SCREEN_OPENGL) result |= SCREEN_FLAG_OPENGL;
    if (flags & SCREEN_HIGH_PRIORITY) result |= SCREEN_FLAG_HIGH_PRIORITY;
    return result;
}

// Screens beyond 1 GiB of pages are refused before anything is allocated:
// the pages are cleared at once, and an over-committed allocation would
// bring the process down there instead of failing.
constexpr int64_t MAX_SCREEN_BYTES = int64_t{1} << 30;

bool size_fits(int32_t width, int32_t height, int32_t depth, int32_t pages) {
    int64_t bytes = depth > 16 ? 4 : depth > 8 ? 2 : 1;
    int64_t page = int64_t{width} * bytes * height;
    return page <= MAX_SCREEN_BYTES && int64_t{pages} * page <= MAX_SCREEN_BYTES;
}

void close_screen_hook(int32_t) { gfx_screen_close(); }

void after_mode_set(int32_t flags) {
    ChannelRecord* console = channel_record(0);
    if (console->driver) {
        int32_t column = 0, row = 0, columns = 0, rows = 0;
        console_hooks().cursor_position(&column, &row);
        console_hooks().text_size(&columns, &rows);
        console->column = column - 1;
        console->width = columns;
    }
    if (!g_exit_hook_registered) {
        g_exit_hook_registered = true;
        runtime_context().exit_hook = close_screen_hook;
    }
    if (flags != SCREEN_CLOSE_MARKER) {
        view_print(0, 0);
        console_hooks().locate(1, 1, -1);
    }
}

ErrorCode close_mode(int32_t flags) {
    gfx_console_hooks_empty();
    print_area_unset();
    if (flags != SCREEN_CLOSE_MARKER) view_print(0, 0);
    return set_last_error(ERR_NONE);
}

// A mode set that fails after the checks leaves no screen and no hooks.
ErrorCode fail_mode_set() {
    gfx_screen_close();
    gfx_console_hooks_empty();
    return set_last_error(ERR_INVALID_CALL);
}

}  // namespace

ErrorCode gfx_set_mode(int32_t mode_number, int32_t width, int32_t height, int32_t depth, int32_t line_repeat,
                       int32_t pages, int32_t refresh_rate, int32_t palette_index, int32_t font_index, int32_t flags,
                       float aspect, int32_t text_columns, int32_t text_rows) {
    if (flags >= 0 && (flags & SCREEN_SHAPED)) flags |= SCREEN_SHAPED | SCREEN_NO_SWITCH | SCREEN_NO_FRAME;
    take_down_screen();
    std::free(g_conversion_table);
    g_conversion_table = nullptr;
    if (mode_number == 0 || width == 0) return close_mode(flags);

    gfx_console_hooks_fill();
    auto* s = new (std::nothrow) GfxScreen{};
    if (!s) return fail_mode_set();
    g_gfx_screen = s;
    s->id = g_next_screen_id++;
    s->mode_number = mode_number;
    s->width = width;
    s->height = height;
    s->depth = flags >= 0 && (flags & SCREEN_OPENGL) && depth < 16 ? 16 : depth;
    s->line_repeat = line_repeat > 0 ? line_repeat : 1;
    s->aspect = aspect != 0.0f ? aspect : static_cast<float>(height) / static_cast<float>(width) * 4.0f / 3.0f;
    normalise_depth(s);
    if (!alloc_pages(s, pages > 0 ? pages : 1) || !alloc_tables(s)) return fail_mode_set();
    s->flags = screen_flags_for(flags);

    const GfxDriver* driver = gfx_choose_driver(gfx_window_drivers(), window_title(), width, height * s->line_repeat,
                                                s->depth, refresh_rate, flags);
    if (!driver) return fail_mode_set();
    s->driver = driver;
    // The fonts and palettes are expanded once a driver has accepted: no
    // driver reads them, and a mode set that finds none (a run without a
    // display) then doesn't pay for them.
    if (!gfx_builtin_expand()) return fail_mode_set();
    s->palette_desc = gfx_builtin_palette(palette_index);
    s->font = gfx_builtin_font(font_index);
    if (!s->palette_desc || !s->font) return fail_mode_set();
    gfx_palette_reset();
    s->text_columns = text_columns;
    s->text_rows = text_rows;
    DrawContext* ctx = gfx_get_context();
    if (!ctx->rows || !text_cells_alloc(s, ctx)) return fail_mode_set();
    after_mode_set(flags);
    return set_last_error(ERR_NONE);
}

ErrorCode gfx_screen_res(int32_t width, int32_t height, int32_t depth, int32_t pages, int32_t flags,
                         int32_t refresh_rate) {
    static constexpr int32_t DEPTHS[] = {1, 2, 4, 8, 15, 16, 24, 32};
    bool depth_ok = false;
    for (int32_t d : DEPTHS) depth_ok = depth_ok || d == depth;
    if (pages < 1) pages = 1;
    if (width < 1 || height < 1 || !depth_ok || !size_fits(width, height, depth, pages))
        return set_last_error(ERR_INVALID_CALL);
    ErrorCode result =
        gfx_set_mode(-1, width, height, depth, 1, pages, refresh_rate, 3, 0, flags, 1.0f, width / 8, height / 8);
    if (result == ERR_NONE) channel_record(0)->column = 0;
    return result;
}

void gfx_screen_close() {
    if (g_gfx_screen) gfx_set_mode(0, 0, 0, 0, 0, 1, 0, 0, 0, SCREEN_CLOSE_MARKER, 0.0f, 0, 0);
}

void gfx_lock() {
    GfxScreen* s = g_gfx_screen;
    if (!s) return;
    if (s->lock_count == 0 && s->driver && s->driver->lock) s->driver->lock();
    ++s->lock_count;
}

void gfx_unlock(int32_t first_row, int32_t last_row) {
    GfxScreen* s = g_gfx_screen;
    if (!s) return;
    if (first_row < 0) first_row = 0;
    if (last_row < 0) last_row = s->height - 1;
    if (first_row <= last_row && last_row < s->height && s->visible_page == gfx_get_context()->work_page) {
        std::memset(s->dirty_rows + first_row, 1, static_cast<size_t>(last_row - first_row + 1));
        gfx_rows_changed();
    }
    if (s->lock_count > 0 && --s->lock_count == 0) {
        const bool changed = g_gfx_rows_changed;  // read while the lock is still held
        g_gfx_rows_changed = false;
        if (s->driver && s->driver->unlock) s->driver->unlock();
        if (changed) {
            g_unshown = true;
            if (g_marked_listener) g_marked_listener();
        }
    }
}

void gfx_mark_all_dirty() {
    GfxScreen* s = g_gfx_screen;
    if (!s) return;
    std::memset(s->dirty_rows, 1, static_cast<size_t>(s->height) * static_cast<size_t>(s->line_repeat));
    gfx_rows_changed();
}

void gfx_set_change_listener(void (*marked)(), void (*paused)()) {
    g_marked_listener = marked;
    g_paused_listener = paused;
}

void gfx_drawing_paused() {
    if (!g_unshown) return;
    g_unshown = false;
    if (g_paused_listener) g_paused_listener();
}
