#include "textconsole/windows_console/scroll_plan.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* what;
    ScrollSpace space;
    int32_t count;
    ScrollPlan plan;
};

bool same(const ScrollPlan& a, const ScrollPlan& b) {
    const bool fills = a.fill_top <= a.fill_bottom;
    return a.slide == b.slide && a.scroll_count == b.scroll_count &&
           (a.scroll_count == 0 || (a.scroll_top == b.scroll_top && a.scroll_bottom == b.scroll_bottom)) &&
           fills == (b.fill_top <= b.fill_bottom) &&
           (!fills || (a.fill_top == b.fill_top && a.fill_bottom == b.fill_bottom));
}

std::string describe(const ScrollPlan& p) {
    return "slide " + std::to_string(p.slide) + ", scroll " + std::to_string(p.scroll_top) + ".." +
           std::to_string(p.scroll_bottom) + " by " + std::to_string(p.scroll_count) + ", fill " +
           std::to_string(p.fill_top) + ".." + std::to_string(p.fill_bottom);
}

TEST(ScrollPlan, WindowSlidesThroughTheBufferBeforeTheBufferScrolls) {
    // clang-format off
    const Case cases[] = {
        // Print area 25 rows inside a 25-row window at the top of a 300-row buffer.
        {"room below: the window slides", {0, 24, 0, 24, 300}, 1, {1, 0, 0, 0, 25, 25}},
        {"more than a window of rows: it slides, and only its rows are blanked", {0, 24, 0, 24, 300}, 40,
         {40, 0, 0, 0, 40, 64}},
        {"five rows left below: slide 5, the buffer scrolls 3", {270, 294, 270, 294, 300}, 8,
         {5, 0, 299, 3, 292, 299}},
        {"at the end of the buffer: the buffer scrolls", {275, 299, 275, 299, 300}, 1, {0, 0, 299, 1, 299, 299}},
        {"buffer as tall as the window", {0, 23, 0, 23, 24}, 2, {0, 0, 23, 2, 22, 23}},
        {"scrolling by the buffer's height blanks it", {0, 23, 0, 23, 24}, 24, {0, 0, 0, 0, 0, 23}},
        {"scrolling by less than a window", {0, 23, 0, 23, 24}, 23, {0, 0, 23, 23, 1, 23}},
        // A print area that is only a part of the window scrolls by itself.
        {"area rows 2..10 of the window", {2, 10, 0, 24, 300}, 1, {0, 2, 10, 1, 10, 10}},
        {"area ending above the window's bottom", {0, 10, 0, 24, 300}, 3, {0, 0, 10, 3, 8, 10}},
        {"area scrolled by its height is blanked", {2, 10, 0, 24, 300}, 9, {0, 0, 0, 0, 2, 10}},
        {"nothing to scroll", {0, 24, 0, 24, 300}, 0, {0, 0, 0, 0, 1, 0}},
    };
    // clang-format on
    for (const Case& c : cases) {
        const ScrollPlan got = plan_scroll(c.space, c.count);
        EXPECT_TRUE(same(got, c.plan)) << c.what << ": got " << describe(got) << ", want " << describe(c.plan);
    }
}

}  // namespace
