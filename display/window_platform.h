#pragma once
#include <cstdint>

// What the shared window code asks of the platform's window machinery
// (display/posix/, display/win32/). Unless noted, called on the refresh
// thread inside a pass.

// Empties the platform's companion of the window record (with
// display_window_clear).
void window_platform_clear();

// Arms (true) or drops (false) the notice that the pointer left the
// client area, where the platform has to ask for one.
void window_platform_leave_notice(bool arm);

// A full-screen switch is about to re-create the window: the platform
// notes the monitor the window is on now.
void window_platform_before_switch();

// After window_set_mouse changed the mouse state (drawing thread, under
// the display lock): the pointer goes to (x, y) in client pixels, the
// cursor is shown or hidden as the mouse state says, the pointer is
// confined to the client area or let go as the mouse state says.
void window_platform_place_pointer(int32_t x, int32_t y);
void window_platform_cursor_changed();
void window_platform_clip_changed();
