#include "runtime/console.h"

#include <cstring>

#include "runtime/channels.h"
#include "runtime/console_end.h"
#include "runtime/console_hooks.h"
#include "runtime/error.h"
#include "runtime/print_area.h"
#include "textconsole/text_console.h"

void console_print_buffer(const uint8_t* chars, int64_t count, int32_t mask) {
    if (auto hook = console_hooks().print_buffer)
        hook(chars, count, mask);
    else
        text_console_print(chars, count, mask);
}

void console_print(const char* text) {
    console_print_buffer(reinterpret_cast<const uint8_t*>(text), static_cast<int64_t>(std::strlen(text)), 0);
}

void console_cursor_position(int32_t* column, int32_t* row) {
    if (auto hook = console_hooks().cursor_position)
        hook(column, row);
    else
        text_console_cursor_position(column, row);
}

void console_text_size(int32_t* columns, int32_t* rows) {
    if (auto hook = console_hooks().text_size)
        hook(columns, rows);
    else
        text_console_size(columns, rows);
}

namespace {

int32_t hook_locate(int32_t row, int32_t column, int32_t cursor) {
    if (auto hook = console_hooks().locate) return hook(row, column, cursor);
    return text_console_locate(row, column, cursor);
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
    auto hook = console_hooks().inkey;
    return console_end_filter_inkey(hook ? hook() : text_console_inkey());
}

int32_t keyhit() {
    auto hook = console_hooks().keyhit;
    return console_end_filter_keyhit(hook ? hook() : text_console_keyhit());
}

int32_t getkey() {
    if (auto hook = console_hooks().getkey) return hook();
    return text_console_getkey();
}

void console_sleep(int32_t milliseconds) {
    if (auto hook = console_hooks().sleep)
        hook(milliseconds);
    else
        text_console_sleep(milliseconds);
}

int32_t console_input_redirected() {
    if (auto hook = console_hooks().input_redirected) return hook();
    return text_console_input_redirected();
}
