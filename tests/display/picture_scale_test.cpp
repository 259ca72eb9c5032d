#include "display/picture_scale.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(PictureScale, WholeFactorOfTheDpi) {
    struct Case {
        int32_t dpi, scale;
    };
    for (const Case& c : {Case{0, 1}, Case{72, 1}, Case{96, 1}, Case{144, 1}, Case{191, 1}, Case{192, 2}, Case{287, 2},
                          Case{288, 3}, Case{384, 4}})
        EXPECT_EQ(dpi_scale(c.dpi), c.scale) << c.dpi;
}

// Every pixel becomes a block of factor x factor, whatever its size, and
// only the rows asked for are written.
TEST(PictureScale, RowsBecomeBlocks) {
    constexpr int32_t WIDTH = 5, HEIGHT = 4;
    for (int32_t bytes : {1, 2, 3, 4}) {
        for (int32_t factor : {1, 2, 3}) {
            SCOPED_TRACE(std::to_string(bytes) + " bytes a pixel, factor " + std::to_string(factor));
            const int32_t src_pitch = WIDTH * bytes + 3;  // rows with a gap after them
            std::vector<uint8_t> src(static_cast<size_t>(src_pitch * HEIGHT));
            for (size_t i = 0; i < src.size(); ++i) src[i] = static_cast<uint8_t>(i * 37 + 1);
            const int32_t dst_pitch = WIDTH * factor * bytes + 5;
            std::vector<uint8_t> dst(static_cast<size_t>(dst_pitch * HEIGHT * factor), 0xEE);
            scale_rows(src.data(), src_pitch, dst.data(), dst_pitch, WIDTH, bytes, 1, 2, factor);
            for (int32_t y = 0; y < HEIGHT * factor; ++y)
                for (int32_t x = 0; x < dst_pitch; ++x) {
                    const uint8_t got = dst[static_cast<size_t>(y * dst_pitch + x)];
                    const int32_t row = y / factor, column = x / bytes / factor;
                    if (row < 1 || row > 2 || column >= WIDTH) {
                        ASSERT_EQ(got, 0xEE) << "(" << x << ", " << y << ") is not the scaled rows'";
                        continue;
                    }
                    ASSERT_EQ(got, src[static_cast<size_t>(row * src_pitch + column * bytes + x % bytes)])
                        << "byte " << x << " of row " << y;
                }
        }
    }
}

}  // namespace
