#pragma once
#include <cstdint>

// One print call's view of a text window: the layout rules (wrap, tabs,
// control characters, scrolling) are shared by the graphics screen and the
// character console; the draw and scroll routines are theirs.
struct TextLayout;

using TextScrollFn = void (*)(TextLayout* layout, int32_t left, int32_t top, int32_t right, int32_t bottom,
                              int32_t count);
using TextDrawFn = int32_t (*)(TextLayout* layout, const uint8_t* chars, int32_t count);  // 1 to go on

struct TextLayout {
    void* owner;  // the print call's own record
    TextScrollFn scroll;
    TextDrawFn draw;
    int32_t left, top, right, bottom;  // 0-based cells; bottom -1 disables scrolling
    int32_t x, y;                      // the cursor, 0-based
};

inline constexpr int32_t TEXT_RUN_MAX = 1024;

void text_layout_print(TextLayout* layout, const uint8_t* chars, int64_t count, bool line_feed_returns);
void text_layout_flush(TextLayout* layout, const uint8_t* run, int32_t count);

// One print call of a console, around text_layout_print: a line break that
// the last call left pending (*pending_newline) is carried out first,
// scrolling when it leaves the window. Text that ends exactly at the end of
// the bottom row (or a wrap that leaves the cursor just below the window)
// parks the cursor on the last cell and leaves the line break pending
// instead of scrolling; otherwise a cursor below the window scrolls.
void text_layout_print_call(TextLayout* layout, const uint8_t* chars, int64_t count, bool* pending_newline);
