// The cost of a flip on the OpenGL display, against the X server named by
// DISPLAY (bench/display_measure.sh runs it on an Xvfb, whose OpenGL is
// Mesa's software renderer): the page copy as a program makes it (swap, then the
// window's events), and its two halves alone. Every iteration first
// clears the back buffer, so there is a new picture to present; the clear
// alone is measured too, to be taken off.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench/gl_frames.h"

namespace {

GlFrames g_frames;

bool open_screen(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("DISPLAY is not set");
        return false;
    }
    if (!g_frames.open(static_cast<int32_t>(state.range(0)))) {
        state.SkipWithError("no OpenGL screen");
        return false;
    }
    return true;
}

template <class Step>
void frames(benchmark::State& state, Step step) {
    if (!open_screen(state)) return;
    int64_t frame = 0;
    for (auto _ : state) {
        g_frames.draw(frame++);
        step();
    }
    g_frames.close();
}

void BM_ClearOnly(benchmark::State& state) {
    frames(state, [] { g_frames.finish(); });
}

void BM_PageCopy(benchmark::State& state) {
    frames(state, [] { gfx_copy_page(0, 0); });
}

void BM_FlipOnly(benchmark::State& state) {
    frames(state, [] { gl_flip(); });
}

void BM_PollEventsOnly(benchmark::State& state) {
    if (!open_screen(state)) return;
    for (auto _ : state) gl_poll_events();
    g_frames.close();
}

BENCHMARK(BM_ClearOnly)->Arg(64)->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageCopy)->Arg(64)->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FlipOnly)->Arg(64)->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PollEventsOnly)->Arg(512)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
