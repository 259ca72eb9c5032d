#pragma once
#include <cstdint>

#include "runtime/channels.h"
#include "runtime/disk_driver.h"
#include "runtime/runtime_context.h"

// Writes `length` bytes on a channel: at the current position when
// position is 0, else at the 1-based byte (the record in Random mode).
//
// Inline, with the path the generator takes for each of its 458 752
// samples spelled out: an open disk channel, the current position, no
// record to pad. It does what file_write_at does there, without the calls.
inline ErrorCode file_put(int32_t channel, int64_t position, const void* data, uint64_t length) {
    if (channel >= 1 && channel <= CHANNEL_MAX && position == 0) {
        ChannelRecord& rec = runtime_context().channels[channel - 1];
        if (rec.driver == &disk_driver && rec.mode != MODE_RANDOM) {
            rec.putback_count = 0;
            return set_last_error(disk_write_bytes(&rec, data, length));
        }
    }
    return file_write_at(channel_record(channel), position, data, length, true, false, false);
}
