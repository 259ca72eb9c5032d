#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A raw table as the program writes it: signed 16-bit little-endian
// samples, here whole frames of `frame` samples, at most MAX_FRAMES.
// No samples and no failure: the file is empty.
struct Table {
    std::vector<int16_t> samples;
    std::string failure;
};

Table read_table(const std::string& path, int32_t frame);
