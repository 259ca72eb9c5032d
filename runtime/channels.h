#pragma once
#include <cstdint>

#include "runtime/error.h"

struct StringDesc;
struct ChannelRecord;

enum FileMode : int32_t { MODE_BINARY = 0, MODE_RANDOM = 1, MODE_INPUT = 2, MODE_OUTPUT = 3, MODE_APPEND = 4 };
enum FileAccess : int32_t { ACCESS_DEFAULT = 0, ACCESS_READ = 1, ACCESS_WRITE = 2, ACCESS_READ_WRITE = 3 };
enum ChannelKind : int32_t { KIND_CONSOLE = 1, KIND_FILE = 4 };

// The operations behind a channel, in slot order; a null slot is an
// operation the channel does not support.
struct ChannelDriver {
    int32_t (*eof)(ChannelRecord* rec);  // -1 true, 0 false; stores nothing
    ErrorCode (*close)(ChannelRecord* rec);
    ErrorCode (*seek)(ChannelRecord* rec, int64_t offset, int32_t origin);
    ErrorCode (*tell)(ChannelRecord* rec, int64_t* position);
    ErrorCode (*read)(ChannelRecord* rec, void* buffer, uint64_t* count);
    ErrorCode (*read_wide)(ChannelRecord* rec, void* buffer, uint64_t* count);
    ErrorCode (*write)(ChannelRecord* rec, const void* buffer, uint64_t length);
    ErrorCode (*write_wide)(ChannelRecord* rec, const void* buffer, uint64_t length);
    ErrorCode (*lock)(ChannelRecord* rec, int64_t offset, int64_t length);
    ErrorCode (*unlock)(ChannelRecord* rec, int64_t offset, int64_t length);
    ErrorCode (*read_line)(ChannelRecord* rec, StringDesc* dest);
    ErrorCode (*read_line_wide)(ChannelRecord* rec, StringDesc* dest);
    void* reserved;
    ErrorCode (*flush)(ChannelRecord* rec);
};

struct ChannelRecord {
    int32_t mode;
    int32_t record_length;
    int32_t encoding;
    int64_t size;  // length at open, -1 when not measured
    int32_t kind;
    int32_t access;
    int32_t lock;
    int32_t column;  // characters since the last line break (text writes)
    int32_t width;   // line width for the column count, 0 = no limit
    uint8_t putback[4];
    uint64_t putback_count;
    const ChannelDriver* driver;  // non-null exactly while the channel is open
    void* stream;
};

inline constexpr int32_t CHANNEL_MAX = 255;
inline constexpr int32_t PUTBACK_MAX = 4;

// Maps a channel number (-1 .. 255) to its record; null for any other number.
ChannelRecord* channel_record(int32_t channel);

ErrorCode file_open(StringDesc* name, int32_t mode, int32_t access, int32_t lock, int32_t channel,
                    int32_t record_length);
// file_put (runtime/file_put.h) is inline: the generator calls it for
// every sample.
// Closes every open channel in ascending order; ERR_IO when a close could
// not write its buffer out (the others are closed all the same).
ErrorCode file_close_all();
ErrorCode file_write_at(ChannelRecord* rec, int64_t position, const void* data, uint64_t length, bool put, bool text,
                        bool wide);
ErrorCode file_seek_to(ChannelRecord* rec, int64_t position);
ErrorCode file_read_at(ChannelRecord* rec, int64_t position, void* buffer, uint64_t length, uint64_t* delivered);
ErrorCode file_unread(ChannelRecord* rec, const uint8_t* bytes, uint64_t count);

// What went wrong with the file of a channel (1 .. 255) since its last
// open, as the system's error number: the open gave no stream that can be
// written (the open failed, or default access fell back to reading), or a
// write, flush or close failed. The first reason is kept; 0 when none.
// Results stay ErrorCodes; this says which file and why, also after
// file_close_all.
int32_t file_fault(int32_t channel);

// Drivers note a failure of a channel's file here; the first one stays.
// Records other than channels 1 .. 255 keep none.
void channel_note_fault(ChannelRecord* rec, int32_t error);
