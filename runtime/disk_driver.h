#pragma once
#include <cstddef>
#include <cstdio>

#include "runtime/channels.h"
#include "stream_io.h"  // runtime/<os>/: the unlocked stream calls

inline constexpr int DISK_BUFFER_SIZE = 8192;

// The stream of a disk channel: the C stream and the buffer it was given.
// (The C library takes a buffer size only together with a buffer.)
struct DiskStream {
    FILE* file;
    char buffer[DISK_BUFFER_SIZE];
};

// The channel driver of ordinary files, on buffered C streams.
extern const ChannelDriver disk_driver;

// Opens `name` for the record's mode and access (the record is prepared by
// file_open) and stores the stream; see the open fallbacks in the source.
ErrorCode disk_open(ChannelRecord* rec, const char* name);

// Notes why a write of the channel failed (its fault, see file_fault);
// ERR_IO.
ErrorCode disk_write_failed(ChannelRecord* rec);

// The write of the disk driver. Short writes go through the stream's
// buffer a byte at a time: the generator's two-byte samples then cost a
// few stores each instead of a library call.
inline ErrorCode disk_write_bytes(ChannelRecord* rec, const void* buffer, uint64_t length) {
    auto* stream = static_cast<DiskStream*>(rec->stream);
    if (!stream) return ERR_INVALID_CALL;
    auto* bytes = static_cast<const unsigned char*>(buffer);
    FILE* f = stream->file;
    if (length <= 8) {
        if (stream_put_small(f, bytes, length)) return ERR_NONE;
        for (uint64_t i = 0; i < length; ++i)
            if (stream_putc(bytes[i], f) == EOF) return disk_write_failed(rec);
        return ERR_NONE;
    }
    return stream_write(bytes, length, f) == length ? ERR_NONE : disk_write_failed(rec);
}
