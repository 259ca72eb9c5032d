#pragma once
#include <atomic>
#include <cstdint>

#include "display/converters.h"

// The window machinery every window back-end shares: the process-wide
// window record, the display lock and the refresh thread that owns the
// window.
//
// Two threads meet here. The drawing thread (the program) draws into the
// screen's pages and takes keys from the key queue under gfx_lock, which
// is the display lock. The refresh thread owns the window and the whole
// connection to the windowing system: it holds the display lock for a
// whole pass (copy the dirty rows, carry out requests, refresh key states,
// drain window events) and sleeps between passes. Whatever the drawing
// thread wants done to the window (title, position, mouse) is recorded
// here under the display lock and carried out by the refresh thread.

// What a back-end supplies before display_window_init.
struct DisplayBackend {
    // On the refresh thread: creates the window (0) or fails (-1).
    int32_t (*window_init)();
    // On the refresh thread: destroys what window_init made; safe after a
    // failed window_init.
    void (*window_exit)();
    // On the refresh thread: shows again what the last pass left.
    void (*paint)();
    // The refresh thread: window init, display_window_started, the refresh
    // loop, window exit.
    void (*thread_main)();
    // On the refresh thread: keeps the pointer inside the client area (1)
    // or lets it go (0). May be empty.
    void (*confine_pointer)(int32_t on);
};

struct PaletteEntry {
    uint8_t red, green, blue, flags;
};

inline constexpr uint8_t PALETTE_NO_COLLAPSE = 4;

// Window changes the drawing thread asks for; the refresh thread carries
// them out on its next pass and clears them.
struct WindowRequests {
    bool title;
    bool move;
    int32_t move_x, move_y;
    bool warp;  // pointer to (warp_x, warp_y), client pixels
    int32_t warp_x, warp_y;
    bool cursor;  // cursor shown/hidden changed
    bool clip;    // mouse clip changed
};

// The process-wide window record. Plain fields are touched under the
// display lock (or by the refresh thread alone where noted); the atomics
// are read outside it.
struct DisplayWindow {
    DisplayBackend backend;
    char title[128];
    char class_name[28];  // "zvgfxclass_" and the record's address
    int32_t width, height;  // client size in picture pixels
    int32_t depth;          // at least 8
    int32_t flags;          // request flags (SCREEN_...)
    int32_t refresh_rate;   // requested, 0 for any
    int32_t outer_width, outer_height;
    int32_t window_x, window_y;  // top-left of the window on the screen, as last seen
    PaletteEntry palette[256];
    Converter converter;
    int32_t active;  // the window has the input focus
    WindowRequests requests;
    std::atomic<int32_t> running;          // 1 from start until display_window_exit
    std::atomic<int32_t> palette_changed;  // set by window_set_palette
    std::atomic<int32_t> bells;            // rings asked for, not yet rung
};

DisplayWindow& display_window();

// Empties the record (the zero-fill a back-end's init starts with).
void display_window_clear();

// Starts the window: stores the request, starts the refresh thread running
// the back-end's thread main and waits until it reports the window made
// (0) or ends without one (-1). The caller has cleared the record and set
// the back-end operations. With SCREEN_OPENGL only the record is set up:
// the OpenGL back-end makes its window on the caller's thread.
int32_t display_window_init(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                            int32_t flags);

// Stops the window: running = 0, gives up a screen lock the drawing thread
// holds, joins the refresh thread. Does nothing when not running. The exit
// slot of window drivers.
void display_window_exit();

// Called once by the refresh thread's main: whether the window was made.
// On false the thread must end without a refresh loop.
void display_window_started(bool made);

// The display lock: the lock and unlock slots of window drivers.
void window_lock();
void window_unlock();

// Driver slots shared by window drivers; called on the drawing thread.
void window_set_palette(int32_t index, int32_t red, int32_t green, int32_t blue);
void window_wait_frame();
void window_set_title(const char* text);
int32_t window_set_pos(int32_t x, int32_t y);

// The refresh thread's pause between passes when the back-end has no
// event-driven wait of its own.
inline constexpr int32_t REFRESH_PERIOD_MS = 10;
