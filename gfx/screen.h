#pragma once
#include <cstdint>

#include "gfx/builtin_data.h"
#include "runtime/error.h"

struct OsLock;

// Request flags of a mode set.
inline constexpr int32_t SCREEN_FULLSCREEN = 0x01;
inline constexpr int32_t SCREEN_OPENGL = 0x02;
inline constexpr int32_t SCREEN_NO_SWITCH = 0x04;
inline constexpr int32_t SCREEN_NO_FRAME = 0x08;
inline constexpr int32_t SCREEN_SHAPED = 0x10;
inline constexpr int32_t SCREEN_ALWAYS_ON_TOP = 0x20;
inline constexpr int32_t SCREEN_ALPHA_BLEND = 0x40;
inline constexpr int32_t SCREEN_HIGH_PRIORITY = 0x80;
inline constexpr int32_t SCREEN_NULL = -1;  // in-memory screen
inline constexpr int32_t SCREEN_CLOSE_MARKER = static_cast<int32_t>(0x80000000u);

// Bits of GfxScreen::flags.
inline constexpr uint32_t SCREEN_FLAG_ALPHA = 0x8;
inline constexpr uint32_t SCREEN_FLAG_PENDING_NEWLINE = 0x4;
inline constexpr uint32_t SCREEN_FLAG_HIGH_PRIORITY = 0x20;
inline constexpr uint32_t SCREEN_FLAG_OPENGL = 0x20000000;

inline constexpr int32_t KEY_STATE_COUNT = 128;
inline constexpr int32_t EVENT_QUEUE_SIZE = 128;
inline constexpr int32_t PALETTE_SIZE = 256;

struct GfxEvent {
    int32_t type;
    int32_t a, b, c, d;
};

struct TextCell {
    int16_t character;  // the byte, sign-extended
    uint32_t foreground;
    uint32_t background;
};

// A display driver: its name and operations in slot order. An empty slot
// is an operation the driver lacks.
struct GfxDriver {
    const char* name;
    int32_t (*init)(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                    int32_t flags);
    void (*exit)();
    void (*lock)();
    void (*unlock)();
    void (*set_palette)(int32_t index, int32_t red, int32_t green, int32_t blue);
    void (*wait_vsync)();
    int32_t (*get_mouse)(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip);
    void (*set_mouse)(int32_t x, int32_t y, int32_t cursor, int32_t clip);
    void (*set_window_title)(const char* text);
    int32_t (*set_window_pos)(int32_t x, int32_t y);
    int32_t* (*fetch_modes)(int32_t depth, int32_t* count);
    void (*flip)();
    void (*poll_events)();
    void* reserved[2];
};

// The current graphics screen; one at a time.
struct GfxScreen {
    uint32_t id;
    int32_t mode_number;
    uint8_t** pages;
    int32_t page_count;
    int32_t visible_page;
    uint8_t* visible_pixels;
    int32_t width, height;
    int32_t depth;
    int32_t bytes_per_pixel;
    int32_t pitch;
    uint32_t* mode_palette;    // 256 entries, 0x00BBGGRR
    uint32_t* device_palette;  // 256 entries, 0x00BBGGRR, the colours shown
    uint8_t* colour_map;       // 16 bytes
    uint8_t* dirty_rows;       // height * line_repeat bytes
    const GfxDriver* driver;
    uint32_t colour_mask;
    const PaletteDesc* palette_desc;
    int32_t line_repeat;
    int32_t text_x, text_y;  // text cursor, 0-based
    const FontDesc* font;
    int32_t text_columns, text_rows;
    float aspect;
    uint8_t* key_states;  // 128 bytes, one per scan code
    int32_t refresh_rate;
    TextCell** text_pages;
    GfxEvent* events;
    int32_t event_head, event_tail;
    OsLock* event_lock;
    uint32_t flags;
    int32_t lock_count;
};

// Pixel routines for one target depth.
struct PixelOps {
    void (*put)(uint8_t* row, int32_t x, uint32_t colour);
    uint32_t (*get)(const uint8_t* row, int32_t x);
    void (*fill)(uint8_t* row, int32_t x, int32_t n, uint32_t colour);
    void (*copy)(uint8_t* dst_row, const uint8_t* src_row, int32_t x, int32_t n);
};

inline constexpr uint32_t DRAW_REATTACH = 0x1;
inline constexpr uint32_t DRAW_TARGET_IMAGE = 0x2;

// The drawing state (context slot 4).
struct DrawContext {
    uint32_t screen_id;
    int32_t work_page;
    uint8_t** rows;
    int32_t rows_capacity;
    int32_t target_bytes_per_pixel;
    int32_t target_pitch;
    void* target;
    float last_x, last_y;
    int32_t view_x, view_y, view_width, view_height;
    int32_t saved_view[4];
    float window_x, window_y, window_width, window_height;
    uint32_t foreground, background;
    void (*put_pixel)(uint8_t* row, int32_t x, uint32_t colour);
    uint32_t (*get_pixel)(const uint8_t* row, int32_t x);
    void (*fill_run)(uint8_t* row, int32_t x, int32_t n, uint32_t colour);
    uint32_t flags;
};

// The process-wide screen pointer; null when no screen is open.
extern GfxScreen* g_gfx_screen;

// The 2048-byte colour conversion table owned by the mode set (512 entries).
extern uint32_t* g_conversion_table;

ErrorCode gfx_screen_res(int32_t width, int32_t height, int32_t depth, int32_t pages, int32_t flags,
                         int32_t refresh_rate);
ErrorCode gfx_set_mode(int32_t mode_number, int32_t width, int32_t height, int32_t depth, int32_t line_repeat,
                       int32_t pages, int32_t refresh_rate, int32_t palette_index, int32_t font_index, int32_t flags,
                       float aspect, int32_t text_columns, int32_t text_rows);
void gfx_screen_close();
void gfx_lock();
void gfx_unlock(int32_t first_row, int32_t last_row);

// Rows of the visible page were marked for the display. Whoever marks them
// on the drawing thread says so here; the display hears of it once, when
// the outermost screen lock is given up (so a display that waits for work
// wakes once per drawing, not once per pixel). Read and written under the
// screen lock.
extern bool g_gfx_rows_changed;
inline void gfx_rows_changed() { g_gfx_rows_changed = true; }

// The display's ears (null for none), called on the drawing thread outside
// the screen lock: `marked` when rows were marked, `paused` when the
// drawing thread is about to sleep after marking some (it waits for a key):
// what it drew should be shown now, not at the display's next period.
void gfx_set_change_listener(void (*marked)(), void (*paused)());

// The drawing thread is about to wait; tells the display when rows were
// marked since the last time.
void gfx_drawing_paused();
DrawContext* gfx_get_context();
void gfx_set_target(DrawContext* ctx, void* target);
const PixelOps* gfx_pixel_ops(int32_t bytes_per_pixel);
void gfx_mark_all_dirty();
