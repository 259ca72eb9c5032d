#pragma once
#include <cstdint>

#include "runtime/channels.h"

// Channel 0, the console: prepared on first use by the line input.
extern const ChannelDriver console_driver;

// Sets up the console record when it is not yet open.
ChannelRecord* console_channel_prepare();

// Releases the console state attached to the console record (at shutdown).
void console_channel_release();
