#include "generator/run.h"

#include <cstdio>
#include <cstring>

#include "generator/wave.h"
#include "gfx/plot.h"
#include "gfx/screen.h"
#include "runtime/channels.h"
#include "runtime/console/console.h"
#include "runtime/console/line_input.h"
#include "runtime/file_put.h"
#include "runtime/numeric_input.h"
#include "runtime/os.h"
#include "runtime/runtime_context.h"
#include "runtime/strings.h"

float plot_row(int16_t value) {
    return static_cast<float>(511 - static_cast<int64_t>(round_half_even(value / 128.0 + 256.0)));
}

namespace {

constexpr int32_t COORD_ABSOLUTE = 4;

StringDesc* literal(const char* text) { return temp_string_from_literal(text, std::strlen(text)); }

struct ShapeOutput {
    int32_t channel;
    int32_t colour;
};

// Where each shape goes, in the order of the shapes.
constexpr auto SHAPE_OUTPUTS = [] {
    struct {
        ShapeOutput of[SHAPE_COUNT];
    } outputs{};
    for (const WaveFile& f : WAVE_FILES)
        if (f.shape != NO_SHAPE) outputs.of[f.shape] = {f.channel, f.colour};
    return outputs;
}();

void open_files() {
    for (const WaveFile& f : WAVE_FILES) file_open(literal(f.name), MODE_BINARY, ACCESS_DEFAULT, 0, f.channel, 2);
}

// A file that receives no data loses nothing when it can't be written
// (read-only, a directory of that name): it fails only when it cannot be
// there at all.
bool failed(const WaveFile& f) {
    if (!file_fault(f.channel)) return false;
    if (f.shape != NO_SHAPE) return true;
    return !os_path_exists(f.name);
}

// Names each file that could not be written in full, with the system's
// reason, on standard error; whether there was one. A script must not take
// a broken wavetable for a good one.
bool report_failed_files() {
    bool failed_any = false;
    for (const WaveFile& f : WAVE_FILES) {
        if (failed(f)) {
            const int32_t error = file_fault(f.channel);
            std::fprintf(stderr, "wavetable: %s: %s\n", f.name, std::strerror(error));
            failed_any = true;
        }
    }
    return failed_any;
}

bool key_waiting() { return string_compare(inkey(), -1, "", 1) != 0; }

}  // namespace

void generate_waves(int16_t rate) {
    WaveState state;
    wave_start(state, rate);
    for (int64_t i = 0; i < WAVE_SAMPLE_COUNT; ++i) {
        WaveSamples s = wave_step(state);
        // Each value is plotted and written before the next one, so a later
        // shape wins a pixel it shares with an earlier one.
#pragma GCC unroll 7
        for (int32_t shape = 0; shape < SHAPE_COUNT; ++shape) {
            const ShapeOutput& out = SHAPE_OUTPUTS.of[shape];
            if (out.colour)
                gfx_pset(nullptr, static_cast<float>(i), plot_row(s.value[shape]), static_cast<uint32_t>(out.colour),
                         COORD_ABSOLUTE, 0);
            file_put(out.channel, 0, &s.value[shape], 2);
        }
    }
}

void run_generator(int argc, char** argv) {
    runtime_static_init();
    runtime_start(argc, argv, 0);
    runtime_end(generator_main());
}

int32_t generator_main() {
    gfx_screen_res(512, 512, 8, 4, 0, 0);
    open_files();
    line_input(literal("Rate? "), 0, -1);
    int16_t rate = 0;
    input_short(&rate);
    generate_waves(rate);
    file_close_all();
    const bool failed = report_failed_files();
    while (key_waiting()) {
    }
    while (!key_waiting()) {
    }
    return failed ? 1 : 0;
}
