#include "runtime/console/console.h"

#include <cstring>

#include "runtime/channels.h"
#include "runtime/console/char_console.h"
#include "runtime/console/console_end.h"
#include "runtime/console/print_area.h"
#include "runtime/error.h"
#include "runtime/strings.h"

void console_print_buffer(const uint8_t* chars, int64_t count, int32_t mask) {
    if (auto print = console_operation<&ConsoleHooks::print_buffer>()) print(chars, count, mask);
}

void console_print(const char* text) {
    console_print_buffer(reinterpret_cast<const uint8_t*>(text), static_cast<int64_t>(std::strlen(text)), 0);
}

void console_cursor_position(int32_t* column, int32_t* row) {
    if (auto position = console_operation<&ConsoleHooks::cursor_position>()) {
        position(column, row);
        return;
    }
    *column = 1;
    *row = 1;
}

void console_text_size(int32_t* columns, int32_t* rows) {
    if (auto size = console_operation<&ConsoleHooks::text_size>()) {
        size(columns, rows);
        return;
    }
    *columns = 80;
    *rows = 25;
}

namespace {

int32_t hook_locate(int32_t row, int32_t column, int32_t cursor) {
    auto locate = console_operation<&ConsoleHooks::locate>();
    return locate ? locate(row, column, cursor) : 0;
}

bool position_allowed(int32_t row, int32_t column) {
    int32_t top = 0, bottom = 0, columns = 0, rows = 0;
    print_area_get(&top, &bottom);
    console_text_size(&columns, &rows);
    if (row != 0 && (row < top || row > bottom)) return false;
    if (column != 0 && (column < 1 || column > columns)) return false;
    return true;
}

}  // namespace

int32_t console_locate(int32_t row, int32_t column, int32_t cursor) {
    if (!position_allowed(row, column)) {
        set_last_error(ERR_INVALID_CALL);
        row = 0;
        column = 0;
    }
    int32_t state = hook_locate(row, column, cursor);
    if (column != 0) channel_record(0)->column = column - 1;
    return state;
}

StringDesc* inkey() {
    auto poll = console_operation<&ConsoleHooks::inkey>();
    return console_end_filter_inkey(poll ? poll() : string_empty());
}

int32_t keyhit() {
    auto test = console_operation<&ConsoleHooks::keyhit>();
    return console_end_filter_keyhit(test ? test() : 0);
}

int32_t getkey() {
    auto wait = console_operation<&ConsoleHooks::getkey>();
    return wait ? wait() : 0;
}

void console_sleep(int32_t milliseconds) {
    if (auto sleep = console_operation<&ConsoleHooks::sleep>()) sleep(milliseconds);
}

int32_t console_input_redirected() {
    auto redirected = console_operation<&ConsoleHooks::input_redirected>();
    return redirected ? redirected() : 0;
}
