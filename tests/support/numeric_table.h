#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Typed replies and the signed 16-bit rate each must give.
// clang-format off
inline const std::vector<std::pair<std::string, int16_t>> NUMERIC_INPUT_TABLE = {
    {"", 0},           {"128", 128},     {"   128   ", 128}, {"-5", -5},          {"+7", 7},
    {"70000", 4464},   {"65535", -1},    {"99999999999", -1}, {"3000000000", 24064}, {"3000000000.0", 0},
    {"70000.0", 4464}, {"2.5", 2},       {"3.5", 4},          {"-2.5", -2},        {"-1.5", -2},
    {"1e3", 1000},     {"1d3", 1000},    {"1E10", 0},         {"&HFF", 255},       {"&HFFFF", -1},
    {"&H1E", 30},      {"&O17", 15},     {"&17", 15},         {"&B101", 5},        {"12abc", 12},
    {"abc", 0},        {"hello", 0},     {"0x10", 0},         {"0x1.8", 0},        {"1,5", 1},
    {"1 2", 1},        {"\"12\"", 12},   {"\"1\"2", 12},      {std::string(70, '1'), -1},
};
// clang-format on
