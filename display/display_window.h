#pragma once
#include <atomic>
#include <cstdint>

#include "display/converters.h"
#include "gfx/screen.h"

// The window machinery every window back-end shares: the process-wide
// window record, the display lock and the refresh thread that owns the
// window.
//
// Two threads meet here. The drawing thread (the program) draws into the
// screen's pages and takes keys from the key queue under gfx_lock, which
// is the display lock. The refresh thread owns the window: it holds the
// display lock for a whole pass (copy the dirty rows, refresh key states,
// drain the window's messages) and sleeps between passes.
//
// This header is the part all platforms share. How the lock, the thread
// and the window are made is the platform's (display/posix/,
// display/win32/), each of which keeps the rest of the record in a
// companion of its own.

// What a back-end supplies before display_window_init.
struct DisplayBackend {
    // On the refresh thread: creates the window (0) or fails (-1).
    int32_t (*window_init)();
    // Destroys what window_init made; safe after a failed window_init and
    // when called again.
    void (*window_exit)();
    // On the refresh thread: shows again what the last pass left.
    void (*paint)();
    // The refresh thread's main.
    void (*thread_main)();
    // On the refresh thread: keeps the pointer inside the client area (1)
    // or lets it go (0). May be empty.
    void (*confine_pointer)(int32_t on);
};

struct PaletteEntry {
    uint8_t red, green, blue, flags;
};

inline constexpr uint8_t PALETTE_NO_COLLAPSE = 4;

inline constexpr int32_t CLASS_NAME_SIZE = 28;

// The process-wide window record. Plain fields are touched under the
// display lock (or by the refresh thread alone where noted); the atomics
// are read outside it.
struct DisplayWindow {
    DisplayBackend backend;
    char title[128];
    char class_name[CLASS_NAME_SIZE];   // "zvgfxclass_" and the record's address
    int32_t width, height;              // client size in picture pixels
    int32_t depth;                      // at least 8
    int32_t flags;                      // request flags (SCREEN_...)
    int32_t refresh_rate;               // requested, 0 for any
    int32_t outer_width, outer_height;  // the window's size, frame included
    PaletteEntry palette[256];
    Converter converter;                   // null when the visible page is shown as it is
    int32_t active;                        // the window has the input focus
    std::atomic<int32_t> running;          // 1 from start until display_window_exit
    std::atomic<int32_t> palette_changed;  // set by window_set_palette
};

DisplayWindow& display_window();

// Empties the record and the platform's companion of it (the zero-fill a
// back-end's init starts with).
void display_window_clear();

// Stores the request in the record (title, class name, sizes, depth, at
// least 8, flags, refresh rate): the part of the start every platform
// shares.
void display_window_store(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                          int32_t flags);

// "zvgfxclass_" followed by the address, cut to 27 characters.
void display_class_name(char (&name)[CLASS_NAME_SIZE], const void* address);

// The start of a window of `size` pixels centred on an extent of the
// display starting at `origin`: the halving is an arithmetic shift, so a
// window larger than the display starts before its origin.
constexpr int32_t centred_start(int32_t origin, int32_t extent, int32_t size) {
    return origin + ((extent - size) >> 1);
}

// The window's top-left corner as window_set_pos reports it:
// top x 65536 + (left AND 0xFFFF).
constexpr int32_t packed_position(int32_t left, int32_t top) {
    return static_cast<int32_t>(static_cast<uint32_t>(top) << 16 | (static_cast<uint32_t>(left) & 0xFFFF));
}

// The frame wait for a display of `rate` Hz (1000 / rate milliseconds,
// integer division), 16 ms when the rate is unknown (0).
constexpr int32_t frame_wait_ms(int32_t rate) { return rate > 0 ? 1000 / rate : 16; }

// The rows of the screen's dirty flags a window shows: its height, within
// the flags the screen has.
inline int32_t window_rows(const GfxScreen& s) {
    const int32_t rows = s.height * s.line_repeat;
    return display_window().height < rows ? display_window().height : rows;
}

// The span of dirty rows among the first `rows` flags: false when none is
// set, else the first and the last set row.
bool dirty_span(const uint8_t* dirty_rows, int32_t rows, int32_t* first, int32_t* last);

// Starts the window: stores the request, starts the refresh thread running
// the back-end's thread main and waits until it reports the window made
// (0) or ends without one (-1). The caller has cleared the record and set
// the back-end operations. With SCREEN_OPENGL only the record is set up:
// the OpenGL back-end makes its window on the caller's thread. (Per
// platform.)
int32_t display_window_init(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                            int32_t flags);

// Stops the window: running = 0, gives up a screen lock the drawing thread
// holds, joins the refresh thread. Does nothing when not running. The exit
// slot of window drivers. (Per platform.)
void display_window_exit();

// Called once by the refresh thread's main: whether the window was made.
// On false the thread must end without a refresh loop. (Per platform.)
void display_window_started(bool made);

// Tells the refresh thread there is work for the window (rows marked, a
// palette change, a request, the end), waking it if it sleeps; from any
// thread. The screen calls it when rows were marked. (Per platform.)
void window_wake();

// The drawing thread paused after drawing: the refresh thread shows what
// it drew at once, even within the period after its last copy. (Per
// platform.)
void window_show_now();

// The display lock: the lock and unlock slots of window drivers. (Per
// platform.)
void window_lock();
void window_unlock();

// Runs `action` under the display lock, for the drawing thread: it may
// already hold the lock through gfx_lock, and the lock is taken only when
// it does not.
template <class F>
void with_display_lock(F action) {
    const GfxScreen* s = g_gfx_screen;
    const bool held = s && s->lock_count > 0;
    if (!held) window_lock();
    action();
    if (!held) window_unlock();
}

// Driver slots shared by window drivers; called on the drawing thread.
void window_set_palette(int32_t index, int32_t red, int32_t green, int32_t blue);
void window_wait_frame();
void window_set_title(const char* text);       // per platform
int32_t window_set_pos(int32_t x, int32_t y);  // per platform

inline constexpr int32_t WINDOW_POS_QUERY = static_cast<int32_t>(0x80000000u);

// The shortest time between two passes that copy rows: a growing plot
// reaches the window in steps of this.
inline constexpr int32_t REFRESH_PERIOD_MS = 10;
