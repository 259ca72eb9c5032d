#pragma once
#include <cstdint>

// Standard input as the console reads it: one buffer, the console's state
// block, shared by the redirected line input, the key poll of redirected
// input and files opened on the console, so none of them loses bytes to
// another.

// Reads up to `count` bytes, blocking; 0 at the end of input.
uint64_t console_stdin_read(void* buffer, uint64_t count);

// Without blocking: 1 and the byte when one is at hand, 0 when none is
// ready yet, -1 at the end of input.
int32_t console_stdin_poll_byte(uint8_t* byte);

// Sleeps until a byte or the end is at hand or `timeout_ms` passed
// (negative: no limit); it may return early.
void console_stdin_wait(int32_t timeout_ms);

// The state block (the console channel's stream), made on first use; null
// when memory is exhausted.
void* console_stdin_state();

// Frees the state block (at shutdown).
void console_stdin_release();
