#include "runtime/disk_driver.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/console_stdin.h"
#include "runtime/os.h"
#include "runtime/strings.h"

namespace {

DiskStream* disk_stream(ChannelRecord* rec) { return static_cast<DiskStream*>(rec->stream); }

FILE* stream_of(ChannelRecord* rec) { return rec->stream ? disk_stream(rec)->file : nullptr; }

bool is_std_output(FILE* f) { return f == stdout || f == stderr; }

int32_t disk_eof(ChannelRecord* rec) {
    FILE* f = stream_of(rec);
    if (!f) return -1;
    int32_t mode = rec->mode;
    if ((mode == MODE_INPUT || mode == MODE_OUTPUT || mode == MODE_APPEND) && std::feof(f)) return -1;
    if (mode == MODE_BINARY || mode == MODE_RANDOM || mode == MODE_INPUT) {
        off_t pos = ftello(f);
        return pos >= rec->size ? -1 : 0;
    }
    return 0;
}

// The last of the buffer is written here: a failure loses data, so it is
// reported like a failed write. The buffer is written out before the
// close, on its own: a C library may answer a close whose write failed as
// a good one (Wine's does), and may leave errno unset for a failed flush,
// so a stale errno is not blamed.
ErrorCode disk_close(ChannelRecord* rec) {
    ErrorCode result = ERR_NONE;
    if (DiskStream* stream = disk_stream(rec)) {
        errno = 0;
        const bool flushed = std::fflush(stream->file) == 0;
        if (!flushed) channel_note_fault(rec, errno);
        errno = 0;
        const bool closed = std::fclose(stream->file) == 0;
        if (!closed) channel_note_fault(rec, errno);
        if (!flushed || !closed) result = ERR_IO;
        std::free(stream);
    }
    rec->stream = nullptr;
    return result;
}

ErrorCode disk_seek(ChannelRecord* rec, int64_t offset, int32_t origin) {
    FILE* f = stream_of(rec);
    if (!f) return ERR_INVALID_CALL;
    static constexpr int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (origin < 0 || origin > 2) return ERR_INVALID_CALL;
    return fseeko(f, offset, whence[origin]) == 0 ? ERR_NONE : ERR_IO;
}

ErrorCode disk_tell(ChannelRecord* rec, int64_t* position) {
    FILE* f = stream_of(rec);
    if (!f) return ERR_INVALID_CALL;
    *position = ftello(f);
    return ERR_NONE;
}

ErrorCode disk_read(ChannelRecord* rec, void* buffer, uint64_t* count) {
    FILE* f = stream_of(rec);
    if (!f) return ERR_INVALID_CALL;
    uint64_t n = is_std_output(f) ? console_stdin_read(buffer, *count) : std::fread(buffer, 1, *count, f);
    std::memset(static_cast<uint8_t*>(buffer) + n, 0, *count - n);
    *count = n;
    return ERR_NONE;
}

ErrorCode disk_write(ChannelRecord* rec, const void* buffer, uint64_t length) {
    return disk_write_bytes(rec, buffer, length);
}

// A file opened for reading only can hold a shared lock only.
ErrorCode lock_range(ChannelRecord* rec, int64_t offset, int64_t length, bool lock) {
    FILE* f = stream_of(rec);
    if (!f) return ERR_INVALID_CALL;
    if (length == 0) return ERR_INVALID_CALL;
    return os_lock_file(f, offset, length, lock, rec->access == ACCESS_READ) ? ERR_NONE : ERR_IO;
}

ErrorCode disk_lock(ChannelRecord* rec, int64_t offset, int64_t length) {
    return lock_range(rec, offset, length, true);
}

ErrorCode disk_unlock(ChannelRecord* rec, int64_t offset, int64_t length) {
    return lock_range(rec, offset, length, false);
}

ErrorCode disk_read_line(ChannelRecord* rec, StringDesc* dest) {
    FILE* f = stream_of(rec);
    if (!f) return ERR_INVALID_CALL;
    const bool from_console = is_std_output(f);
    char* line = nullptr;
    size_t n = 0, capacity = 0;
    // Up to and including the line feed, as a text line does.
    for (;;) {
        uint8_t byte;
        if (from_console) {
            if (console_stdin_read(&byte, 1) != 1) break;
        } else {
            const int c = std::fgetc(f);
            if (c == EOF) break;
            byte = static_cast<uint8_t>(c);
        }
        if (n == capacity) {
            const size_t grown_capacity = capacity ? capacity * 2 : 128;
            char* grown = static_cast<char*>(std::realloc(line, grown_capacity));
            if (!grown) break;
            line = grown;
            capacity = grown_capacity;
        }
        line[n++] = static_cast<char>(byte);
        if (byte == '\n') break;
    }
    StringDesc* copy = temp_string_alloc(nullptr, static_cast<uint64_t>(n));
    if (copy && n) std::memcpy(copy->data, line, static_cast<size_t>(n));
    std::free(line);
    string_assign(dest, copy ? copy : string_empty());
    return ERR_NONE;
}

ErrorCode disk_flush(ChannelRecord* rec) {
    FILE* f = stream_of(rec);
    if (!f) return ERR_INVALID_CALL;
    errno = 0;  // see disk_close
    if (std::fflush(f) == 0) return ERR_NONE;
    channel_note_fault(rec, errno);
    return ERR_IO;
}

// Opens the stream with the record's own buffer.
FILE* open_buffered(DiskStream* ds, const char* name, const char* how) {
    FILE* f = std::fopen(name, how);
    if (f) std::setvbuf(f, ds->buffer, _IOFBF, DISK_BUFFER_SIZE);
    return f;
}

// Binary and random files: an existing file is opened for update without
// being truncated; a missing one is created; a read-only one is opened for
// reading. A file wanted for writing that can only be read has a fault:
// why it could not be created or written, not why the read failed.
FILE* open_binary(ChannelRecord* rec, DiskStream* ds, const char* name, ErrorCode* error) {
    const char* how = rec->access == ACCESS_READ ? "rb" : rec->access == ACCESS_WRITE ? "wb" : "r+b";
    FILE* f = open_buffered(ds, name, how);
    if (f) return f;
    *error = ERR_OPEN_FAILED;
    if (rec->access == ACCESS_READ || rec->access == ACCESS_WRITE) return nullptr;
    f = open_buffered(ds, name, "w+b");
    if (f || rec->access == ACCESS_READ_WRITE) return f;
    channel_note_fault(rec, errno);
    f = open_buffered(ds, name, "rb");
    if (f) rec->access = ACCESS_READ;
    return f;
}

FILE* open_input(ChannelRecord* rec, DiskStream* ds, const char* name, ErrorCode* error) {
    FILE* f = open_buffered(ds, name, "rb");
    if (!f) {
        *error = ERR_OPEN_FAILED;
        return nullptr;
    }
    if (fseeko(f, 0, SEEK_END) != 0) {
        std::fclose(f);
        *error = ERR_INVALID_CALL;
        return nullptr;
    }
    rec->size = ftello(f);
    f = std::freopen(name, "r", f);
    if (!f) {
        *error = ERR_OPEN_FAILED;
        return nullptr;
    }
    std::setvbuf(f, ds->buffer, _IOFBF, DISK_BUFFER_SIZE);
    return f;
}

FILE* open_by_mode(ChannelRecord* rec, DiskStream* ds, const char* path, ErrorCode* error) {
    switch (rec->mode) {
    case MODE_BINARY:
    case MODE_RANDOM: return open_binary(rec, ds, path, error);
    case MODE_INPUT: return open_input(rec, ds, path, error);
    case MODE_OUTPUT: return open_buffered(ds, path, "wb");
    case MODE_APPEND: return open_buffered(ds, path, "ab");
    default: *error = ERR_INVALID_CALL; return nullptr;
    }
}

// Measures the size where the mode wants it; false when the seek fails.
bool measure_size(ChannelRecord* rec, FILE* f) {
    switch (rec->mode) {
    case MODE_BINARY:
    case MODE_RANDOM:
        if (fseeko(f, 0, SEEK_END) != 0) return false;
        rec->size = ftello(f);
        return fseeko(f, 0, SEEK_SET) == 0;
    case MODE_APPEND: rec->size = ftello(f); return true;
    case MODE_OUTPUT: rec->size = 0; return true;
    default: return true;
    }
}

}  // namespace

// clang-format off
const ChannelDriver disk_driver = {
    disk_eof,  disk_close,  disk_seek,      disk_tell, disk_read, nullptr, disk_write,
    nullptr,   disk_lock,   disk_unlock,    disk_read_line, nullptr, nullptr, disk_flush,
};
// clang-format on

ErrorCode disk_open(ChannelRecord* rec, const char* name) {
    char* path = strdup(name);
    auto* ds = static_cast<DiskStream*>(std::malloc(sizeof(DiskStream)));
    if (!path || !ds) {
        std::free(path);
        std::free(ds);
        channel_note_fault(rec, ENOMEM);
        return ERR_OPEN_FAILED;
    }
    os_native_path(path);
    rec->driver = &disk_driver;
    ErrorCode error = ERR_NONE;
    FILE* f = open_by_mode(rec, ds, path, &error);
    if (!f && error == ERR_NONE) error = ERR_OPEN_FAILED;
    if (!f) channel_note_fault(rec, errno);
    if (f && rec->mode != MODE_INPUT && !measure_size(rec, f)) {
        channel_note_fault(rec, errno);
        std::fclose(f);
        f = nullptr;
        error = ERR_INVALID_CALL;
    }
    if (f) {
        ds->file = f;
        rec->stream = ds;
        if (rec->access == ACCESS_DEFAULT) rec->access = ACCESS_READ_WRITE;
        if (ascii_equal_ignoring_case(path, "CON")) rec->kind = KIND_CONSOLE;
    } else {
        std::free(ds);
    }
    std::free(path);
    return f ? ERR_NONE : error;
}

ErrorCode disk_write_failed(ChannelRecord* rec) {
    channel_note_fault(rec, errno);
    return ERR_IO;
}
