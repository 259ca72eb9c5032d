#include "runtime/console_channel.h"

#include <cstdlib>

#include "runtime/console.h"
#include "runtime/os.h"
#include "runtime/runtime_context.h"
#include "runtime/strings.h"
#include "gfx/key_codes.h"

namespace {

// The console's state block: standard input read through one buffer, so
// that the redirected line input and the key poll never lose bytes to
// each other.
struct ConsoleState {
    uint8_t buffer[4096];
    size_t pos;
    size_t len;
    bool at_end;
};

ConsoleState* g_state;

ConsoleState* state() {
    if (!g_state) g_state = static_cast<ConsoleState*>(std::calloc(1, sizeof(ConsoleState)));
    return g_state;
}

// Refills the buffer; false at the end of input (or on a read error, which
// ends the input just the same).
bool refill(ConsoleState* s) {
    const int64_t n = os_stdin_read(s->buffer, sizeof s->buffer);
    if (n > 0) {
        s->pos = 0;
        s->len = static_cast<size_t>(n);
        return true;
    }
    s->at_end = true;
    return false;
}

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
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
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
    rec->stream = state();
    rec->driver = &console_driver;
    return rec;
}

void console_channel_release() {
    std::free(g_state);
    g_state = nullptr;
    channel_record(0)->stream = nullptr;
}

uint64_t console_stdin_read(void* buffer, uint64_t count) {
    ConsoleState* s = state();
    if (!s) return 0;
    auto* out = static_cast<uint8_t*>(buffer);
    uint64_t n = 0;
    while (n < count) {
        if (s->pos == s->len && (s->at_end || !refill(s))) break;
        out[n++] = s->buffer[s->pos++];
    }
    return n;
}

int32_t console_stdin_poll_byte(uint8_t* byte) {
    ConsoleState* s = state();
    if (!s) return -1;
    if (s->pos == s->len) {
        if (s->at_end) return -1;
        if (!os_stdin_ready()) return 0;
        if (!refill(s)) return -1;
    }
    *byte = s->buffer[s->pos++];
    return 1;
}
