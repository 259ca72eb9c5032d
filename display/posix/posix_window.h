#pragma once
#include <atomic>
#include <cstdint>

// The POSIX half of the window record. The refresh thread is the only
// thread that talks to the windowing system, so whatever the drawing
// thread wants done to the window (title, position, pointer) is recorded
// here under the display lock and carried out by the refresh thread on its
// next pass.

// Window changes the drawing thread asks for; the refresh thread carries
// them out and clears them.
struct WindowRequests {
    bool title;
    bool move;
    int32_t move_x, move_y;
    bool warp;  // pointer to (warp_x, warp_y), client pixels
    int32_t warp_x, warp_y;
    bool cursor;  // cursor shown/hidden changed
    bool clip;    // mouse clip changed
};

struct PosixWindow {
    WindowRequests requests;
    int32_t window_x, window_y;  // top-left of the window on the screen, as last seen
    std::atomic<int32_t> bells;  // rings asked for, not yet rung
};

PosixWindow& posix_window();
