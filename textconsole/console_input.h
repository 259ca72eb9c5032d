#pragma once

// Internals shared by the character console's key side.

// The console went away (end of redirected input, terminal hung up): marks
// the console input ended and appends the window-close key once.
void text_console_closed();
void text_console_input_reset();

// Moves whatever the terminal has sent into the key ring, without waiting.
void terminal_read_keys();
void terminal_keys_reset();

// Makes the console's idea of the cursor match the terminal: after a start
// or a resize, asks the terminal where its cursor is.
void terminal_sync_cursor();
