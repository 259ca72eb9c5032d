#pragma once
#include <cstdint>
#include <span>
#include <vector>

// What a wavetable WAV declares as its sample rate; it does not change how
// a wavetable plays, and 44 100 is what people expect.
inline constexpr uint32_t WAV_SAMPLE_RATE = 44100;

// The text of the `clm ` chunk: frame size, then the flags (linear
// crossfade between frames, not a factory table) and the maker.
inline constexpr const char* CLM_TAIL = " 10000000 wavetable (wavetable-export)";

// A mono WAV of the samples, `frame` samples per frame: 32-bit float
// (sample / 32768, exact), which no reader takes at another level, the
// frame size declared twice, for the readers of either chunk. The chunks:
// `fmt ` (18 bytes), `fact`, `clm `, `srge`, `data`. The samples must be
// whole frames.
std::vector<unsigned char> wav_file(std::span<const int16_t> samples, int32_t frame);
