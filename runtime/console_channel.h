#pragma once
#include <cstdint>

#include "runtime/channels.h"

// Channel 0, the console: prepared on first use by the line input.
extern const ChannelDriver console_driver;

// Sets up the console record when it is not yet open.
ChannelRecord* console_channel_prepare();

// Releases the console state attached to the console record (at shutdown).
void console_channel_release();

// Standard input as the console reads it: one buffer shared by the
// redirected line input and the key poll, so neither loses bytes.
// Reads up to `count` bytes, blocking; 0 at the end of input.
uint64_t console_stdin_read(void* buffer, uint64_t count);
// Without blocking: 1 and the byte when one is at hand, 0 when none is
// ready yet, -1 at the end of input.
int32_t console_stdin_poll_byte(uint8_t* byte);
