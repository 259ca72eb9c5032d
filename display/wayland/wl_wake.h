#pragma once
// The refresh thread's wake-up: a descriptor it polls beside the
// compositor's connection, poked by the drawing thread when there is
// something to show. At most one poke per pass: the drawing thread pokes
// only when none is outstanding since the refresh thread's last pass.

// Made by the driver's init before the refresh thread starts, closed by its
// exit after the thread ended.
bool wl_wake_open();
void wl_wake_close();
int wl_wake_fd();

// Drawing thread: pokes the refresh thread unless a poke is outstanding.
void wl_wake();
// Refresh thread, under the display lock at the start of a pass: the next
// change pokes again.
void wl_wake_rearm();
// Refresh thread: takes the poke out of the descriptor.
void wl_wake_drain();

// Drawing thread, before the driver's exit joins the refresh thread: asks
// it to end and pokes it, so that it does not sleep on.
void wl_wake_stop();
bool wl_wake_stopping();
