#include "display/converters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "gfx/screen.h"

namespace {

constexpr uint8_t UNTOUCHED = 0xA5;

int32_t bytes_for_depth(int32_t depth) {
    switch (depth) {
    case 8: return 1;
    case 15:
    case 16: return 2;
    case 24: return 3;
    default: return 4;
    }
}

struct Rgb {
    uint32_t r, g, b;
};

// The colour a source pixel shows, as 8-bit channels.
Rgb source_colour(int32_t depth, uint32_t pixel, const std::vector<uint32_t>& palette) {
    if (depth == 16) return {(pixel >> 11) << 3, ((pixel >> 5) & 63) << 2, (pixel & 31) << 3};
    if (depth == 32) return {(pixel >> 16) & 255, (pixel >> 8) & 255, pixel & 255};
    const uint32_t entry = palette[pixel];
    return {entry & 255, (entry >> 8) & 255, (entry >> 16) & 255};
}

// A colour written channel by channel: the top bits of each, blue low in
// order 0 and red low in order 1. 24 bits are read back least byte first.
uint32_t encode(int32_t dest_depth, int32_t order, Rgb c) {
    const uint32_t low = order == 0 ? c.b : c.r;
    const uint32_t high = order == 0 ? c.r : c.b;
    switch (dest_depth) {
    case 15: return ((high >> 3) << 10) | ((c.g >> 3) << 5) | (low >> 3);
    case 16: return ((high >> 3) << 11) | ((c.g >> 2) << 5) | (low >> 3);
    default: return (high << 16) | (c.g << 8) | low;
    }
}

struct Member {
    int32_t screen_depth;
    int32_t dest_depth;
    int32_t order;
};

std::string describe(const Member& m) {
    return "screen " + std::to_string(m.screen_depth) + " -> " + std::to_string(m.dest_depth) + " order " +
           std::to_string(m.order);
}

std::vector<Member> all_members() {
    std::vector<Member> members;
    for (int32_t order = 0; order < 2; ++order) {
        members.push_back({8, 8, order});
        for (int32_t screen : {8, 16, 32})
            for (int32_t dest : {15, 16, 24, 32}) members.push_back({screen, dest, order});
    }
    return members;
}

// Destination rows with slack after each row, starting at an odd address,
// prefilled so that untouched bytes can be told apart.
struct Destination {
    Destination(int32_t rows, int32_t row_bytes)
        : row_bytes(row_bytes), pitch(row_bytes + 3), bytes(1 + static_cast<size_t>(rows) * pitch, UNTOUCHED) {}
    uint8_t* start() { return bytes.data() + 1; }
    uint32_t pixel(int32_t row, int32_t x, int32_t size) {
        const uint8_t* p = start() + row * pitch + x * size;
        uint32_t value = 0;
        for (int32_t i = 0; i < size; ++i) value |= static_cast<uint32_t>(p[i]) << (8 * i);
        return value;
    }
    bool untouched(int32_t row, int32_t from) {
        for (int32_t i = from; i < pitch; ++i)
            if (start()[row * pitch + i] != UNTOUCHED) return false;
        return true;
    }
    int32_t row_bytes;
    int32_t pitch;
    std::vector<uint8_t> bytes;
};

class ConvertersTest : public ::testing::Test {
   protected:
    void TearDown() override {
        g_gfx_screen = nullptr;
        g_conversion_table = nullptr;
    }

    // A screen with every row dirty; g_gfx_screen and the lookup table set.
    void make_screen(int32_t depth, int32_t width, int32_t height, int32_t line_repeat = 1) {
        screen_ = GfxScreen{};
        screen_.depth = depth;
        screen_.bytes_per_pixel = depth <= 8 ? 1 : depth <= 16 ? 2 : 4;
        screen_.width = width;
        screen_.height = height;
        screen_.pitch = width * screen_.bytes_per_pixel;
        screen_.line_repeat = line_repeat;
        pixels_.assign(static_cast<size_t>(screen_.pitch) * height, 0);
        dirty_.assign(static_cast<size_t>(height) * line_repeat, 1);
        palette_.assign(PALETTE_SIZE, 0);
        table_.assign(512, 0xDEADBEEF);
        screen_.visible_pixels = pixels_.data();
        screen_.dirty_rows = dirty_.data();
        screen_.device_palette = palette_.data();
        g_gfx_screen = &screen_;
        g_conversion_table = table_.data();
    }

    void set_pixel(int32_t x, int32_t y, uint32_t value) {
        uint8_t* p = pixels_.data() + y * screen_.pitch + x * screen_.bytes_per_pixel;
        if (screen_.bytes_per_pixel == 1) *p = static_cast<uint8_t>(value);
        if (screen_.bytes_per_pixel == 2) {
            const auto v = static_cast<uint16_t>(value);
            std::memcpy(p, &v, 2);
        }
        if (screen_.bytes_per_pixel == 4) std::memcpy(p, &value, 4);
    }

    // Changes the flags in place: the screen keeps pointing at them.
    void set_dirty(std::initializer_list<uint8_t> flags) { std::copy(flags.begin(), flags.end(), dirty_.begin()); }

    uint32_t get_pixel(int32_t x, int32_t y) {
        const uint8_t* p = pixels_.data() + y * screen_.pitch + x * screen_.bytes_per_pixel;
        if (screen_.bytes_per_pixel == 1) return *p;
        uint32_t v = 0;
        std::memcpy(&v, p, screen_.bytes_per_pixel);
        return v;
    }

    // The value a member should write for the pixel at (x, y).
    uint32_t expected(const Member& m, uint32_t pixel) {
        if (m.dest_depth == 8) return pixel;
        if (m.screen_depth == 32 && m.dest_depth == 32 && m.order == 0) return pixel;  // plain row copy
        return encode(m.dest_depth, m.order, source_colour(m.screen_depth, pixel, palette_));
    }

    GfxScreen screen_{};
    std::vector<uint8_t> pixels_;
    std::vector<uint8_t> dirty_;
    std::vector<uint32_t> palette_;
    std::vector<uint32_t> table_;
};

TEST_F(ConvertersTest, EveryMemberConvertsDirtyRowsChannelByChannelAndSkipsCleanRows) {
    std::mt19937 random(12345);
    for (const Member& m : all_members()) {
        for (int32_t width : {1, 2, 3, 4, 5, 7, 8, 9, 13}) {
            SCOPED_TRACE(describe(m) + ", width " + std::to_string(width));
            make_screen(m.screen_depth, width, 3);
            for (uint32_t& entry : palette_) entry = random() & 0x00FFFFFF;
            const uint32_t mask = m.screen_depth == 8 ? 0xFF : m.screen_depth == 16 ? 0xFFFF : 0xFFFFFFFF;
            for (int32_t y = 0; y < 3; ++y)
                for (int32_t x = 0; x < width; ++x) set_pixel(x, y, random() & mask);
            dirty_[1] = 0;

            const Converter convert = get_converter(m.dest_depth, m.order);
            ASSERT_NE(convert, nullptr);
            const int32_t size = bytes_for_depth(m.dest_depth);
            Destination dest(3, width * size);
            convert(dest.start(), dest.pitch);

            for (int32_t y : {0, 2}) {
                for (int32_t x = 0; x < width; ++x)
                    ASSERT_EQ(dest.pixel(y, x, size), expected(m, get_pixel(x, y))) << "row " << y << " x " << x;
                EXPECT_TRUE(dest.untouched(y, dest.row_bytes)) << "wrote past the row " << y;
            }
            EXPECT_TRUE(dest.untouched(1, 0)) << "clean row written";
        }
    }
}

struct Known {
    int32_t screen_depth;
    uint32_t colour;  // the pixel, or for an indexed screen the palette entry
    int32_t dest_depth;
    int32_t order;
    uint32_t expected;  // 24 bits read least byte first
};

TEST_F(ConvertersTest, KnownColours) {
    // clang-format off
    const Known cases[] = {
        {8, 0x00336699, 32, 0, 0x00996633},
        {8, 0x00336699, 32, 1, 0x00336699},
        {8, 0x00336699, 24, 0, 0x00996633},  // bytes blue, green, red
        {8, 0x00336699, 24, 1, 0x00336699},  // bytes red, green, blue
        {8, 0x00336699, 16, 0, 0x9B26},
        {8, 0x00336699, 15, 0, 0x4D86},
        {8, 0x00336699, 15, 1, 0x1993},
        {16, 0xF800, 32, 0, 0x00F80000},
        {16, 0xF800, 32, 1, 0x000000F8},
        {16, 0xF800, 15, 0, 0x7C00},
        {16, 0xF800, 15, 1, 0x001F},
        {16, 0xF800, 16, 1, 0x001F},
        {16, 0x07E0, 24, 0, 0x00FC00},
        {32, 0x00FF8040, 16, 0, 0xFC08},
        {32, 0x00FF8040, 16, 1, 0x441F},
        {32, 0x00FF8040, 15, 0, 0x7E08},
        {32, 0x00FF8040, 32, 1, 0x004080FF},
        {32, 0xAA123456, 32, 0, 0xAA123456},  // row copy keeps the top byte
        {32, 0xAA123456, 32, 1, 0x00563412},
        {32, 0xAA123456, 24, 0, 0x123456},
        {32, 0xAA123456, 24, 1, 0x563412},
    };
    // clang-format on
    for (const Known& k : cases) {
        SCOPED_TRACE(describe({k.screen_depth, k.dest_depth, k.order}));
        make_screen(k.screen_depth, 1, 1);
        if (k.screen_depth == 8) {
            palette_[5] = k.colour;
            set_pixel(0, 0, 5);
        } else {
            set_pixel(0, 0, k.colour);
        }
        const Converter convert = get_converter(k.dest_depth, k.order);
        ASSERT_NE(convert, nullptr);
        const int32_t size = bytes_for_depth(k.dest_depth);
        Destination dest(1, size);
        convert(dest.start(), dest.pitch);
        EXPECT_EQ(dest.pixel(0, 0, size), k.expected);
    }
}

TEST_F(ConvertersTest, SixteenToTwentyFourWidthSevenInBothOrders) {
    const uint16_t pixels[7] = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x8410, 0x0841};
    const std::vector<uint8_t> order0 = {0x00, 0x00, 0xF8, 0x00, 0xFC, 0x00, 0xF8, 0x00, 0x00, 0xF8, 0xFC,
                                         0xF8, 0x00, 0x00, 0x00, 0x80, 0x80, 0x80, 0x08, 0x08, 0x08};
    const std::vector<uint8_t> order1 = {0xF8, 0x00, 0x00, 0x00, 0xFC, 0x00, 0x00, 0x00, 0xF8, 0xF8, 0xFC,
                                         0xF8, 0x00, 0x00, 0x00, 0x80, 0x80, 0x80, 0x08, 0x08, 0x08};
    for (int32_t order : {0, 1}) {
        SCOPED_TRACE("order " + std::to_string(order));
        make_screen(16, 7, 2);
        for (int32_t y = 0; y < 2; ++y)
            for (int32_t x = 0; x < 7; ++x) set_pixel(x, y, pixels[x]);
        Destination dest(2, 21);
        get_converter(24, order)(dest.start(), dest.pitch);
        for (int32_t y = 0; y < 2; ++y) {
            const std::vector<uint8_t> row(dest.start() + y * dest.pitch, dest.start() + y * dest.pitch + 21);
            EXPECT_EQ(row, order == 0 ? order0 : order1) << "row " << y;
            EXPECT_TRUE(dest.untouched(y, 21));
        }
    }
}

TEST_F(ConvertersTest, LineRepeatFollowsTheScreenRowsDirtyFlag) {
    for (const Member m : {Member{8, 32, 0}, Member{32, 16, 1}, Member{16, 16, 0}}) {
        SCOPED_TRACE(describe(m));
        make_screen(m.screen_depth, 3, 3, 2);
        palette_[0] = 0x00102030;
        palette_[1] = 0x00405060;
        palette_[2] = 0x00708090;
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 3; ++x)
                set_pixel(x, y, m.screen_depth == 8 ? (x + y) % 3 : 0x00131A2Bu * static_cast<uint32_t>(x + 3 * y + 1));
        const int32_t size = bytes_for_depth(m.dest_depth);
        const Converter convert = get_converter(m.dest_depth, m.order);

        set_dirty({1, 0, 1, 0, 0, 0});
        Destination dest(6, 3 * size);
        convert(dest.start(), dest.pitch);
        for (int32_t j : {0, 1, 4, 5})
            for (int32_t x = 0; x < 3; ++x)
                EXPECT_EQ(dest.pixel(j, x, size), expected(m, get_pixel(x, j / 2))) << "output row " << j;
        EXPECT_TRUE(dest.untouched(2, 0));
        EXPECT_TRUE(dest.untouched(3, 0));

        // The flags past the screen rows do not select output rows.
        set_dirty({0, 0, 0, 1, 1, 1});
        Destination quiet(6, 3 * size);
        convert(quiet.start(), quiet.pitch);
        for (int32_t j = 0; j < 6; ++j) EXPECT_TRUE(quiet.untouched(j, 0)) << "output row " << j;
    }
}

TEST_F(ConvertersTest, ShapedCopyClearsTheTopByte) {
    make_screen(32, 3, 2);
    const uint32_t pixels[3] = {0xFF123456, 0x80ABCDEF, 0x00000001};
    for (int32_t x = 0; x < 3; ++x) set_pixel(x, 0, pixels[x]);
    for (int32_t x = 0; x < 3; ++x) set_pixel(x, 1, pixels[x]);
    dirty_[1] = 0;
    Destination dest(2, 12);
    get_shaped_converter()(dest.start(), dest.pitch);
    for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(dest.pixel(0, x, 4), pixels[x] & 0x00FFFFFF);
    EXPECT_TRUE(dest.untouched(0, 12));
    EXPECT_TRUE(dest.untouched(1, 0));
}

TEST_F(ConvertersTest, ConvertersWriteNothingWithoutTheirInputs) {
    make_screen(16, 4, 2);
    const Converter convert = get_converter(32, 0);
    const Converter shaped = get_shaped_converter();
    Destination dest(2, 16);
    g_conversion_table = nullptr;  // the table went away with the mode
    convert(dest.start(), dest.pitch);
    g_gfx_screen = nullptr;
    shaped(dest.start(), dest.pitch);
    for (int32_t y = 0; y < 2; ++y) EXPECT_TRUE(dest.untouched(y, 0));
}

struct Request {
    int32_t screen_depth;  // 0: no screen
    int32_t dest_depth;
    int32_t order;
    bool with_table;
    bool served;
};

TEST_F(ConvertersTest, GetConverterServesOnlyKnownDepthsAndOrders) {
    // clang-format off
    const Request requests[] = {
        {16, 8, 0, true, false},   {32, 8, 1, true, false},  {3, 32, 0, true, false},
        {12, 16, 0, true, false},  {64, 32, 0, true, false}, {8, 0, 0, true, false},
        {8, 12, 0, true, false},   {8, 48, 1, true, false},  {8, 32, 2, true, false},
        {8, 32, -1, true, false},  {0, 32, 0, true, false},  {16, 24, 0, false, false},
        {16, 32, 1, false, false}, {8, 15, 0, true, true},   {1, 32, 0, true, true},
        {2, 8, 1, true, true},     {4, 24, 0, true, true},   {15, 16, 0, true, true},
        {24, 32, 1, true, true},   {16, 15, 0, false, true}, {16, 16, 1, false, true},
        {8, 32, 0, false, true},   {32, 24, 0, false, true},
    };
    // clang-format on
    for (const Request& r : requests) {
        SCOPED_TRACE(describe({r.screen_depth, r.dest_depth, r.order}) + (r.with_table ? "" : " without table"));
        make_screen(r.screen_depth, 4, 1);
        if (r.screen_depth == 0) g_gfx_screen = nullptr;
        if (!r.with_table) g_conversion_table = nullptr;
        EXPECT_EQ(get_converter(r.dest_depth, r.order) != nullptr, r.served);
    }
}

TEST_F(ConvertersTest, LookupTableMatchesTheChannelsOfEverySixteenBitPixel) {
    make_screen(16, 256, 256);
    for (uint32_t p = 0; p < 65536; ++p) set_pixel(static_cast<int32_t>(p & 255), static_cast<int32_t>(p >> 8), p);
    for (int32_t order : {0, 1}) {
        SCOPED_TRACE("order " + std::to_string(order));
        const Converter convert = get_converter(32, order);  // rebuilds the table over the previous order's
        ASSERT_NE(convert, nullptr);
        Destination dest(256, 1024);
        convert(dest.start(), dest.pitch);
        for (uint32_t p = 0; p < 65536; ++p) {
            const uint32_t want = encode(32, order, source_colour(16, p, palette_));
            ASSERT_EQ(table_[p & 0xFF] | table_[256 + (p >> 8)], want) << "pixel " << std::hex << p;
            ASSERT_EQ(dest.pixel(static_cast<int32_t>(p >> 8), static_cast<int32_t>(p & 255), 4), want)
                << "pixel " << std::hex << p;
        }
    }
}

}  // namespace
