#include "gfx/plot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "gfx/gfx_pages.h"
#include "support/gfx/null_screen.h"

namespace {

class Plot : public NullScreenTest {
   protected:
    void SetUp() override {
        NullScreenTest::SetUp();
        open_screen();
        std::memset(g_gfx_screen->dirty_rows, 0, 512);
    }
    uint8_t pixel(int x, int y, int page = 0) { return g_gfx_screen->pages[page][y * 512 + x]; }
    int count_set(int page = 0) {
        int n = 0;
        for (int i = 0; i < 512 * 512; ++i) n += g_gfx_screen->pages[page][i] != 0;
        return n;
    }
};

TEST_F(Plot, WhereAPointLands) {
    struct Case {
        float x, y;
        int px, py;  // -1: dropped
    };
    const Case cases[] = {
        {511.0f, 0.0f, 511, 0}, {512.0f, 5.0f, -1, -1}, {5.0f, -1.0f, -1, -1},
        {5.0f, 511.0f, 5, 511}, {0.5f, 3.0f, 1, 3},     {1.5f, 3.0f, 2, 3},
        {-0.4f, 3.0f, 0, 3},    {-0.5f, 3.0f, -1, -1},  {37.0f, 200.0f, 37, 200},
    };
    for (const Case& c : cases) {
        std::memset(g_gfx_screen->pages[0], 0, 512 * 512);
        gfx_pset(nullptr, c.x, c.y, 12, COORD_POINT, 0);
        if (c.px < 0) {
            EXPECT_EQ(count_set(), 0) << c.x << "," << c.y;
        } else {
            EXPECT_EQ(pixel(c.px, c.py), 12) << c.x << "," << c.y;
            EXPECT_EQ(count_set(), 1);
        }
    }
}

TEST_F(Plot, ExtremeCoordinatesNeverWriteOutside) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const float values[] = {nan, inf, -inf, 1e30f, -1e30f, 2147483648.0f, -2147483648.0f, 4294967296.0f};
    for (float x : values)
        for (float y : values) gfx_pset(nullptr, x, y, 9, COORD_POINT, 0);
    for (float v : values) {
        gfx_pset(nullptr, v, 10.0f, 9, COORD_POINT, 0);
        gfx_pset(nullptr, 10.0f, v, 9, COORD_POINT, 0);
        gfx_pset(nullptr, v, v, 9, COORD_POINT_RELATIVE, 0);
    }
    EXPECT_EQ(count_set(), 0);
}

TEST_F(Plot, ColoursAndDirtyRows) {
    gfx_pset(nullptr, 3, 4, 300, COORD_POINT, 0);
    EXPECT_EQ(pixel(3, 4), 44);
    EXPECT_EQ(g_gfx_screen->dirty_rows[4], 1);
    EXPECT_EQ(g_gfx_screen->dirty_rows[5], 0);
    gfx_pset(nullptr, 6, 6, 0, COORD_COLOUR_OMITTED | COORD_POINT, 0);
    EXPECT_EQ(pixel(6, 6), 15);  // the foreground
    gfx_pset(nullptr, 3, 4, 0, COORD_COLOUR_OMITTED | COORD_POINT, 1);
    EXPECT_EQ(pixel(3, 4), 0);  // the background
}

TEST_F(Plot, RelativePointsAndTheLastPoint) {
    gfx_pset(nullptr, 0, 0, 1, COORD_POINT, 0);
    gfx_pset(nullptr, 3, 4, 2, COORD_POINT_RELATIVE, 0);
    gfx_pset(nullptr, 3, 4, 3, COORD_POINT_RELATIVE, 0);
    EXPECT_EQ(pixel(3, 4), 2);
    EXPECT_EQ(pixel(6, 8), 3);
    gfx_pset(nullptr, 600, 600, 4, COORD_POINT, 0);  // dropped, but it moves the last point
    gfx_pset(nullptr, -590, -590, 5, COORD_POINT_RELATIVE, 0);
    EXPECT_EQ(pixel(10, 10), 5);
}

TEST_F(Plot, HiddenWorkPageIsNotMarked) {
    ASSERT_EQ(gfx_set_pages(2, -1), 0);
    gfx_pset(nullptr, 7, 7, 9, COORD_POINT, 0);
    EXPECT_EQ(pixel(7, 7, 2), 9);
    EXPECT_EQ(pixel(7, 7, 0), 0);
    EXPECT_EQ(g_gfx_screen->dirty_rows[7], 0);
}

TEST_F(Plot, NothingWithoutAScreen) {
    gfx_screen_close();
    set_last_error(ERR_NONE);
    gfx_pset(nullptr, 1, 1, 1, COORD_POINT, 0);
    EXPECT_EQ(get_last_error(), ERR_NONE);
}

TEST(ColourConversion, PerDepth) {
    EXPECT_EQ(gfx_convert_colour(300, 1), 44u);
    EXPECT_EQ(gfx_convert_colour(0x00FF0000, 2), 0xF800u);
    EXPECT_EQ(gfx_convert_colour(0x0000FF00, 2), 0x07E0u);
    EXPECT_EQ(gfx_convert_colour(0x000000FF, 2), 0x001Fu);
    EXPECT_EQ(gfx_convert_colour(0x80123456, 4), 0x80123456u);
}

}  // namespace
