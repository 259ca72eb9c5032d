#include "generator/run.h"

#include <cstring>

#include "generator/wave.h"
#include "gfx/plot.h"
#include "gfx/screen.h"
#include "runtime/channels.h"
#include "runtime/console.h"
#include "runtime/line_input.h"
#include "runtime/numeric_input.h"
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

bool key_waiting() { return string_compare(inkey(), -1, "", 1) != 0; }

// Steps whose samples reach the files together. 512 bytes per file: a
// whole number of them fills a stream buffer of any power of two from 512
// bytes up, so every buffer fills, and goes to the file, at the same sample
// and in the same order of files as with one write per sample; the files
// and the system's writes are the same, without 458 752 calls through the
// channel layer.
constexpr int64_t BLOCK_STEPS = 256;

// Each value is plotted as soon as it exists, in the order of the shapes,
// so a later shape wins a pixel it shares with an earlier one.
void plot_step(int64_t i, const WaveSamples& s) {
    for (int32_t shape = 0; shape < SHAPE_COUNT; ++shape) {
        const ShapeOutput& out = SHAPE_OUTPUTS.of[shape];
        if (out.colour)
            gfx_pset(nullptr, static_cast<float>(i), plot_row(s.value[shape]), static_cast<uint32_t>(out.colour),
                     COORD_ABSOLUTE, 0);
    }
}

}  // namespace

void generate_waves(int16_t rate) {
    WaveState state;
    wave_start(state, rate);
    int16_t block[SHAPE_COUNT][BLOCK_STEPS];
    static_assert(WAVE_SAMPLE_COUNT % BLOCK_STEPS == 0);
    for (int64_t first = 0; first < WAVE_SAMPLE_COUNT; first += BLOCK_STEPS) {
        for (int64_t k = 0; k < BLOCK_STEPS; ++k) {
            WaveSamples s = wave_step(state);
            plot_step(first + k, s);
            for (int32_t shape = 0; shape < SHAPE_COUNT; ++shape) block[shape][k] = s.value[shape];
        }
        // The samples in the machine's byte order, as one put each would
        // write them.
        for (int32_t shape = 0; shape < SHAPE_COUNT; ++shape)
            file_put(SHAPE_OUTPUTS.of[shape].channel, 0, block[shape], sizeof block[shape]);
    }
}

void run_generator(int argc, char** argv) {
    runtime_static_init();
    runtime_start(argc, argv, 0);
    generator_main();
    runtime_end(0);
}

void generator_main() {
    gfx_screen_res(512, 512, 8, 4, 0, 0);
    open_files();
    line_input(literal("Rate? "), 0, -1);
    int16_t rate = 0;
    input_short(&rate);
    generate_waves(rate);
    file_close_all();
    while (key_waiting()) {
    }
    while (!key_waiting()) {
    }
}
