// The cost of one full frame on the Wayland display: the whole visible page
// converted, drawn into a shared-memory buffer at the output's scale and
// committed, as the refresh thread makes it, against the compositor named
// by WAYLAND_DISPLAY. Each frame waits for the compositor's frame callback
// before the next, untimed: the times are the frame's work alone.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench/memory_screen.h"
#include "display/display_window.h"
#include "display/wayland/wl_backend.h"
#include "gfx/screen.h"
#include "runtime/runtime_context.h"

namespace {

// Dispatches until the compositor has shown the last frame.
bool wait_for_frame() {
    WaylandState& w = wl_state();
    while (w.picture.frame_callback)
        if (wl.wl_display_dispatch_pending(w.display) < 0 || wl.wl_display_roundtrip(w.display) < 0) return false;
    return true;
}

// This thread stands in for the refresh thread: it connects, makes the
// window and runs a pass's picture steps with every row dirty.
void BM_FullFrame(benchmark::State& state) {
    if (!wl_display_named()) return state.SkipWithError("no Wayland compositor (WAYLAND_DISPLAY)");
    if (!open_memory_screen()) return state.SkipWithError("no screen");
    display_window_clear();
    DisplayWindow& w = display_window();
    w.width = w.height = 512;
    w.depth = 8;
    if (wl_connect() != 0 || wl_window_init() != 0 || !wl_window_show_first()) {
        wl_window_exit();
        wl_disconnect();
        gfx_screen_close();
        return state.SkipWithError("no window");
    }
    state.SetLabel("factor " + std::to_string(wl_state().window.geometry.factor));
    for (auto _ : state) {
        state.PauseTiming();
        const bool shown = wait_for_frame();
        state.ResumeTiming();
        if (!shown) return state.SkipWithError("the compositor went away");
        gfx_mark_all_dirty();
        wl_picture_take_rows();
        wl_picture_show();
        wl_flush();
    }
    wl_window_exit();
    wl_disconnect();
    gfx_screen_close();
}
BENCHMARK(BM_FullFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
