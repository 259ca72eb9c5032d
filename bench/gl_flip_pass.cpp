// The cost of a flip on the "OpenGL" display of the Windows program, run
// under Wine on an Xvfb by bench/wine_gl_measure.sh (Wine's opengl32 draws
// through the Xvfb's GLX, Mesa's software renderer): the page copy as a
// program makes it (swap, then the window's messages), its two halves
// alone, and the clear every frame starts with, to be taken off. Prints
// the median and the spread of the wall time, and the process's CPU time
// per run (the X server's and Wine's own processes not counted).
#include <windows.h>

#include <cstdio>

#include "bench/gl_frames.h"
#include "bench/pass_timer.h"

namespace {

constexpr int PASSES = 2000;

template <class Step>
void measure(const GlFrames& frames, const char* what, bool draw, Step step) {
    const double cpu_before = process_cpu_us();
    const std::vector<double> us = time_runs(PASSES, [&](int i) {
        if (draw) frames.draw(i);
        step();
    });
    const double cpu = (process_cpu_us() - cpu_before) / PASSES;
    report(what, us);
    std::printf("%-44s CPU %8.1f us a run\n", "", cpu);
}

}  // namespace

int main() {
    for (int32_t side : {64, 512}) {
        GlFrames frames;
        if (!frames.open(side)) {
            std::fprintf(stderr, "no OpenGL screen (under Wine set WT_WINE_DISPLAY)\n");
            return 1;
        }
        std::printf("OpenGL screen %d x %d\n", side, side);
        measure(frames, "clear only", true, [&] { frames.finish(); });
        measure(frames, "page copy (flip, then messages)", true, [] { gfx_copy_page(0, 0); });
        measure(frames, "flip only", true, [] { gl_flip(); });
        measure(frames, "messages only", false, [] { gl_poll_events(); });
        frames.close();
    }
    return 0;
}
