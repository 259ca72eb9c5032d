#include <cstring>

#include "gfx/screen.h"

namespace {

template <typename Pixel>
void put(uint8_t* row, int32_t x, uint32_t colour) {
    Pixel p = static_cast<Pixel>(colour);
    std::memcpy(row + x * static_cast<int32_t>(sizeof(Pixel)), &p, sizeof p);
}

template <typename Pixel>
uint32_t get(const uint8_t* row, int32_t x) {
    Pixel p;
    std::memcpy(&p, row + x * static_cast<int32_t>(sizeof(Pixel)), sizeof p);
    return p;
}

template <typename Pixel>
void fill(uint8_t* row, int32_t x, int32_t n, uint32_t colour) {
    if (sizeof(Pixel) == 1) {
        std::memset(row + x, static_cast<int>(colour & 0xFF), static_cast<size_t>(n));
        return;
    }
    for (int32_t i = 0; i < n; ++i) put<Pixel>(row, x + i, colour);
}

template <typename Pixel>
void copy(uint8_t* dst, const uint8_t* src, int32_t x, int32_t n) {
    std::memmove(dst + x * static_cast<int32_t>(sizeof(Pixel)), src + x * static_cast<int32_t>(sizeof(Pixel)),
                 static_cast<size_t>(n) * sizeof(Pixel));
}

template <typename Pixel>
constexpr PixelOps ops_for() {
    return PixelOps{put<Pixel>, get<Pixel>, fill<Pixel>, copy<Pixel>};
}

constexpr PixelOps OPS[3] = {ops_for<uint8_t>(), ops_for<uint16_t>(), ops_for<uint32_t>()};

}  // namespace

const PixelOps* gfx_pixel_ops(int32_t bytes_per_pixel) {
    switch (bytes_per_pixel) {
    case 1: return &OPS[0];
    case 2: return &OPS[1];
    case 4: return &OPS[2];
    default: return nullptr;
    }
}
