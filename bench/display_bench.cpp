// The cost of showing the screen: converting the whole visible page, and a
// whole refresh pass (convert, put the image, wait for the server) as the
// refresh thread makes it, against the X server named by DISPLAY.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "bench/memory_screen.h"
#include "display/converters.h"
#include "display/display_window.h"
#include "display/x11/x11_backend.h"
#include "gfx/screen.h"
#include "runtime/runtime_context.h"

namespace {

void BM_ConvertWholePage(benchmark::State& state) {
    if (!open_memory_screen()) return state.SkipWithError("no screen");
    const Converter convert = get_converter(32, 0);
    std::vector<uint32_t> dest(512 * 512);
    for (auto _ : state) {
        gfx_mark_all_dirty();
        convert(reinterpret_cast<uint8_t*>(dest.data()), 512 * 4);
        benchmark::DoNotOptimize(dest.data());
    }
    gfx_screen_close();
}
BENCHMARK(BM_ConvertWholePage)->Unit(benchmark::kMicrosecond);

// This thread stands in for the refresh thread: it opens the connection and
// the window and runs the pass's picture step with every row dirty.
void BM_FullRefreshPass(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) return state.SkipWithError("DISPLAY is not set");
    if (!open_memory_screen()) return state.SkipWithError("no screen");
    display_window_clear();
    DisplayWindow& w = display_window();
    w.width = w.height = 512;
    w.depth = 8;
    if (x11_open_display() != 0 || x11_window_init() != 0) {
        x11_window_exit();
        x11_close_display();
        gfx_screen_close();
        return state.SkipWithError("no window");
    }
    state.SetLabel(x11_state().picture.shared ? "shared-memory image" : "plain image");
    for (auto _ : state) {
        gfx_mark_all_dirty();
        x11_refresh_picture();
        x11.XSync(x11_state().display, False);
    }
    x11_window_exit();
    x11_close_display();
    gfx_screen_close();
}
BENCHMARK(BM_FullRefreshPass)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
