#pragma once
#include <cstdint>

#include "generator/wave.h"

inline constexpr int32_t NO_SHAPE = -1;

// One wavetable file: its channel, its name, the shape written to it and
// the palette colour of its plot (0 = not plotted).
struct WaveFile {
    int32_t channel;
    const char* name;
    int32_t shape;
    int32_t colour;
};

// In the order the files are opened.
inline constexpr WaveFile WAVE_FILES[8] = {
    {12, "sawtooth.bin", SAWTOOTH, 12}, {9, "squaresaw.bin", SQUARESAW, 9},   {5, "sineish.bin", SINEISH, 5},
    {2, "moogsaw.bin", MOOGSAW, 2},     {4, "moogsquare.bin", MOOGSQUARE, 4}, {8, "trisquare.bin", NO_SHAPE, 0},
    {7, "triangle.bin", TRIANGLE, 7},   {15, "square.bin", SQUARE, 0},
};

inline constexpr int64_t WAVE_SAMPLE_COUNT = 65536;

// Row of the plot for a sample value: 511 - R(v / 128 + 256), -1 above the top.
float plot_row(int16_t value);

// The program: opens the screen and the files, asks for the rate, writes
// and plots the seven shapes, waits for a key and ends the process with
// the status generator_main gives.
[[noreturn]] void run_generator(int argc, char** argv);

// The run between the start of the runtime and its end: screen, files,
// the rate, the waves, the drain and the final key. The exit status: 0, or
// 1 when a file could not be written in full (each such file is named on
// standard error).
int32_t generator_main();

// The steps between the rate and the closing of the files, for callers
// that set up the runtime themselves (tests, benchmarks).
void generate_waves(int16_t rate);
