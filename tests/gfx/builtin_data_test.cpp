#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "gfx/builtin_data.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Rgb {
    int red, green, blue;
    bool operator==(const Rgb&) const = default;
};

void PrintTo(const Rgb& c, std::ostream* os) { *os << "(" << c.red << ", " << c.green << ", " << c.blue << ")"; }

class BuiltinData : public ::testing::Test {
   protected:
    void SetUp() override {
        ASSERT_TRUE(gfx_builtin_expand());
        data = gfx_builtin_data();
        ASSERT_NE(data, nullptr);
    }

    static Rgb entry(int palette, int index) {
        const PaletteDesc* p = gfx_builtin_palette(palette);
        const uint8_t* c = p->rgb + 3 * index;
        return {c[0], c[1], c[2]};
    }

    static Bytes glyph(int font, int code) {
        const FontDesc* f = gfx_builtin_font(font);
        const uint8_t* g = f->glyphs + code * f->height;
        return Bytes(g, g + f->height);
    }

    const uint8_t* data = nullptr;
};

// The 16 colours, as palette 1 and as entries 0..15 of the 256-colour palette.
// clang-format off
const Rgb SIXTEEN[16] = {
    {0, 0, 0},     {0, 0, 170},    {0, 170, 0},    {0, 170, 170},  {170, 0, 0},   {170, 0, 170},
    {170, 85, 0},  {170, 170, 170}, {85, 85, 85},  {85, 85, 255},  {85, 255, 85}, {85, 255, 255},
    {255, 85, 85}, {255, 85, 255}, {255, 255, 85}, {255, 255, 255},
};
// clang-format on

TEST_F(BuiltinData, ExpandsOnceToTheWholeBlock) {
    const Bytes first(data, data + BUILTIN_DATA_SIZE);
    ASSERT_TRUE(gfx_builtin_expand());
    EXPECT_EQ(gfx_builtin_data(), data);
    EXPECT_EQ(Bytes(data, data + BUILTIN_DATA_SIZE), first);

    // The stored stream yields exactly 10 742 bytes: one byte less room fails.
    Bytes out(10742);
    EXPECT_EQ(lzw_expand(gfx_builtin_stored, gfx_builtin_stored_size, out.data(), out.size()), 10742);
    EXPECT_EQ(out, first);
    EXPECT_EQ(lzw_expand(gfx_builtin_stored, gfx_builtin_stored_size, out.data(), 10741), -1);
    EXPECT_EQ(lzw_expand(gfx_builtin_stored, gfx_builtin_stored_size - 3, out.data(), out.size()), -1);
}

TEST_F(BuiltinData, FontDescriptors) {
    struct Case {
        int index, width, height;
        size_t offset;
    };
    for (const Case& c : {Case{0, 8, 8, 0}, Case{1, 8, 14, 2048}, Case{2, 8, 16, 5632}}) {
        const FontDesc* f = gfx_builtin_font(c.index);
        ASSERT_NE(f, nullptr) << c.index;
        EXPECT_EQ(f->width, c.width);
        EXPECT_EQ(f->height, c.height);
        EXPECT_EQ(f->glyphs, data + c.offset);
    }
    EXPECT_EQ(gfx_builtin_font(-1), nullptr);
    EXPECT_EQ(gfx_builtin_font(3), nullptr);
}

TEST_F(BuiltinData, GlyphAHasBitZeroLeftmost) {
    EXPECT_EQ(glyph(0, 65), (Bytes{0x0C, 0x1E, 0x33, 0x33, 0x3F, 0x33, 0x33, 0x00}));
    EXPECT_EQ(glyph(2, 65), (Bytes{0, 0, 0x08, 0x1C, 0x36, 0x63, 0x63, 0x7F, 0x63, 0x63, 0x63, 0x63, 0, 0, 0, 0}));
    // The ROM's 8 x 14 "A": the 8 x 16 shape one row shorter.
    EXPECT_EQ(glyph(1, 65), (Bytes{0, 0, 0x08, 0x1C, 0x36, 0x63, 0x63, 0x7F, 0x63, 0x63, 0x63, 0, 0, 0}));
}

TEST_F(BuiltinData, GlyphsZeroAnd255AreBlank) {
    for (int font = 0; font < 3; ++font) {
        for (int code : {0, 255}) {
            const Bytes g = glyph(font, code);
            EXPECT_EQ(g, Bytes(g.size(), 0)) << "font " << font << " glyph " << code;
        }
        EXPECT_NE(glyph(font, 219), Bytes(glyph(font, 219).size(), 0)) << "full block of font " << font;
    }
}

TEST_F(BuiltinData, PaletteDescriptors) {
    struct Case {
        int index, count;
        size_t offset;
    };
    for (const Case& c : {Case{0, 2, 9728}, Case{1, 16, 9734}, Case{2, 64, 9782}, Case{3, 256, 9974}}) {
        const PaletteDesc* p = gfx_builtin_palette(c.index);
        ASSERT_NE(p, nullptr) << c.index;
        EXPECT_EQ(p->count, c.count);
        EXPECT_EQ(p->rgb, data + c.offset);
    }
    EXPECT_EQ(gfx_builtin_palette(-1), nullptr);
    EXPECT_EQ(gfx_builtin_palette(4), nullptr);
}

TEST_F(BuiltinData, TwoAndSixteenColours) {
    EXPECT_EQ(entry(0, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(entry(0, 1), (Rgb{255, 255, 255}));
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(entry(1, i), SIXTEEN[i]) << i;
        EXPECT_EQ(entry(3, i), SIXTEEN[i]) << i;
    }
}

TEST_F(BuiltinData, SelectedEntriesOf256Colours) {
    struct Case {
        int index;
        Rgb colour;
    };
    // clang-format off
    const Case cases[] = {
        {12, {255, 85, 85}},  {9, {85, 85, 255}},  {5, {170, 0, 170}},   {2, {0, 170, 0}},
        {4, {170, 0, 0}},     {7, {170, 170, 170}}, {15, {255, 255, 255}},  // plot and text colours
        {16, {0, 0, 0}},      {23, {97, 97, 97}},  {31, {255, 255, 255}},  // greys
        {32, {0, 0, 255}},    {40, {255, 0, 0}},   {44, {255, 255, 0}},    {48, {0, 255, 0}},
        {55, {0, 64, 255}},   {56, {125, 125, 255}}, {103, {182, 198, 255}},
        {138, {113, 85, 56}},  // block 4, entry 10: (L4, L2, L0)
        {247, {44, 48, 64}},
    };
    // clang-format on
    for (const Case& c : cases) EXPECT_EQ(entry(3, c.index), c.colour) << c.index;
    for (int i = 248; i < 256; ++i) EXPECT_EQ(entry(3, i), (Rgb{0, 0, 0})) << i;
}

TEST_F(BuiltinData, SixtyFourColoursFromTheirIndexBits) {
    struct Case {
        int index;
        Rgb colour;
    };
    // clang-format off
    const Case cases[] = {
        {0, {0, 0, 0}},   {1, {0, 0, 170}},   {8, {0, 0, 85}},     {9, {0, 0, 255}},
        {4, {170, 0, 0}}, {32, {85, 0, 0}},   {36, {255, 0, 0}},   {18, {0, 255, 0}},
        {7, {170, 170, 170}}, {56, {85, 85, 85}}, {63, {255, 255, 255}}, {20, {170, 85, 0}},
    };
    // clang-format on
    for (const Case& c : cases) EXPECT_EQ(entry(2, c.index), c.colour) << c.index;
}

// The four palettes regenerated from their rules, in block order.
Bytes expected_palettes() {
    Bytes p;
    auto put = [&p](int r, int g, int b) {
        p.push_back(static_cast<uint8_t>(r));
        p.push_back(static_cast<uint8_t>(g));
        p.push_back(static_cast<uint8_t>(b));
    };
    put(0, 0, 0);
    put(255, 255, 255);
    for (const Rgb& c : SIXTEEN) put(c.red, c.green, c.blue);
    for (int i = 0; i < 64; ++i) {
        auto level = [i](int high_bit, int low_bit) { return 170 * ((i >> high_bit) & 1) + 85 * ((i >> low_bit) & 1); };
        put(level(2, 5), level(1, 4), level(0, 3));
    }
    for (const Rgb& c : SIXTEEN) put(c.red, c.green, c.blue);
    for (int g : {0, 20, 32, 44, 56, 68, 80, 97, 113, 129, 145, 161, 182, 202, 226, 255}) put(g, g, g);
    // clang-format off
    const int levels[9][5] = {
        {0, 64, 125, 190, 255}, {125, 157, 190, 222, 255}, {182, 198, 218, 234, 255},
        {0, 28, 56, 85, 113},   {56, 68, 85, 97, 113},     {80, 89, 97, 105, 113},
        {0, 16, 32, 48, 64},    {32, 40, 48, 56, 64},      {44, 48, 52, 60, 64},
    };
    // clang-format on
    // (red, green, blue) as level numbers for the 24 entries of a block.
    // clang-format off
    const int circle[24][3] = {
        {0, 0, 4}, {1, 0, 4}, {2, 0, 4}, {3, 0, 4}, {4, 0, 4},  // blue to magenta
        {4, 0, 3}, {4, 0, 2}, {4, 0, 1}, {4, 0, 0},             // to red
        {4, 1, 0}, {4, 2, 0}, {4, 3, 0}, {4, 4, 0},             // to yellow
        {3, 4, 0}, {2, 4, 0}, {1, 4, 0}, {0, 4, 0},             // to green
        {0, 4, 1}, {0, 4, 2}, {0, 4, 3}, {0, 4, 4},             // to cyan
        {0, 3, 4}, {0, 2, 4}, {0, 1, 4},                        // back towards blue
    };
    // clang-format on
    for (const auto& l : levels) {
        for (const auto& c : circle) put(l[c[0]], l[c[1]], l[c[2]]);
    }
    for (int i = 248; i < 256; ++i) put(0, 0, 0);
    return p;
}

TEST_F(BuiltinData, AllPalettesMatchTheirRulesByteForByte) {
    const Bytes expected = expected_palettes();
    ASSERT_EQ(expected.size(), BUILTIN_DATA_SIZE - 9728);
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(data[9728 + i], expected[i]) << "block offset " << 9728 + i;
    }
}

// Packs 12-bit codes two per three bytes; an odd count gets a 0 code after it.
Bytes pack(std::initializer_list<int> codes) {
    std::vector<int> c(codes);
    if (c.size() % 2 != 0) c.push_back(0);
    Bytes out;
    for (size_t i = 0; i < c.size(); i += 2) {
        out.push_back(static_cast<uint8_t>(c[i] & 0xFF));
        out.push_back(static_cast<uint8_t>((c[i] >> 8) | ((c[i + 1] & 0x0F) << 4)));
        out.push_back(static_cast<uint8_t>(c[i + 1] >> 4));
    }
    return out;
}

struct LzwCase {
    const char* name;
    Bytes stream;
    size_t capacity;
    int64_t result;
    std::string output;  // when result >= 0
};

TEST(LzwExpand, HandMadeStreams) {
    Bytes truncated = pack({65, 66, 67, LZW_END_CODE});
    truncated.pop_back();
    // clang-format off
    const LzwCase cases[] = {
        {"literals", pack({65, 66, 67, LZW_END_CODE}), 16, 3, "ABC"},
        {"end code only", pack({LZW_END_CODE}), 16, 0, ""},
        {"defined code", pack({65, 66, 256, LZW_END_CODE}), 16, 4, "ABAB"},
        {"code being defined", pack({65, 256, 257, LZW_END_CODE}), 16, 6, "AAAAAA"},
        {"chain of codes", pack({65, 66, 256, 258, LZW_END_CODE}), 16, 7, "ABABABA"},
        {"exact fit", pack({65, 66, 67, LZW_END_CODE}), 3, 3, "ABC"},
        {"literal past capacity", pack({65, 66, 67, LZW_END_CODE}), 2, -1, ""},
        {"string past capacity", pack({65, 66, 256, LZW_END_CODE}), 3, -1, ""},
        {"first byte past capacity", pack({65, LZW_END_CODE}), 0, -1, ""},
        {"missing end code", pack({65, 66}), 16, -1, ""},
        {"input ends mid-pair", truncated, 16, -1, ""},
        {"empty input", Bytes{}, 16, -1, ""},
        {"code beyond next free", pack({65, 257, LZW_END_CODE}), 16, -1, ""},
        {"first code not a byte", pack({256, LZW_END_CODE}), 16, -1, ""},
        {"first code far out", pack({4000, LZW_END_CODE}), 16, -1, ""},
    };
    // clang-format on
    for (const LzwCase& c : cases) {
        Bytes out(c.capacity + 8, 0xEE);
        const int64_t n = lzw_expand(c.stream.data(), c.stream.size(), out.data(), c.capacity);
        EXPECT_EQ(n, c.result) << c.name;
        if (c.result >= 0 && n == c.result) {
            EXPECT_EQ(std::string(out.begin(), out.begin() + n), c.output) << c.name;
        }
        EXPECT_EQ(Bytes(out.end() - 8, out.end()), Bytes(8, 0xEE)) << c.name << ": wrote past capacity";
    }
}

TEST(LzwExpand, FullTableKeepsItsCodes) {
    // 3 840 zero codes define codes 256..4094, each the string "00"; they all
    // stay usable and nothing more is defined.
    Bytes stream;
    std::vector<int> codes(3840, 0);
    codes.insert(codes.end(), {4094, 256, 4094, LZW_END_CODE});
    for (size_t i = 0; i < codes.size(); i += 2) {
        const Bytes pair = pack({codes[i], codes[i + 1]});
        stream.insert(stream.end(), pair.begin(), pair.end());
    }
    Bytes out(4000, 0xEE);
    EXPECT_EQ(lzw_expand(stream.data(), stream.size(), out.data(), out.size()), 3846);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 3846), Bytes(3846, 0));

    // With the table full, 4095 is the end code, never a code being defined.
    stream = Bytes(stream.begin(), stream.begin() + 3840 / 2 * 3);
    const Bytes end = pack({LZW_END_CODE, LZW_END_CODE});
    stream.insert(stream.end(), end.begin(), end.end());
    EXPECT_EQ(lzw_expand(stream.data(), stream.size(), out.data(), out.size()), 3840);
}

void expect_contained(const Bytes& stream, size_t capacity, const char* what) {
    Bytes out(capacity + 8, 0xEE);
    const int64_t n = lzw_expand(stream.data(), stream.size(), out.data(), capacity);
    ASSERT_GE(n, -1) << what;
    ASSERT_LE(n, static_cast<int64_t>(capacity)) << what;
    ASSERT_EQ(Bytes(out.end() - 8, out.end()), Bytes(8, 0xEE)) << what << ": wrote past capacity";
}

TEST(LzwExpand, ArbitraryInputStaysWithinBounds) {
    std::mt19937 random(12345);
    auto below = [&random](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    for (int round = 0; round < 500; ++round) {
        Bytes noise(below(700));
        for (uint8_t& b : noise) b = static_cast<uint8_t>(below(256));
        expect_contained(noise, below(4096), "random bytes");

        // Mostly well-formed codes, to reach long strings and the table's end.
        std::vector<int> codes{static_cast<int>(below(256))};
        for (int next = 256, i = below(3000); i > 0; --i, next += next < 4095) {
            codes.push_back(below(50) == 0 ? static_cast<int>(below(4096)) : static_cast<int>(below(next + 1)));
        }
        Bytes stream;
        for (size_t i = 0; i + 1 < codes.size(); i += 2) {
            const Bytes pair = pack({codes[i], codes[i + 1]});
            stream.insert(stream.end(), pair.begin(), pair.end());
        }
        expect_contained(stream, below(20000), "plausible codes");

        Bytes damaged(gfx_builtin_stored, gfx_builtin_stored + gfx_builtin_stored_size);
        for (int k = 0; k < 3; ++k) damaged[below(damaged.size())] = static_cast<uint8_t>(below(256));
        expect_contained(damaged, BUILTIN_DATA_SIZE, "damaged stored block");
    }
}

}  // namespace
