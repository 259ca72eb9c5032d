#pragma once
#include "runtime/channels.h"

// The channel driver of ordinary files, on buffered C streams.
extern const ChannelDriver disk_driver;

// Opens `name` for the record's mode and access (the record is prepared by
// file_open) and stores the stream; see the open fallbacks in the source.
ErrorCode disk_open(ChannelRecord* rec, const char* name);

inline constexpr int DISK_BUFFER_SIZE = 8192;
