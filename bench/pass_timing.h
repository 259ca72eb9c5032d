#pragma once
// What the refresh-pass measurements of the Windows back-ends share: timed
// runs of an operation, their median and spread, and a page with
// something on every row.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "gfx/screen.h"

namespace pass_timing {

inline void report(const char* what, std::vector<double> us) {
    std::sort(us.begin(), us.end());
    std::printf("%-48s median %8.1f us   p10 %8.1f   p90 %8.1f   (%zu runs)\n", what, us[us.size() / 2],
                us[us.size() / 10], us[us.size() * 9 / 10], us.size());
}

template <class F>
std::vector<double> time_runs(int runs, F run) {
    std::vector<double> us;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run(i);
        us.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    return us;
}

// Something on every row, so that no row is blank.
inline void fill_page() {
    gfx_lock();
    GfxScreen* s = g_gfx_screen;
    for (int32_t y = 0; y < s->height; ++y)
        for (int32_t x = 0; x < s->width; ++x) s->visible_pixels[y * s->pitch + x] = static_cast<uint8_t>(x ^ y);
    gfx_unlock(-1, -1);
}

inline void mark_all_dirty() {
    gfx_lock();
    gfx_mark_all_dirty();
    gfx_unlock(1, 0);
}

}  // namespace pass_timing
