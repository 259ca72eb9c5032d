#include "display/mode_list.h"

#include <cstdlib>

bool mode_list_add(ModeList& list, uint32_t width, uint32_t height) {
    if (list.count == list.capacity) {
        const int32_t capacity = list.capacity ? list.capacity * 2 : 16;
        void* grown = std::realloc(list.entries, static_cast<size_t>(capacity) * sizeof(int32_t));
        if (!grown) return false;
        list.entries = static_cast<int32_t*>(grown);
        list.capacity = capacity;
    }
    list.entries[list.count++] = static_cast<int32_t>(width << 16 | (height & 0xFFFF));
    return true;
}

bool mode_depth_matches(int32_t display_depth, int32_t depth) {
    if (depth == display_depth) return true;
    switch (display_depth) {
    case 15: return depth == 16;
    case 16: return depth == 15;
    case 24: return depth == 32;
    case 32: return depth == 24;
    default: return false;
    }
}
