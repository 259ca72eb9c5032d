// Printing and the cursor on the Windows console: cells written with the
// buffer's current attribute, the layout rules shared with the graphics
// screen, scrolling through the screen buffer. Output that is no console
// (a file, a pipe) gets the bytes unchanged.
#include <algorithm>

#include "runtime/console/print_area.h"
#include "runtime/console/text_layout.h"
#include "textconsole/text_console.h"
#include "textconsole/windows_console/scroll_plan.h"
#include "textconsole/windows_console/win_console.h"

namespace {

// One print call's view of the console.
struct ConsolePrint {
    HANDLE output;
    WORD attribute;
    SHORT buffer_rows;
    SMALL_RECT shown;  // the visible window, moved by a slide
    bool slid;
};

ConsolePrint* print_of(TextLayout* layout) { return static_cast<ConsolePrint*>(layout->owner); }

void write_raw(HANDLE output, const uint8_t* chars, int64_t count) {
    while (count > 0) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<int64_t>(count, 0x10000000));
        if (!WriteFile(output, chars, chunk, &written, nullptr) || written == 0) return;
        chars += written;
        count -= written;
    }
}

int32_t console_draw(TextLayout* layout, const uint8_t* chars, int32_t count) {
    const ConsolePrint* p = print_of(layout);
    CHAR_INFO cells[TEXT_RUN_MAX];
    count = std::min(count, TEXT_RUN_MAX);
    for (int32_t i = 0; i < count; ++i) {
        cells[i].Char.AsciiChar = static_cast<CHAR>(chars[i]);
        cells[i].Attributes = p->attribute;
    }
    SMALL_RECT target{static_cast<SHORT>(layout->x), static_cast<SHORT>(layout->y),
                      static_cast<SHORT>(layout->x + count - 1), static_cast<SHORT>(layout->y)};
    // A console that refuses the cells ends the print where it stands.
    return WriteConsoleOutputA(p->output, cells, COORD{static_cast<SHORT>(count), 1}, COORD{0, 0}, &target) ? 1 : 0;
}

void fill_rows(const ConsolePrint* p, int32_t left, int32_t right, int32_t top, int32_t bottom) {
    const DWORD width = static_cast<DWORD>(right - left + 1);
    for (int32_t row = top; row <= bottom; ++row) {
        const COORD at{static_cast<SHORT>(left), static_cast<SHORT>(row)};
        DWORD done = 0;
        FillConsoleOutputAttribute(p->output, p->attribute, width, at, &done);
        FillConsoleOutputCharacterA(p->output, ' ', width, at, &done);
    }
}

// Rows top + count .. bottom move up to top, clipped to top .. bottom; the
// console blanks what they leave. (A destination above the buffer would
// do the same on Windows, but Wine refuses it.)
bool scroll_rows(const ConsolePrint* p, int32_t left, int32_t right, int32_t top, int32_t bottom, int32_t count) {
    const SMALL_RECT moved{static_cast<SHORT>(left), static_cast<SHORT>(top + count), static_cast<SHORT>(right),
                           static_cast<SHORT>(bottom)};
    const SMALL_RECT rows{static_cast<SHORT>(left), static_cast<SHORT>(top), static_cast<SHORT>(right),
                          static_cast<SHORT>(bottom)};
    CHAR_INFO fill{};
    fill.Char.AsciiChar = ' ';
    fill.Attributes = p->attribute;
    return ScrollConsoleScreenBufferA(p->output, &moved, &rows,
                                      COORD{static_cast<SHORT>(left), static_cast<SHORT>(top)}, &fill);
}

void console_scroll(TextLayout* layout, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t count) {
    ConsolePrint* p = print_of(layout);
    const ScrollPlan plan = plan_scroll({top, bottom, p->shown.Top, p->shown.Bottom, p->buffer_rows}, count);
    if (plan.slide > 0) {
        p->shown.Top = static_cast<SHORT>(p->shown.Top + plan.slide);
        p->shown.Bottom = static_cast<SHORT>(p->shown.Bottom + plan.slide);
        p->slid = true;
        layout->top += plan.slide;
        layout->bottom += plan.slide;
    }
    layout->y = layout->bottom;
    // Rows that could not move are not blanked either: no text is lost.
    if (plan.scroll_count > 0 && !scroll_rows(p, left, right, plan.scroll_top, plan.scroll_bottom, plan.scroll_count))
        return;
    fill_rows(p, left, right, plan.fill_top, plan.fill_bottom);
}

// The print area in buffer rows, kept inside the console window.
void area_rows(const SMALL_RECT& window, int32_t* top, int32_t* bottom) {
    int32_t area_top = 0, area_bottom = 0;
    print_area_get(&area_top, &area_bottom);
    *top = std::clamp(window.Top + area_top - 1, int32_t{window.Top}, int32_t{window.Bottom});
    *bottom = std::clamp(window.Top + area_bottom - 1, *top, int32_t{window.Bottom});
}

void print_in_window(const CONSOLE_SCREEN_BUFFER_INFO& info, const uint8_t* chars, int64_t count) {
    WinConsole& c = win_console();
    ConsolePrint p{c.output, info.wAttributes, info.dwSize.Y, info.srWindow, false};
    TextLayout layout{};
    layout.owner = &p;
    layout.scroll = console_scroll;
    layout.draw = console_draw;
    layout.left = c.window.Left;
    layout.right = c.window.Right;
    area_rows(c.window, &layout.top, &layout.bottom);
    layout.x = info.dwCursorPosition.X;
    layout.y = info.dwCursorPosition.Y;
    text_layout_print_call(&layout, chars, count, &c.pending_newline);
    // A cursor or window the console refuses stays where the console has
    // it; the refresh below reads back what it did.
    SetConsoleCursorPosition(c.output, COORD{static_cast<SHORT>(layout.x), static_cast<SHORT>(layout.y)});
    if (p.slid) SetConsoleWindowInfo(c.output, TRUE, &p.shown);
    console_refresh(nullptr);
}

}  // namespace

void text_console_print(const uint8_t* chars, int64_t count, int32_t mask) {
    if (count <= 0 && !(mask & 0x8)) return;
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!console_refresh(&info)) {
        write_raw(win_console().output, chars, count);
        return;
    }
    print_in_window(info, chars, std::max<int64_t>(count, 0));
}

int32_t text_console_locate(int32_t row, int32_t column, int32_t cursor) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    const bool window = console_refresh(&info);
    WinConsole& c = win_console();
    if (column < 1) column = window ? info.dwCursorPosition.X - c.window.Left + 1 : 0;
    if (row < 1) row = window ? info.dwCursorPosition.Y - c.window.Top + 1 : 0;
    int32_t result = ((row * 256) & 0xFFFF) | (column & 0xFF);
    if (!window) return result;
    CONSOLE_CURSOR_INFO shape{};
    const bool known = GetConsoleCursorInfo(c.output, &shape);
    if (known && shape.bVisible) result |= 0x10000;
    if (known && cursor >= 0) {
        shape.bVisible = cursor != 0;
        SetConsoleCursorInfo(c.output, &shape);
    }
    c.pending_newline = false;
    SetConsoleCursorPosition(
        c.output, COORD{static_cast<SHORT>(column + c.window.Left - 1), static_cast<SHORT>(row + c.window.Top - 1)});
    return result;
}

void text_console_cursor_position(int32_t* column, int32_t* row) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    const bool window = console_refresh(&info);
    const SMALL_RECT& w = win_console().window;
    if (column) *column = window ? info.dwCursorPosition.X - w.Left + 1 : 0;
    if (row) *row = window ? info.dwCursorPosition.Y - w.Top + 1 : 0;
}

void text_console_size(int32_t* columns, int32_t* rows) {
    const bool window = console_refresh(nullptr);
    const SMALL_RECT& w = win_console().window;
    if (columns) *columns = window ? w.Right - w.Left + 1 : 80;
    if (rows) *rows = window ? w.Bottom - w.Top + 1 : 25;
}
