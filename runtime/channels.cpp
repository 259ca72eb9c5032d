#include "runtime/channels.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "runtime/disk_driver.h"
#include "runtime/runtime_context.h"
#include "runtime/strings.h"

ChannelRecord* channel_record(int32_t channel) {
    RuntimeContext& ctx = runtime_context();
    if (channel >= 1 && channel <= CHANNEL_MAX) return &ctx.channels[channel - 1];
    if (channel == 0) return &ctx.console_record;
    if (channel == -1) return &ctx.reserved_record;
    return nullptr;
}

namespace {

int32_t record_length_for(int32_t mode, int32_t requested) {
    if (mode == MODE_RANDOM || mode == MODE_INPUT || mode == MODE_OUTPUT) return requested > 0 ? requested : 128;
    return 0;
}

// The name as a zero-terminated copy; null when it can't be had or holds a
// zero byte, which would make the C library open a different file.
char* copy_name(const StringDesc* name) {
    uint64_t n = string_length(name);
    if (n && std::memchr(name->data, 0, n)) {
        errno = EINVAL;
        return nullptr;
    }
    char* copy = static_cast<char*>(std::malloc(n + 1));
    if (!copy) return nullptr;
    if (n) std::memcpy(copy, name->data, n);
    copy[n] = 0;
    return copy;
}

}  // namespace

ErrorCode file_open(StringDesc* name, int32_t mode, int32_t access, int32_t lock, int32_t channel,
                    int32_t record_length) {
    if (channel < 1 || channel > CHANNEL_MAX) {
        temp_string_release(name);
        return set_last_error(ERR_INVALID_CALL);
    }
    char* path = copy_name(name);
    temp_string_release(name);
    ChannelRecord* rec = channel_record(channel);
    if (rec->driver) {
        std::free(path);
        return set_last_error(ERR_INVALID_CALL);
    }
    runtime_context().files_opened = 1;
    runtime_context().faults[channel - 1] = 0;
    *rec = ChannelRecord{};
    rec->mode = mode;
    rec->kind = KIND_FILE;
    rec->access = access;
    rec->lock = lock;
    rec->record_length = record_length_for(mode, record_length);
    rec->size = -1;
    ErrorCode result = ERR_OPEN_FAILED;
    if (path)
        result = disk_open(rec, path);
    else
        channel_note_fault(rec, errno);
    std::free(path);
    if (result != ERR_NONE) *rec = ChannelRecord{};
    return set_last_error(result);
}

ErrorCode file_seek_to(ChannelRecord* rec, int64_t position) {
    if (!rec || !rec->driver || !rec->driver->seek) return set_last_error(ERR_INVALID_CALL);
    rec->putback_count = 0;
    int64_t offset = rec->mode == MODE_RANDOM ? (position - 1) * rec->record_length : position - 1;
    return set_last_error(rec->driver->seek(rec, offset, 0));
}

namespace {

// Pads a random-access put to a whole record, reporting a length that
// differs from the record length.
ErrorCode pad_record(ChannelRecord* rec, uint64_t length, bool wide, ErrorCode result) {
    uint64_t record = static_cast<uint64_t>(rec->record_length);
    if (result != ERR_NONE || record == 0 || !rec->driver->seek) return result;
    if (length != record) result = ERR_IO;
    uint64_t written = wide ? 2 * length : length;
    uint64_t pad = (record - written % record) % record;
    if (pad) rec->driver->seek(rec, static_cast<int64_t>(pad), 1);
    return result;
}

void update_column(ChannelRecord* rec, const void* data, uint64_t length) {
    auto* bytes = static_cast<const uint8_t*>(data);
    uint64_t i = length;
    while (i > 0 && bytes[i - 1] != '\r' && bytes[i - 1] != '\n') --i;
    if (i > 0)
        rec->column = static_cast<int32_t>(length - i);
    else
        rec->column += static_cast<int32_t>(length);
    if (rec->width != 0) rec->column %= rec->width;
}

}  // namespace

ErrorCode file_write_at(ChannelRecord* rec, int64_t position, const void* data, uint64_t length, bool put, bool text,
                        bool wide) {
    if (!rec || !rec->driver || position < 0) return set_last_error(ERR_INVALID_CALL);
    rec->putback_count = 0;
    if (position != 0) {
        ErrorCode sought = file_seek_to(rec, position);
        if (sought != ERR_NONE) return set_last_error(sought);
    }
    auto write = wide ? rec->driver->write_wide : rec->driver->write;
    if (!write) return set_last_error(ERR_INVALID_CALL);
    ErrorCode result = write(rec, data, length);
    if (rec->mode == MODE_RANDOM && put) result = pad_record(rec, length, wide, result);
    if (text && result == ERR_NONE) update_column(rec, data, length);
    return set_last_error(result);
}

ErrorCode file_read_at(ChannelRecord* rec, int64_t position, void* buffer, uint64_t length, uint64_t* delivered) {
    *delivered = 0;
    if (!rec || !rec->driver || position < 0) return set_last_error(ERR_INVALID_CALL);
    if (position != 0) {
        ErrorCode sought = file_seek_to(rec, position);
        if (sought != ERR_NONE) return set_last_error(sought);
    }
    auto* out = static_cast<uint8_t*>(buffer);
    uint64_t n = 0;
    while (n < length && rec->putback_count > 0) out[n++] = rec->putback[--rec->putback_count];
    ErrorCode result = ERR_NONE;
    if (n < length) {
        if (!rec->driver->read) return set_last_error(ERR_INVALID_CALL);
        uint64_t count = length - n;
        result = rec->driver->read(rec, out + n, &count);
        n += count;
    }
    *delivered = n;
    return set_last_error(result);
}

ErrorCode file_unread(ChannelRecord* rec, const uint8_t* bytes, uint64_t count) {
    if (!rec || !rec->driver) return set_last_error(ERR_INVALID_CALL);
    if (rec->putback_count + count > PUTBACK_MAX) return set_last_error(ERR_IO);
    // The area is a stack read from its top: the first byte given must come
    // out first, so it goes on last.
    for (uint64_t i = count; i > 0; --i) rec->putback[rec->putback_count++] = bytes[i - 1];
    return set_last_error(ERR_NONE);
}

ErrorCode file_close_all() {
    RuntimeContext& ctx = runtime_context();
    if (!ctx.files_opened) return set_last_error(ERR_NONE);
    ctx.files_opened = 0;
    // Every channel is closed whatever the others did; a close that could
    // not write its buffer out lost data, and the result says so.
    ErrorCode result = ERR_NONE;
    for (ChannelRecord& rec : ctx.channels) {
        if (rec.driver && rec.driver->close && rec.driver->close(&rec) != ERR_NONE) result = ERR_IO;
    }
    for (ChannelRecord& rec : ctx.channels) rec = ChannelRecord{};
    return set_last_error(result);
}

int32_t file_fault(int32_t channel) {
    if (channel < 1 || channel > CHANNEL_MAX) return 0;
    return runtime_context().faults[channel - 1];
}

void channel_note_fault(ChannelRecord* rec, int32_t error) {
    RuntimeContext& ctx = runtime_context();
    if (rec < ctx.channels || rec >= ctx.channels + CHANNEL_MAX) return;
    int32_t& fault = ctx.faults[rec - ctx.channels];
    if (fault == 0) fault = error != 0 ? error : EIO;
}
