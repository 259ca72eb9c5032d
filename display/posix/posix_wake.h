#pragma once

// The refresh thread's wake-up: a pipe it polls beside its display
// connection, so that it sleeps until there is work. Whoever has work for
// the window (rows marked, a palette change, a request, a bell, the end)
// calls window_wake; the pipe is written only after the refresh thread has
// armed it on its way to sleep, so a drawing loop pays one atomic load per
// screen unlock.

// By the window's start, before the refresh thread, and its end, after
// it; false when no pipe can be had (the thread then wakes every period
// instead).
bool posix_wake_open();
void posix_wake_close();
int posix_wake_fd();  // -1 when there is none

// Under the display lock, at the end of a pass: the next window_wake writes.
void posix_wake_arm();

// At the start of a pass: what woke the thread is read away.
void posix_wake_drain();

// Whether window_show_now asked for a pass at once; the asking is cleared.
bool posix_wake_take_show_now();
