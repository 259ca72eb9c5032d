#pragma once
#include <cstdint>

// Frame sizes the command writes: powers of two that every reader of both
// formats takes (Surge's limit is 4096; WaveEdit's banks are of 256).
inline constexpr int32_t MIN_FRAME = 256;
inline constexpr int32_t MAX_FRAME = 4096;
inline constexpr int32_t DEFAULT_FRAME = 2048;

// The most frames a wavetable holds: the limit of a .wt file, and more
// than other synthesizers load (256).
inline constexpr int64_t MAX_FRAMES = 512;

inline constexpr bool valid_frame(int64_t frame) {
    return frame >= MIN_FRAME && frame <= MAX_FRAME && (frame & (frame - 1)) == 0;
}
