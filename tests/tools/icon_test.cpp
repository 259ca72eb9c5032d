// The icon is drawn once: every committed form of it (the theme's PNGs, the
// Windows icon, the window's pixels) holds what tools/icon_art.cpp draws.
// After a change to the drawing, tools/make_icon writes them all again.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "display/program_icon.h"
#include "tools/icon_art.h"

namespace {

const std::string TOP = WAVETABLE_SOURCE_DIR;

using Bytes = std::vector<uint8_t>;

Bytes read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// A PNG's pixels as 0xAARRGGBB, or nothing when it can't be read.
std::vector<uint32_t> decode_png(const Bytes& bytes, int* size) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<uint32_t> pixels;
    if (png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        image.format = PNG_FORMAT_BGRA;
        pixels.resize(static_cast<size_t>(image.width) * image.height);
        if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) pixels.clear();
        *size = static_cast<int>(image.width);
    }
    png_image_free(&image);
    return pixels;
}

uint32_t le32(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// An icon bitmap: 32-bit rows from the bottom after a 40-byte header.
std::vector<uint32_t> decode_ico_bitmap(const Bytes& b, size_t at, int size) {
    std::vector<uint32_t> pixels(static_cast<size_t>(size) * size);
    if (le32(b, at) != 40 || le32(b, at + 4) != static_cast<uint32_t>(size) ||
        le32(b, at + 8) != 2 * static_cast<uint32_t>(size))
        return {};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            pixels[static_cast<size_t>(size - 1 - y) * size + x] =
                le32(b, at + 40 + 4 * (static_cast<size_t>(y) * size + x));
    return pixels;
}

TEST(ProgramIcon, ThemePngsAreTheDrawing) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::string dims = std::to_string(size) + "x" + std::to_string(size);
        int got_size = 0;
        const std::vector<uint32_t> pixels =
            decode_png(read_bytes(TOP + "/packaging/icons/hicolor/" + dims + "/apps/wavetable.png"), &got_size);
        ASSERT_EQ(got_size, size) << dims;
        EXPECT_TRUE(pixels == icon_art(size)) << dims << ": run tools/make_icon";
    }
}

TEST(ProgramIcon, WindowsIconHoldsFourSizesOfTheDrawing) {
    const Bytes ico = read_bytes(TOP + "/packaging/wavetable.ico");
    ASSERT_GE(ico.size(), 6u + 4 * 16);
    EXPECT_EQ(ico[2] | ico[3] << 8, 1);  // an icon, not a cursor
    ASSERT_EQ(ico[4] | ico[5] << 8, 4);
    const int sizes[4] = {16, 32, 48, 256};
    for (int i = 0; i < 4; ++i) {
        const size_t entry = 6 + 16 * static_cast<size_t>(i);
        const int size = ico[entry] ? ico[entry] : 256;
        ASSERT_EQ(size, sizes[i]);
        EXPECT_EQ(ico[entry + 6] | ico[entry + 7] << 8, 32);  // bits per pixel
        const uint32_t length = le32(ico, entry + 8), offset = le32(ico, entry + 12);
        ASSERT_LE(static_cast<size_t>(offset) + length, ico.size());
        std::vector<uint32_t> pixels;
        int png_size = 0;
        if (size == 256)
            pixels = decode_png(Bytes(ico.begin() + offset, ico.begin() + offset + length), &png_size);
        else
            pixels = decode_ico_bitmap(ico, offset, size);
        EXPECT_TRUE(pixels == icon_art(size)) << size << ": run tools/make_icon";
    }
}

TEST(ProgramIcon, WindowPixelsAreTheDrawing) {
    for (const ProgramIcon& icon : PROGRAM_ICONS) {
        const std::vector<uint32_t> drawn = icon_art(icon.size);
        EXPECT_TRUE(std::equal(drawn.begin(), drawn.end(), icon.pixels)) << icon.size << ": run tools/make_icon";
    }
}

// The drawing itself: a transparent corner, the dark face, and the traces
// in the program's plot colours on it.
TEST(ProgramIcon, DrawingHasTransparentCornersAndColouredTraces) {
    for (int size : {16, 48, 256}) {
        const std::vector<uint32_t> p = icon_art(size);
        EXPECT_EQ(p[0] >> 24, 0u) << size;
        EXPECT_EQ(p[static_cast<size_t>(size) * size / 2 + size / 2] >> 24, 0xFFu) << size;
        bool light_red = false;  // the sawtooth's colour
        for (uint32_t px : p) light_red = light_red || (px & 0xFFFFFF) == 0xFF5555;
        EXPECT_TRUE(light_red) << size;
    }
}

}  // namespace
