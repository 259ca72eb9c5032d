#include "export/surge_wt.h"

#include "export/byte_image.h"

namespace {

constexpr uint16_t FLAG_INT16 = 0x04;
constexpr uint16_t FLAG_FULL_RANGE = 0x08;

}  // namespace

std::vector<unsigned char> surge_wt_file(std::span<const int16_t> samples, int32_t frame) {
    ByteImage image;
    image.reserve(12 + samples.size() * 2);
    image.text("vawt");
    image.u32(static_cast<uint32_t>(frame));
    image.u16(static_cast<uint16_t>(samples.size() / static_cast<size_t>(frame)));
    image.u16(FLAG_INT16 | FLAG_FULL_RANGE);
    for (int16_t sample : samples) image.u16(static_cast<uint16_t>(sample));
    return image.take();
}
