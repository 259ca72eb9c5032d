#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// With rate r the program's phase advances r per sample, so a frame of N
// samples holds |r| * N / 65536 cycles and loops cleanly when that is
// whole. Empty when it is, else the note: "rate 100 puts 3.125 cycles in
// each 2048-sample frame; ...".
std::string cycle_fit_note(int16_t rate, int32_t frame);

// The rate of the run that wrote the sawtooth file at `path`: its second
// sample less its first, modulo 65536. None when it holds no two samples.
std::optional<int16_t> sawtooth_rate(const std::string& path);

// One "NAME: note" for each folder of the inputs whose sawtooth.bin tells a
// rate that does not fit the frames, in the order of the inputs.
std::vector<std::string> cycle_fit_notes(const std::vector<std::string>& inputs, int32_t frame);
