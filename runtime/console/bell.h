#pragma once

// The audible bell (a 1000 Hz, 250 ms beep where the platform can). A
// display that can ring its own bell installs a handler while it is open;
// otherwise the terminal's bell rings.
void bell_ring();
void bell_set_handler(void (*handler)());
