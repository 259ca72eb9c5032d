#pragma once
#include <cstdint>

// The list of display sizes a driver's fetch_modes gives: one entry of
// width x 65536 + height per mode, in memory the caller frees (free).
struct ModeList {
    int32_t* entries;
    int32_t count;
    int32_t capacity;
};

// Appends a size; false when the list cannot grow (it keeps what it has).
bool mode_list_add(ModeList& list, uint32_t width, uint32_t height);

// Whether a mode of the display's depth serves the depth asked for: the
// same, or one stored alike (15 and 16, 24 and 32).
bool mode_depth_matches(int32_t display_depth, int32_t depth);
