#include "runtime/console/console_channel.h"

#include "runtime/console/console.h"
#include "runtime/console/key_codes.h"
#include "runtime/console_stdin.h"
#include "runtime/runtime_context.h"
#include "runtime/strings.h"

namespace {

ErrorCode console_write(ChannelRecord*, const void* buffer, uint64_t length) {
    console_print_buffer(static_cast<const uint8_t*>(buffer), static_cast<int64_t>(length), 0);
    return ERR_NONE;
}

// Reads bytes from standard input when it is redirected, else the
// characters of typed keys (extended keys carry no character and are
// skipped).
ErrorCode console_read(ChannelRecord*, void* buffer, uint64_t* count) {
    auto* out = static_cast<uint8_t*>(buffer);
    uint64_t wanted = *count;
    if (console_input_redirected()) {
        *count = console_stdin_read(out, wanted);
        return ERR_NONE;
    }
    uint64_t n = 0;
    while (n < wanted) {
        int32_t code = getkey();
        if (code == 0 || code == KEY_CLOSE) break;
        if (code <= 255) out[n++] = static_cast<uint8_t>(code);
    }
    *count = n;
    return ERR_NONE;
}

}  // namespace

const ChannelDriver console_driver = {
    nullptr, nullptr, nullptr, nullptr, console_read, nullptr, console_write,
    nullptr, nullptr, nullptr, nullptr, nullptr,      nullptr, nullptr,
};

ChannelRecord* console_channel_prepare() {
    ChannelRecord* rec = channel_record(0);
    if (rec->driver) return rec;
    int32_t column = 0, row = 0, columns = 0, rows = 0;
    console_cursor_position(&column, &row);
    console_text_size(&columns, &rows);
    *rec = ChannelRecord{};
    rec->mode = MODE_APPEND;
    rec->kind = KIND_FILE;
    rec->access = ACCESS_READ_WRITE;
    rec->column = column > 0 ? column - 1 : 0;
    rec->width = columns;
    rec->stream = console_stdin_state();
    rec->driver = &console_driver;
    return rec;
}

void console_channel_release() {
    console_stdin_release();
    channel_record(0)->stream = nullptr;
}
