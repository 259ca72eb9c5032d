#include "runtime/console/text_layout.h"

#include <cstdint>

#include "runtime/console/bell.h"

namespace {

constexpr uint8_t BELL = 7;
constexpr uint8_t BACKSPACE = 8;
constexpr uint8_t TAB = 9;
constexpr uint8_t LINE_FEED = 10;
constexpr uint8_t CARRIAGE_RETURN = 13;
constexpr int32_t TAB_WIDTH = 8;

// The characters gathered since the last control character, and the column
// the cursor will have once they are drawn.
struct PendingRun {
    uint8_t bytes[TEXT_RUN_MAX];
    int32_t count = 0;
    int32_t column = 0;
};

bool below_window(const TextLayout* l) { return l->bottom != -1 && l->y > l->bottom; }

void scroll_into_window(TextLayout* l) {
    if (below_window(l)) l->scroll(l, l->left, l->top, l->right, l->bottom, l->y - l->bottom);
}

int32_t next_row(int32_t y) { return y < INT32_MAX ? y + 1 : y; }

// A cursor stored outside the window's columns (a placement beyond the
// edge) starts on the nearest column, so the wrap arithmetic stays in range.
void clamp_column(TextLayout* l) {
    if (l->x < l->left) l->x = l->left;
    if (l->x > l->right) l->x = l->right;
}

void flush(TextLayout* l, PendingRun& run) {
    if (run.count > 0) text_layout_flush(l, run.bytes, run.count);
    run.count = 0;
    run.column = l->x;
}

void add(TextLayout* l, PendingRun& run, uint8_t c) {
    if (run.count == TEXT_RUN_MAX) flush(l, run);
    run.bytes[run.count++] = c;
    run.column = run.column < l->right ? run.column + 1 : l->left;
}

void tab(TextLayout* l, PendingRun& run) {
    int32_t spaces = TAB_WIDTH - (run.column - l->left) % TAB_WIDTH;
    for (int32_t i = 0; i < spaces; ++i) add(l, run, ' ');
}

bool is_cursor_control(uint8_t c) { return c == BACKSPACE || c == LINE_FEED || c == CARRIAGE_RETURN; }

// Draws what is pending, then applies a backspace, line feed or carriage
// return. True when the cursor really moved.
bool move_cursor(TextLayout* l, PendingRun& run, uint8_t c, bool line_feed_returns) {
    flush(l, run);
    int32_t x = l->x, y = l->y;
    if (c == BACKSPACE && l->x > l->left) --l->x;
    if (c == LINE_FEED) l->y = next_row(l->y);
    if (c == CARRIAGE_RETURN || (c == LINE_FEED && line_feed_returns)) l->x = l->left;
    run.column = l->x;
    return l->x != x || l->y != y;
}

}  // namespace

void text_layout_print(TextLayout* layout, const uint8_t* chars, int64_t count, bool line_feed_returns) {
    if (count <= 0 || layout->right < layout->left) return;
    clamp_column(layout);
    PendingRun run;
    run.column = layout->x;
    bool moved = false;
    for (int64_t i = 0; i < count; ++i) {
        uint8_t c = chars[i];
        if (c == BELL)
            bell_ring();
        else if (c == TAB)
            tab(layout, run);
        else if (is_cursor_control(c))
            moved = move_cursor(layout, run, c, line_feed_returns) || moved;
        else
            add(layout, run, c);
    }
    if (run.count > 0)
        flush(layout, run);
    else if (moved)
        scroll_into_window(layout);
}

void text_layout_flush(TextLayout* layout, const uint8_t* run, int32_t count) {
    if (layout->right < layout->left) return;
    clamp_column(layout);
    while (count > 0) {
        int32_t n = layout->right - layout->x + 1;
        if (n > count) n = count;
        scroll_into_window(layout);
        if (layout->draw(layout, run, n) != 1) return;
        run += n;
        count -= n;
        layout->x += n;
        if (layout->x == layout->right + 1) {
            layout->x = layout->left;
            layout->y = next_row(layout->y);
        }
    }
}

void text_layout_print_call(TextLayout* layout, const uint8_t* chars, int64_t count, bool* pending_newline) {
    if (*pending_newline) {
        *pending_newline = false;
        layout->x = layout->left;
        layout->y = next_row(layout->y);
        scroll_into_window(layout);
    }
    text_layout_print(layout, chars, count, true);
    if (layout->x == layout->left && layout->y == layout->bottom + 1) {
        layout->x = layout->right;
        layout->y = layout->bottom;
        *pending_newline = true;
        return;
    }
    scroll_into_window(layout);
}
