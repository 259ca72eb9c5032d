#pragma once

// Internals shared by the character console's key side, and what each
// console driver (textconsole/terminal/, textconsole/windows_console/)
// supplies to it.

// The console went away (end of redirected input, terminal hung up,
// console window closed): marks the console input ended and appends the
// window-close key once.
void text_console_closed();
void text_console_input_reset();

// Driver: moves whatever keys were typed into the key ring, without
// waiting. Only called while input is not redirected.
void text_console_read_typed_keys();

// Driver: sleeps until input may have come (typed keys, redirected bytes,
// a resize, a hang-up, a held-back byte's pause over) or `timeout_ms`
// passed (negative: no limit).
void text_console_wait_for_input(int32_t timeout_ms);

// Driver: bytes are held back that stand for a key once a pause has
// passed or more bytes came (a lone Escape).
bool text_console_keys_pending();

// Driver: forgets its state (used when the runtime starts).
void text_console_driver_reset();
