#pragma once
#include <cstdint>

// How the console makes room for `count` more rows below the text window,
// in screen-buffer rows. A print area that is only a part of the console
// window scrolls by itself. Otherwise the console window first slides down
// through the screen buffer, over rows nobody has seen yet, and only what
// the buffer can't give scrolls the whole buffer up.
struct ScrollPlan {
    int32_t slide;  // rows the console window moves down
    // Rows scroll_top .. scroll_bottom move up by scroll_count (0: none).
    int32_t scroll_top, scroll_bottom, scroll_count;
    // Rows then blanked; none when fill_top > fill_bottom.
    int32_t fill_top, fill_bottom;
};

struct ScrollSpace {
    int32_t area_top, area_bottom;      // the print area
    int32_t window_top, window_bottom;  // the visible console window
    int32_t buffer_rows;                // height of the screen buffer
};

ScrollPlan plan_scroll(const ScrollSpace& space, int32_t count);
