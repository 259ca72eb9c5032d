// The screen's share of a run: point plotting (dropped by the clip, as
// nearly all of the run's points are, and drawn), and one printed text line,
// on the in-memory screen. The page conversion for the display is measured
// by display_bench (BM_ConvertWholePage).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include "gfx/gfx_text.h"
#include "gfx/plot.h"
#include "gfx/screen.h"
#include "runtime/runtime_context.h"

namespace {

bool open_null_screen() {
    runtime_init();
    setenv("ZVGFX", "null", 1);
    return gfx_screen_res(512, 512, 8, 4, 0, 0) == ERR_NONE;
}

// Points right of the screen, like the run's steps from 512 on.
void BM_PsetClipped(benchmark::State& state) {
    if (!open_null_screen()) return state.SkipWithError("no screen");
    float x = 512.0f;
    for (auto _ : state) {
        gfx_pset(nullptr, x, 255.0f, 12, 4, 0);
        x = x < 65535.0f ? x + 1.0f : 512.0f;
    }
    state.SetItemsProcessed(state.iterations());
    gfx_screen_close();
}
BENCHMARK(BM_PsetClipped);

// Points inside the screen: lock, store, dirty row, unlock.
void BM_PsetDrawn(benchmark::State& state) {
    if (!open_null_screen()) return state.SkipWithError("no screen");
    int32_t i = 0;
    for (auto _ : state) {
        gfx_pset(nullptr, static_cast<float>(i & 511), static_cast<float>((i * 7) & 511), 12, 4, 0);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
    gfx_screen_close();
}
BENCHMARK(BM_PsetDrawn);

// What the batch program pays per point: there is no screen at all.
void BM_PsetNoScreen(benchmark::State& state) {
    runtime_init();
    gfx_screen_close();
    float x = 0.0f;
    for (auto _ : state) {
        gfx_pset(nullptr, x, 255.0f, 12, 4, 0);
        benchmark::DoNotOptimize(x += 1.0f);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PsetNoScreen);

// A line of 63 characters from the first column: no wrap and no scroll, so
// every iteration draws the same glyphs into the same cells.
void BM_PrintLine(benchmark::State& state) {
    if (!open_null_screen()) return state.SkipWithError("no screen");
    static const char line[] = "Rate? 128 and the rest of a line of text, ending at column 63..";
    constexpr int64_t length = sizeof line - 1;
    for (auto _ : state) {
        gfx_locate(10, 1, -1);
        gfx_print(reinterpret_cast<const uint8_t*>(line), length);
    }
    state.SetItemsProcessed(state.iterations() * length);
    state.SetLabel("items = characters");
    gfx_screen_close();
}
BENCHMARK(BM_PrintLine)->Unit(benchmark::kMicrosecond);

}  // namespace
