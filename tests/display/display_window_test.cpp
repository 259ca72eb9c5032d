// The arithmetic every window back-end shares: the class name, centring,
// the packed window position, the span of dirty rows, the display modes'
// depths and their list.
#include "display/display_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "display/mode_list.h"

namespace {

TEST(DisplayWindowRecord, ClassNameIsThePrefixAndTheAddressCutTo27Characters) {
    char name[CLASS_NAME_SIZE];
    int marker = 0;
    display_class_name(name, &marker);
    char address[64];
    std::snprintf(address, sizeof address, "%p", static_cast<void*>(&marker));
    EXPECT_EQ(std::string(name), ("zvgfxclass_" + std::string(address)).substr(0, 27));

    display_window_store("wavetable", 512, 512, 8, 0, 0);
    const DisplayWindow& w = display_window();
    display_class_name(name, &w);
    EXPECT_STREQ(w.class_name, name);
    EXPECT_STREQ(w.title, "wavetable");
    display_window_clear();
}

TEST(DisplayWindowRecord, CentringHalvesByAnArithmeticShift) {
    struct Case {
        int32_t origin, extent, size, start;
    };
    for (const Case& c : {Case{0, 1024, 518, 253}, Case{0, 1024, 517, 253}, Case{1920, 1280, 518, 2301},
                          Case{0, 400, 518, -59}, Case{-1024, 1024, 512, -768}})
        EXPECT_EQ(centred_start(c.origin, c.extent, c.size), c.start) << c.origin << " " << c.extent << " " << c.size;
}

TEST(DisplayWindowRecord, PackedPositionIsTopAboveTheLowSixteenBitsOfLeft) {
    EXPECT_EQ(packed_position(-8, 20), 20 * 65536 + 0xFFF8);
    EXPECT_EQ(packed_position(256, 137), 137 * 65536 + 256);
    EXPECT_EQ(packed_position(0, 0), 0);
}

TEST(DisplayWindowRecord, FrameWaitFollowsTheRefreshRate) {
    EXPECT_EQ(frame_wait_ms(0), 16);
    EXPECT_EQ(frame_wait_ms(60), 16);
    EXPECT_EQ(frame_wait_ms(75), 13);
    EXPECT_EQ(frame_wait_ms(144), 6);
}

std::vector<uint8_t> rows_with(std::initializer_list<int32_t> dirty) {
    std::vector<uint8_t> rows(512, 0);
    for (int32_t r : dirty) rows[static_cast<size_t>(r)] = 1;
    return rows;
}

TEST(DisplayWindowRecord, DirtySpanRunsFromTheFirstToTheLastDirtyRow) {
    struct Case {
        std::vector<uint8_t> rows;
        bool any;
        int32_t first, last;
    };
    std::vector<uint8_t> all(512, 1);
    for (const Case& c :
         {Case{rows_with({3, 500}), true, 3, 500}, Case{rows_with({}), false, 0, 0}, Case{rows_with({0}), true, 0, 0},
          Case{rows_with({511}), true, 511, 511}, Case{all, true, 0, 511}}) {
        int32_t first = -1, last = -1;
        ASSERT_EQ(dirty_span(c.rows.data(), 512, &first, &last), c.any);
        if (!c.any) continue;
        EXPECT_EQ(first, c.first);
        EXPECT_EQ(last, c.last);
    }
    // Only the rows the display has count.
    int32_t first = -1, last = -1;
    EXPECT_FALSE(dirty_span(rows_with({400}).data(), 256, &first, &last));
}

TEST(DisplayModes, DepthsStoredAlikeServeEachOther) {
    struct Case {
        int32_t display, asked;
        bool serves;
    };
    for (const Case& c : {Case{32, 32, true}, Case{32, 24, true}, Case{24, 32, true}, Case{16, 15, true},
                          Case{15, 16, true}, Case{16, 16, true}, Case{8, 8, true}, Case{32, 16, false},
                          Case{16, 32, false}, Case{8, 16, false}, Case{24, 8, false}})
        EXPECT_EQ(mode_depth_matches(c.display, c.asked), c.serves) << c.display << " for " << c.asked;
}

TEST(DisplayModes, ListGrowsAndPacksWidthAboveHeight) {
    ModeList list{};
    for (uint32_t i = 0; i < 40; ++i) ASSERT_TRUE(mode_list_add(list, 640 + i, 480));
    ASSERT_EQ(list.count, 40);
    EXPECT_EQ(list.entries[0], 640 * 65536 + 480);
    EXPECT_EQ(list.entries[39], 679 * 65536 + 480);
    std::free(list.entries);
}

}  // namespace
