#include "display/directx/dx_mode_search.h"

namespace {

constexpr uint32_t GREEN_555 = 0x3E0;

}  // namespace

int32_t dx_partner_depth(int32_t depth) {
    switch (depth) {
    case 16: return 15;
    case 15: return 16;
    case 24: return 32;
    case 32: return 24;
    default: return 0;
    }
}

int32_t dx_next_height(int32_t height) {
    if (height < 240) return 240;
    if (height < 480) return 480;
    if (height < 600) return 600;
    if (height <= 767) return 768;
    if (height <= 1023) return 1024;
    return -1;
}

int32_t dx_find_display_mode(int32_t width, int32_t height, int32_t depth, const TryDisplayMode& try_mode) {
    const int32_t partner = dx_partner_depth(depth);
    for (int32_t h = height; h >= 0; h = dx_next_height(h)) {
        if (try_mode(width, h, depth) || (partner && try_mode(width, h, partner))) return (h - height) >> 1;
    }
    return -1;
}

int32_t dx_surface_bits(uint32_t bit_count, uint32_t green_mask) {
    if (bit_count == 16 && green_mask == GREEN_555) return 15;
    return static_cast<int32_t>(bit_count);
}

int32_t dx_destination_order(int32_t bits, uint32_t red_mask) {
    switch (bits) {
    case 15:
    case 16: return red_mask == 0x1F ? 1 : 0;
    case 24:
    case 32: return red_mask == 0xFF || red_mask == 0x1F ? 1 : 0;
    default: return 0;
    }
}
