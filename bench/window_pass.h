#pragma once
// What the refresh-pass measurements of the Windows window drivers share:
// a page with something on every row, every row marked for the display,
// and passes timed with the process's CPU time besides the wall time (a
// DirectDraw blit under Wine runs on Mesa's threads as well as the
// caller's).
#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "bench/pass_timer.h"
#include "gfx/screen.h"

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

// Kernel and user time of every thread of the process so far.
inline double process_cpu_us() {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0;
    const auto us = [](const FILETIME& t) {
        return static_cast<double>(static_cast<uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10.0;
    };
    return us(kernel) + us(user);
}

// The runs' wall times as report() prints them, then the process's CPU
// time per run.
template <class F>
void report_with_cpu(const char* what, int passes, F run) {
    const double before = process_cpu_us();
    report(what, time_runs(passes, run));
    std::printf("%-44s %8.1f us of CPU a run (all threads)\n", "", (process_cpu_us() - before) / passes);
}
