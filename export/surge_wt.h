#pragma once
#include <cstdint>
#include <span>
#include <vector>

// Surge's .wt of the samples, `frame` samples per frame: the int16 data
// unchanged, flagged as using the full 16-bit range, so that Surge plays
// it at its level. The samples must be whole frames, at most 512 of them.
std::vector<unsigned char> surge_wt_file(std::span<const int16_t> samples, int32_t frame);
