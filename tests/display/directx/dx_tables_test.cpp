// The logic of the "DirectX" back-end over what DirectDraw and DirectInput
// answer: the full-screen mode search, the destination order read from a
// surface's masks, the keyboard's data format and the key states taken
// from the keyboard's state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "display/directx/dx_backend.h"
#include "display/directx/dx_mode_search.h"

namespace {

struct Mode {
    int32_t width, height, depth;
    bool operator<(const Mode& o) const {
        return std::tie(width, height, depth) < std::tie(o.width, o.height, o.depth);
    }
};

struct SearchCase {
    const char* what;
    Mode picture;
    std::set<Mode> display;  // the modes the display accepts
    int32_t offset;          // -1: none found
    std::vector<Mode> tried;
};

TEST(DxModeSearch, TakesTheFirstAcceptedHeightAndCentresThePictureOnIt) {
    // clang-format off
    const std::vector<SearchCase> cases = {
        {"the picture's own mode", {512, 512, 8}, {{512, 512, 8}, {512, 600, 8}}, 0, {{512, 512, 8}}},
        {"no 512 rows: 600, the picture 44 rows down",
         {512, 512, 8},
         {{512, 600, 8}, {512, 768, 8}},
         44,
         {{512, 512, 8}, {512, 600, 8}}},
        {"only 768 and 1024 rows", {512, 512, 8}, {{512, 1024, 8}, {512, 768, 8}}, 128,
         {{512, 512, 8}, {512, 600, 8}, {512, 768, 8}}},
        {"the partner depth at the same height before the next height",
         {512, 512, 16},
         {{512, 512, 15}, {512, 600, 16}},
         0,
         {{512, 512, 16}, {512, 512, 15}}},
        {"24 bits served by 32 at 600", {512, 512, 24}, {{512, 600, 32}}, 44,
         {{512, 512, 24}, {512, 512, 32}, {512, 600, 24}, {512, 600, 32}}},
        {"nothing up to 1024 rows", {512, 512, 8}, {{512, 1200, 8}}, -1,
         {{512, 512, 8}, {512, 600, 8}, {512, 768, 8}, {512, 1024, 8}}},
        {"8 bits has no partner; small heights climb through 240 and 480",
         {320, 200, 8},
         {{320, 480, 8}},
         140,
         {{320, 200, 8}, {320, 240, 8}, {320, 480, 8}}},
        {"an odd difference is halved downwards", {640, 479, 32}, {{640, 480, 32}}, 0,
         {{640, 479, 32}, {640, 479, 24}, {640, 480, 32}}},
        {"taller than 1023 rows: only its own height", {512, 1100, 8}, {}, -1, {{512, 1100, 8}}},
    };
    // clang-format on
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Mode> tried;
        const int32_t offset = dx_find_display_mode(c.picture.width, c.picture.height, c.picture.depth,
                                                    [&](int32_t width, int32_t height, int32_t depth) {
                                                        tried.push_back({width, height, depth});
                                                        return c.display.count({width, height, depth}) > 0;
                                                    });
        EXPECT_EQ(offset, c.offset);
        ASSERT_EQ(tried.size(), c.tried.size());
        for (size_t i = 0; i < tried.size(); ++i) {
            EXPECT_EQ(tried[i].width, c.tried[i].width) << i;
            EXPECT_EQ(tried[i].height, c.tried[i].height) << i;
            EXPECT_EQ(tried[i].depth, c.tried[i].depth) << i;
        }
    }
}

TEST(DxModeSearch, NextHeights) {
    const std::vector<std::pair<int32_t, int32_t>> next = {{0, 240},    {239, 240},   {240, 480}, {479, 480},
                                                           {480, 600},  {599, 600},   {600, 768}, {767, 768},
                                                           {768, 1024}, {1023, 1024}, {1024, -1}, {4000, -1}};
    for (const auto& [height, want] : next) EXPECT_EQ(dx_next_height(height), want) << height;
}

// What the surface's pixel format says: its bits (5-5-5 as 15) and the
// destination order from where red is.
TEST(DxPixelFormat, BitsAndDestinationOrderFromTheMasks) {
    struct Case {
        uint32_t bit_count, red, green;
        int32_t bits, order;
    };
    // clang-format off
    const Case cases[] = {
        {8, 0, 0, 8, 0},
        {16, 0xF800, 0x07E0, 16, 0},   // 5-6-5, red high
        {16, 0x001F, 0x07E0, 16, 1},   // 5-6-5, red low
        {16, 0x7C00, 0x03E0, 15, 0},   // 5-5-5, red high
        {16, 0x001F, 0x03E0, 15, 1},   // 5-5-5, red low
        {24, 0xFF0000, 0xFF00, 24, 0},
        {24, 0x0000FF, 0xFF00, 24, 1},
        {32, 0xFF0000, 0xFF00, 32, 0},
        {32, 0x0000FF, 0xFF00, 32, 1},
        {32, 0x00001F, 0xFF00, 32, 1},
        {32, 0x3FF00000, 0xFFC00, 32, 0},  // 10-bit channels, red high
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bit_count) + " bits, red mask " + std::to_string(c.red));
        const int32_t bits = dx_surface_bits(c.bit_count, c.green);
        EXPECT_EQ(bits, c.bits);
        EXPECT_EQ(dx_destination_order(bits, c.red), c.order);
    }
}

TEST(DxKeyboard, DataFormatHasAnOptionalButtonPerByteOfTheState) {
    const DIDATAFORMAT& f = dx_keyboard_format();
    // The records' sizes as DirectInput checks them: 24 and 16 bytes in a
    // 32-bit program, 32 and 24 with 64-bit pointers.
    const bool wide = sizeof(void*) == 8;
    EXPECT_EQ(f.dwSize, wide ? 32u : 24u);
    EXPECT_EQ(f.dwObjSize, wide ? 24u : 16u);
    EXPECT_EQ(f.dwFlags, static_cast<DWORD>(DIDF_RELAXIS));
    EXPECT_EQ(f.dwDataSize, 256u);
    ASSERT_EQ(f.dwNumObjs, 256u);
    for (DWORD i = 0; i < 256; ++i) {
        const DIOBJECTDATAFORMAT& o = f.rgodf[i];
        ASSERT_NE(o.pguid, nullptr);
        EXPECT_TRUE(IsEqualGUID(*o.pguid, GUID_Key)) << i;
        EXPECT_EQ(o.dwOfs, i);
        EXPECT_EQ(o.dwType, 0x8000000Cu | i << 8) << i;
        EXPECT_EQ(o.dwFlags, 0u) << i;
    }
}

// A key is down when its byte or its extended twin 128 further on has the
// top bit; other bits of the byte say nothing.
TEST(DxKeyboard, KeyStatesFromTheDeviceState) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, uint8_t>> bytes;  // index, value
        std::set<int> down;
    };
    // clang-format off
    const Case cases[] = {
        {"nothing pressed", {}, {}},
        {"left shift (42) and A (30)", {{42, 0x80}, {30, 0x80}}, {30, 42}},
        {"right control (157) is control (29)", {{157, 0x80}}, {29}},
        {"the up arrow (200) is 72, as the pad's 8", {{200, 0x80}}, {72}},
        {"a key and its twin together", {{29, 0x80}, {157, 0x80}}, {29}},
        {"only the top bit counts", {{16, 0x7F}, {17, 0xFF}, {200, 0x01}}, {17}},
        {"the first and the last byte", {{0, 0x80}, {255, 0x80}}, {0, 127}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        uint8_t state[256] = {};
        for (const auto& [index, value] : c.bytes) state[index] = value;
        uint8_t key_states[128];
        std::fill(std::begin(key_states), std::end(key_states), 7);  // every one is written
        dx_key_states_from(state, key_states);
        for (int i = 0; i < 128; ++i) EXPECT_EQ(key_states[i], c.down.count(i) ? 1 : 0) << i;
    }
}

}  // namespace
