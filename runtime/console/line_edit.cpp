#include "runtime/console/line_edit.h"

#include <cstring>
#include <string>

#include "runtime/channels.h"
#include "runtime/console/bell.h"
#include "runtime/console/console.h"
#include "runtime/console/console_channel.h"
#include "runtime/console/console_end.h"
#include "runtime/console/console_redraw.h"
#include "runtime/console/key_codes.h"
#include "runtime/strings.h"

void console_channel_print(const uint8_t* chars, uint64_t count) {
    file_write_at(console_channel_prepare(), 0, chars, count, false, true, false);
}

void cursor_advance(int32_t* column, int32_t* row, int64_t delta, int32_t columns) {
    if (columns <= 0) return;
    int64_t index = int64_t{*row - 1} * columns + (*column - 1) + delta;
    int64_t quotient = index / columns;
    if (index % columns < 0) --quotient;  // floor division for negative indexes
    *column = static_cast<int32_t>(index - quotient * columns + 1);
    *row = static_cast<int32_t>(quotient + 1);
}

void cursor_move(int32_t* column, int32_t* row, int64_t delta, int32_t columns, int32_t rows) {
    cursor_advance(column, row, delta, columns);
    if (*column == 1 && *row == rows + 1) {
        console_locate(rows, columns, -1);
        static const uint8_t crlf[] = {13, 10};
        console_print_buffer(crlf, 2, 0);
        *row = rows;
        return;
    }
    console_locate(*row, *column, -1);
}

namespace {

constexpr int32_t CURSOR_KEEP = -1;
// Not a key: the line is to be drawn again (console_redraw.h).
constexpr int32_t REDRAW = -2;

// The prompt of the line being edited, for drawing it again.
std::string g_prompt;

struct Editor {
    StringDesc line;  // owned by the editor until handed back
    uint64_t len;
    uint64_t pos;
    int32_t columns, rows;
    int32_t column, row;  // 1-based cursor of the insertion point
    int32_t cursor_arg;   // cursor state set after every key
    bool show_mark;
};

void hide_cursor() { console_locate(0, 0, 0); }

void place_back(const Editor& e) { console_locate(e.row, e.column, CURSOR_KEEP); }

void move_by(Editor& e, int64_t delta) { cursor_move(&e.column, &e.row, delta, e.columns, e.rows); }

void print_spaces(uint64_t n) {
    static const uint8_t spaces[64] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
                                       ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
                                       ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
                                       ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    while (n > 0) {
        uint64_t chunk = n < sizeof spaces ? n : sizeof spaces;
        console_print_buffer(spaces, static_cast<int64_t>(chunk), 0);
        n -= chunk;
    }
}

void delete_at(Editor& e, uint64_t n) {
    hide_cursor();
    uint8_t* d = e.line.data;
    uint64_t tail = e.len - e.pos - n;
    if (tail) std::memmove(d + e.pos, d + e.pos + n, tail);
    if (tail) console_print_buffer(d + e.pos, static_cast<int64_t>(tail), 0);
    print_spaces(n);
    place_back(e);
    e.len -= n;
}

// Grows the line for m more characters; false when memory is exhausted
// (the key is then ignored).
bool make_room(Editor& e, uint64_t m) {
    if (e.len + m <= e.line.capacity && e.line.data) return true;
    return string_resize(&e.line, e.len + m, true) != nullptr;
}

void insert_at(Editor& e, const uint8_t* s, uint64_t m) {
    if (!make_room(e, m)) return;
    hide_cursor();
    int32_t column = e.column, row = e.row;
    uint8_t* d = e.line.data;
    std::memmove(d + e.pos + m, d + e.pos, e.len - e.pos);
    std::memcpy(d + e.pos, s, m);
    uint64_t printed = e.len + m - e.pos;
    console_print_buffer(d + e.pos, static_cast<int64_t>(printed), 0);
    e.column = column;
    e.row = row;
    if (e.pos != e.len) {
        int32_t end_column = column, end_row = row;
        cursor_advance(&end_column, &end_row, static_cast<int64_t>(printed), e.columns);
        if (end_row > e.rows + 1 || (end_row == e.rows + 1 && end_column >= 2)) {
            // The console scrolled while printing: count back from where the
            // printed text really ended.
            console_cursor_position(&e.column, &e.row);
            move_by(e, -static_cast<int64_t>(printed - m));
            e.pos += m;
            e.len += m;
            return;
        }
    }
    move_by(e, static_cast<int64_t>(m));
    e.pos += m;
    e.len += m;
}

void restore_mark_cell(const Editor& e) {
    uint8_t under = e.pos < e.len ? e.line.data[e.pos] : ' ';
    console_channel_print(&under, 1);
    place_back(e);
}

void draw_mark(const Editor& e) {
    static const uint8_t mark = 255;
    console_channel_print(&mark, 1);
    place_back(e);
}

// Waits for the next key, sleeping until one comes (the console's sleep
// hook); 0 when a poll that reported one then gave none. Once the
// console's input has ended for good (terminal gone, display lost), the
// line ends as with Enter: nobody can type the rest of it.
int32_t next_key() {
    while (!keyhit()) {
        if (console_ended()) return KEY_ENTER;
        if (console_take_redraw()) return REDRAW;
        console_sleep(-1);
    }
    StringDesc* k = inkey();
    uint64_t n = string_length(k);
    int32_t code = 0;
    if (n >= 2)
        code = k->data[1] * 256 + EXT_KEY_PREFIX;
    else if (n == 1)
        code = k->data[0];
    temp_string_release(k);
    return code;
}

void act(Editor& e, int32_t code) {
    switch (code) {
    case KEY_BACKSPACE:
        if (e.pos == 0) return;
        move_by(e, -1);
        --e.pos;
        delete_at(e, 1);
        return;
    case KEY_TAB: {
        static const uint8_t spaces[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
        insert_at(e, spaces, ((e.pos + 8) & ~uint64_t{7}) - e.pos);
        return;
    }
    case KEY_ESCAPE:
        move_by(e, -static_cast<int64_t>(e.pos));
        e.pos = 0;
        if (e.len) delete_at(e, e.len);
        return;
    case KEY_HOME:
        move_by(e, -static_cast<int64_t>(e.pos));
        e.pos = 0;
        return;
    case KEY_END:
        move_by(e, static_cast<int64_t>(e.len - e.pos));
        e.pos = e.len;
        return;
    case KEY_LEFT:
        if (e.pos > 0) {
            move_by(e, -1);
            --e.pos;
        }
        return;
    case KEY_RIGHT:
        if (e.pos < e.len) {
            move_by(e, 1);
            ++e.pos;
        }
        return;
    case KEY_UP:
        if (e.pos >= static_cast<uint64_t>(e.columns)) {
            move_by(e, -e.columns);
            e.pos -= e.columns;
        }
        return;
    case KEY_DOWN:
        if (e.pos + e.columns <= e.len) {
            move_by(e, e.columns);
            e.pos += e.columns;
        }
        return;
    case KEY_DELETE:
        if (e.pos == e.len)
            bell_ring();
        else
            delete_at(e, 1);
        return;
    default:
        if (code >= 32 && code <= 255) {
            uint8_t c = static_cast<uint8_t>(code);
            insert_at(e, &c, 1);
        }
        return;
    }
}

// The prompt and the line again where the cursor stands now, on a line of
// their own, and the cursor back at the insertion point.
void redraw(Editor& e) {
    console_cursor_position(&e.column, &e.row);
    if (e.column != 1) {
        static const uint8_t crlf[] = {13, 10};
        console_channel_print(crlf, 2);
    }
    console_channel_print(reinterpret_cast<const uint8_t*>(g_prompt.data()), g_prompt.size());
    if (e.len) console_channel_print(e.line.data, e.len);
    console_cursor_position(&e.column, &e.row);
    move_by(e, -static_cast<int64_t>(e.len - e.pos));
}

StringDesc* hand_over(Editor& e) {
    StringDesc* result = temp_string_alloc(nullptr, e.len);
    if (result && e.len) std::memcpy(result->data, e.line.data, e.len);
    string_delete(&e.line);
    return result ? result : string_empty();
}

}  // namespace

StringDesc* line_edit(int32_t show_mark) {
    Editor e{};
    e.show_mark = show_mark != 0;
    e.cursor_arg = e.show_mark ? 0 : 1;
    console_text_size(&e.columns, &e.rows);
    int32_t kept = (console_locate(0, 0, CURSOR_KEEP) >> 16) & 1;
    hide_cursor();
    console_print_buffer(nullptr, 0, 0);
    console_locate(0, 0, e.cursor_arg);
    console_take_redraw();  // a stale one, from before this line
    int32_t code = 0;
    do {
        console_cursor_position(&e.column, &e.row);
        if (e.show_mark) draw_mark(e);
        code = next_key();
        if (code == 0) continue;
        if (code == REDRAW) {
            redraw(e);
            continue;
        }
        if (e.show_mark) restore_mark_cell(e);
        act(e, code);
        console_locate(0, 0, e.cursor_arg);
    } while (code != KEY_ENTER && code != KEY_LINE_FEED);
    console_cursor_position(&e.column, &e.row);
    move_by(e, static_cast<int64_t>(e.len - e.pos));
    console_locate(0, 0, kept);
    return hand_over(e);
}

ErrorCode line_input_steps(StringDesc* prompt, StringDesc* dest, int32_t add_question_mark, int32_t add_newline,
                           int32_t show_mark) {
    console_print_buffer(nullptr, 0, PRINT_RESOLVE_NEWLINE);
    g_prompt.clear();
    if (prompt) {
        if (string_length(prompt)) {
            console_channel_print(prompt->data, string_length(prompt));
            g_prompt.assign(reinterpret_cast<const char*>(prompt->data), string_length(prompt));
        }
        temp_string_release(prompt);
    }
    if (add_question_mark) {
        console_channel_print(reinterpret_cast<const uint8_t*>("? "), 2);
        g_prompt += "? ";
    }
    StringDesc* line = line_edit(show_mark);
    g_prompt.clear();
    if (add_newline) {
        static const uint8_t crlf[] = {13, 10};
        console_channel_print(crlf, 2);
    }
    string_assign(dest, line);
    return ERR_NONE;
}
