#include "display/picture_scale.h"

#include <cstddef>
#include <cstring>

namespace {

// Pixels are copied as bytes: rows need not start on a pixel's alignment.
template <class Pixel>
void scale_row(const uint8_t* src, uint8_t* dst, int32_t width, int32_t factor) {
    for (int32_t x = 0; x < width; ++x, src += sizeof(Pixel)) {
        Pixel p;
        std::memcpy(&p, src, sizeof p);
        for (int32_t k = 0; k < factor; ++k, dst += sizeof p) std::memcpy(dst, &p, sizeof p);
    }
}

}  // namespace

// 24-bit pixels a byte group at a time.
void scale_row_across(const uint8_t* src, uint8_t* dst, int32_t width, int32_t bytes, int32_t factor) {
    if (bytes == 4) return scale_row<uint32_t>(src, dst, width, factor);
    if (bytes == 2) return scale_row<uint16_t>(src, dst, width, factor);
    if (bytes == 1) return scale_row<uint8_t>(src, dst, width, factor);
    for (int32_t x = 0; x < width; ++x)
        for (int32_t k = 0; k < factor; ++k, dst += bytes)
            std::memcpy(dst, src + x * bytes, static_cast<size_t>(bytes));
}

void scale_rows(const uint8_t* src, int32_t src_pitch, uint8_t* dst, int32_t dst_pitch, int32_t width,
                int32_t bytes_per_pixel, int32_t first, int32_t last, int32_t factor) {
    const size_t row_bytes = static_cast<size_t>(width) * static_cast<size_t>(factor * bytes_per_pixel);
    for (int32_t y = first; y <= last; ++y) {
        uint8_t* out = dst + static_cast<ptrdiff_t>(y) * factor * dst_pitch;
        scale_row_across(src + static_cast<ptrdiff_t>(y) * src_pitch, out, width, bytes_per_pixel, factor);
        for (int32_t k = 1; k < factor; ++k) std::memcpy(out + static_cast<ptrdiff_t>(k) * dst_pitch, out, row_bytes);
    }
}
