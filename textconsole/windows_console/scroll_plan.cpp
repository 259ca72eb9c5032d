#include "textconsole/windows_console/scroll_plan.h"

#include <algorithm>

namespace {

// The print area alone: what stays moves up, the freed rows are blanked;
// scrolling by its height or more only blanks it.
ScrollPlan scroll_area(const ScrollSpace& s, int32_t count) {
    const int32_t height = s.area_bottom - s.area_top + 1;
    if (count >= height) return {0, 0, 0, 0, s.area_top, s.area_bottom};
    return {0, s.area_top, s.area_bottom, count, s.area_bottom - count + 1, s.area_bottom};
}

}  // namespace

ScrollPlan plan_scroll(const ScrollSpace& s, int32_t count) {
    if (count <= 0) return {0, 0, 0, 0, 1, 0};
    if (s.area_top > s.window_top || s.area_bottom < s.window_bottom) return scroll_area(s, count);
    const int32_t below = std::max(s.buffer_rows - 1 - s.window_bottom, 0);
    ScrollPlan plan{std::min(count, below), 0, 0, 0, 1, 0};
    const int32_t rest = count - plan.slide;
    const int32_t window_bottom = s.window_bottom + plan.slide;
    const int32_t window_rows = s.window_bottom - s.window_top + 1;
    if (rest >= s.buffer_rows) {
        plan.fill_top = 0;
        plan.fill_bottom = s.buffer_rows - 1;
        return plan;
    }
    if (rest > 0) {
        plan.scroll_top = 0;
        plan.scroll_bottom = s.buffer_rows - 1;
        plan.scroll_count = rest;
    }
    // The rows the slide uncovered and those the scroll freed are the last
    // `count` rows of the window where it now stands.
    plan.fill_bottom = window_bottom;
    plan.fill_top = window_bottom - std::min(count, window_rows) + 1;
    return plan;
}
