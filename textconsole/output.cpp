#include <unistd.h>

#include <cerrno>

#include "textconsole/text_console.h"

namespace {

// Writes every byte unchanged, repeating after partial writes, until all
// are written or a write fails.
void write_raw(const uint8_t* chars, int64_t count) {
    while (count > 0) {
        ssize_t n = write(STDOUT_FILENO, chars, static_cast<size_t>(count));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        chars += n;
        count -= n;
    }
}

}  // namespace

void text_console_print(const uint8_t* chars, int64_t count, int32_t mask) {
    if (count <= 0 && !(mask & 0x8)) return;
    write_raw(chars, count);
}

int32_t text_console_locate(int32_t row, int32_t column, int32_t) {
    return ((row * 256) & 0xFFFF) | (column & 0xFF);
}

void text_console_cursor_position(int32_t* column, int32_t* row) {
    if (column) *column = 0;
    if (row) *row = 0;
}

void text_console_size(int32_t* columns, int32_t* rows) {
    if (columns) *columns = 80;
    if (rows) *rows = 25;
}
