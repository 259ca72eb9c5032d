// Printing and the cursor on the terminal.
//
// Escape sequences written (all VT100/xterm, understood by every terminal
// in use):
//   ESC [ row ; column H     place the cursor (1-based, window relative)
//   ESC [ ? 25 l / h         hide / show the cursor
//   ESC [ top ; bottom r     scroll region, for a print area smaller than
//                            the window;  ESC [ r  resets it
//   LF on the bottom row     scrolls the window up, the top row going into
//                            the terminal's scrollback
// Each print call builds its bytes in one buffer and writes them once.
// Characters are code page 437 bytes and are converted to the locale's
// charset; with output redirected they are written unchanged.
#include <cstdio>

#include "runtime/console/posix/codepage.h"
#include "runtime/console/print_area.h"
#include "runtime/console/text_layout.h"
#include "textconsole/console_input.h"
#include "textconsole/terminal/terminal.h"
#include "textconsole/text_console.h"

namespace {

void put_cursor(int32_t x, int32_t y) {
    char seq[32];
    int n = std::snprintf(seq, sizeof seq, "\x1b[%d;%dH", y + 1, x + 1);
    terminal_write(seq, static_cast<size_t>(n));
}

int32_t console_draw(TextLayout* layout, const uint8_t* chars, int32_t count) {
    put_cursor(layout->x, layout->y);
    codepage_to_locale(chars, static_cast<size_t>(count), terminal().out);
    return 1;
}

// The print area as window rows, clamped to a window that may have shrunk.
void area_rows(int32_t* top, int32_t* bottom) {
    int32_t area_top = 0, area_bottom = 0;
    print_area_get(&area_top, &area_bottom);
    int32_t last = terminal().rows - 1;
    *top = area_top - 1 < last ? area_top - 1 : last;
    *bottom = area_bottom - 1 < last ? area_bottom - 1 : last;
    if (*top < 0) *top = 0;
    if (*bottom < *top) *bottom = *top;
}

void console_scroll(TextLayout* layout, int32_t, int32_t top, int32_t, int32_t bottom, int32_t count) {
    const TerminalState& t = terminal();
    bool whole_window = top == 0 && bottom == t.rows - 1;
    char seq[32];
    if (!whole_window) {
        int n = std::snprintf(seq, sizeof seq, "\x1b[%d;%dr", top + 1, bottom + 1);
        terminal_write(seq, static_cast<size_t>(n));
    }
    put_cursor(0, bottom);
    int32_t height = bottom - top + 1;
    for (int32_t i = 0; i < count && i < height; ++i) terminal_write("\n", 1);
    if (!whole_window) terminal_write("\x1b[r", 3);
    layout->y = bottom;
}

TextLayout layout_for_window() {
    TextLayout layout{};
    layout.scroll = console_scroll;
    layout.draw = console_draw;
    layout.left = 0;
    layout.right = terminal().columns - 1;
    area_rows(&layout.top, &layout.bottom);
    layout.x = terminal().cursor_x;
    layout.y = terminal().cursor_y;
    return layout;
}

void print_in_window(const uint8_t* chars, int64_t count) {
    terminal_sync_cursor();
    TerminalState& t = terminal();
    TextLayout layout = layout_for_window();
    text_layout_print_call(&layout, chars, count, &t.pending_newline);
    t.cursor_x = layout.x;
    t.cursor_y = layout.y;
    put_cursor(t.cursor_x, t.cursor_y);
    terminal_flush();
}

}  // namespace

void text_console_print(const uint8_t* chars, int64_t count, int32_t mask) {
    if (count <= 0 && !(mask & 0x8)) return;
    if (!terminal_has_window()) {
        if (count > 0) write_all(1, reinterpret_cast<const char*>(chars), static_cast<size_t>(count));
        return;
    }
    print_in_window(chars, count > 0 ? count : 0);
}

int32_t text_console_locate(int32_t row, int32_t column, int32_t cursor) {
    bool window = terminal_has_window();
    if (window) terminal_sync_cursor();
    TerminalState& t = terminal();
    if (column < 1) column = window ? t.cursor_x + 1 : 0;
    if (row < 1) row = window ? t.cursor_y + 1 : 0;
    int32_t result = ((row * 256) & 0xFFFF) | (column & 0xFF);
    if (!window) return result;
    if (t.cursor_visible) result |= 0x10000;
    if (cursor >= 0 && (cursor != 0) != t.cursor_visible) {
        t.cursor_visible = cursor != 0;
        terminal_set_cursor_hidden(!t.cursor_visible);
        terminal_write(t.cursor_visible ? "\x1b[?25h" : "\x1b[?25l", 6);
    }
    t.pending_newline = false;
    // The terminal clamps a position outside the window; so does the model.
    t.cursor_x = column - 1 < t.columns ? column - 1 : t.columns - 1;
    t.cursor_y = row - 1 < t.rows ? row - 1 : t.rows - 1;
    put_cursor(t.cursor_x, t.cursor_y);
    terminal_flush();
    return result;
}

void text_console_cursor_position(int32_t* column, int32_t* row) {
    bool window = terminal_has_window();
    if (window) terminal_sync_cursor();
    if (column) *column = window ? terminal().cursor_x + 1 : 0;
    if (row) *row = window ? terminal().cursor_y + 1 : 0;
}

void text_console_size(int32_t* columns, int32_t* rows) {
    bool window = terminal_has_window();
    if (columns) *columns = window ? terminal().columns : 80;
    if (rows) *rows = window ? terminal().rows : 25;
}
