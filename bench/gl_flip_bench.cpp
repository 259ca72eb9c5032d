// The cost of a flip on the OpenGL display, against the X server named by
// DISPLAY (bench/display_measure.sh runs it on an Xvfb, whose OpenGL is
// Mesa's software renderer): the page copy as a program makes it (swap, then the
// window's events), and its two halves alone. Every iteration first
// clears the back buffer, so there is a new picture to present; the clear
// alone is measured too, to be taken off.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstdlib>

#include "display/opengl/gl_driver.h"
#include "gfx/gfx_pages.h"
#include "gfx/screen.h"
#include "runtime/runtime_context.h"

namespace {

struct Gl {
    decltype(&::glClearColor) clear_color;
    decltype(&::glClear) clear;
    decltype(&::glFinish) finish;
};

Gl g_gl;

// An OpenGL screen of side x side pixels.
bool open_screen(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("DISPLAY is not set");
        return false;
    }
    runtime_init();
    const auto side = static_cast<int32_t>(state.range(0));
    if (gfx_screen_res(side, side, 32, 1, SCREEN_OPENGL, 0) != ERR_NONE || g_gfx_screen->driver->flip == nullptr) {
        state.SkipWithError("no OpenGL screen");
        return false;
    }
    g_gl.clear_color = reinterpret_cast<decltype(g_gl.clear_color)>(gl_get_proc_address("glClearColor"));
    g_gl.clear = reinterpret_cast<decltype(g_gl.clear)>(gl_get_proc_address("glClear"));
    g_gl.finish = reinterpret_cast<decltype(g_gl.finish)>(gl_get_proc_address("glFinish"));
    return g_gl.clear_color && g_gl.clear && g_gl.finish;
}

void draw(int64_t frame) {
    g_gl.clear_color(static_cast<float>(frame & 1), 0.5f, 0.25f, 1.0f);
    g_gl.clear(GL_COLOR_BUFFER_BIT);
}

template <class Step>
void frames(benchmark::State& state, Step step) {
    if (!open_screen(state)) return;
    int64_t frame = 0;
    for (auto _ : state) {
        draw(frame++);
        step();
    }
    g_gl.finish();
    gfx_screen_close();
}

void BM_ClearOnly(benchmark::State& state) {
    frames(state, [] { g_gl.finish(); });
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
    gfx_screen_close();
}

BENCHMARK(BM_ClearOnly)->Arg(64)->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageCopy)->Arg(64)->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FlipOnly)->Arg(64)->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PollEventsOnly)->Arg(512)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
