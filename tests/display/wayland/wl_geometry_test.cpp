// Where the picture goes on a Wayland surface at each scale: every picture
// pixel an exact square of device pixels, the surface just the picture's
// size in a window, the picture centred on black in full screen.
#include <gtest/gtest.h>

#include "display/wayland/wl_geometry.h"

namespace {

struct GeometryCase {
    const char* what;
    int32_t output_scale, scale120;
    bool fullscreen;
    int32_t area_width, area_height;
    WlGeometry want;
};

TEST(WlGeometry, EachScaleGivesWholeBlocksOfDevicePixels) {
    const GeometryCase cases[] = {
        {"scale 1", 1, 0, false, 0, 0, {512, 512, 512, 512, 1, false, 1, 0, 0}},
        {"scale 2", 2, 0, false, 0, 0, {512, 512, 1024, 1024, 2, false, 2, 0, 0}},
        {"scale 3", 3, 0, false, 0, 0, {512, 512, 1536, 1536, 3, false, 3, 0, 0}},
        {"no output known yet", 0, 0, false, 0, 0, {512, 512, 512, 512, 1, false, 1, 0, 0}},
        // A whole fractional scale is the buffer scale.
        {"fractional 2.0", 1, 240, false, 0, 0, {512, 512, 1024, 1024, 2, false, 2, 0, 0}},
        // 1.5: the nearest whole factor rounds up to 2; the surface covers
        // 1024 device pixels in 683 logical ones (1024.5 rounds to 1025).
        {"fractional 1.5", 1, 180, false, 0, 0, {683, 683, 1025, 1025, 1, true, 2, 0, 0}},
        {"fractional 1.25", 1, 150, false, 0, 0, {410, 410, 513, 513, 1, true, 1, 0, 0}},
        {"fractional 1.75", 2, 210, false, 0, 0, {586, 586, 1026, 1026, 1, true, 2, 1, 1}},
        // Full screen: the area given, the largest whole factor that fits.
        {"full screen 1024x768", 1, 0, true, 1024, 768, {1024, 768, 1024, 768, 1, false, 1, 256, 128}},
        {"full screen at scale 2", 2, 0, true, 1024, 768, {1024, 768, 2048, 1536, 2, false, 3, 256, 0}},
        {"full screen 1920x1080", 1, 0, true, 1920, 1080, {1920, 1080, 1920, 1080, 1, false, 2, 448, 28}},
        {"full screen at 1.5", 1, 180, true, 1280, 720, {1280, 720, 1920, 1080, 1, true, 2, 448, 28}},
        {"full screen smaller than the picture", 1, 0, true, 400, 300, {400, 300, 400, 300, 1, false, 1, -56, -106}},
        {"full screen before its size", 1, 0, true, 0, 0, {512, 512, 512, 512, 1, false, 1, 0, 0}},
    };
    for (const GeometryCase& c : cases) {
        const WlGeometry g =
            wl_geometry(512, 512, c.output_scale, c.scale120, c.fullscreen, c.area_width, c.area_height);
        SCOPED_TRACE(c.what);
        EXPECT_EQ(g.logical_width, c.want.logical_width);
        EXPECT_EQ(g.logical_height, c.want.logical_height);
        EXPECT_EQ(g.buffer_width, c.want.buffer_width);
        EXPECT_EQ(g.buffer_height, c.want.buffer_height);
        EXPECT_EQ(g.buffer_scale, c.want.buffer_scale);
        EXPECT_EQ(g.viewport, c.want.viewport);
        EXPECT_EQ(g.factor, c.want.factor);
        EXPECT_EQ(g.offset_x, c.want.offset_x);
        EXPECT_EQ(g.offset_y, c.want.offset_y);
    }
}

TEST(WlGeometry, SurfacePositionsBecomePicturePixels) {
    struct Case {
        WlGeometry g;
        double sx, sy;
        int32_t x, y;
    };
    const WlGeometry scale2 = wl_geometry(512, 512, 2, 0, false, 0, 0);
    const WlGeometry full = wl_geometry(512, 512, 2, 0, true, 1024, 768);
    const WlGeometry frac = wl_geometry(512, 512, 1, 180, false, 0, 0);
    const Case cases[] = {
        {scale2, 0.0, 0.0, 0, 0},
        {scale2, 511.75, 100.5, 511, 100},
        // In full screen at scale 2 the picture starts 256 device pixels in,
        // each of its pixels 3 device pixels wide; the black band left of
        // it is outside.
        {full, 128.0, 0, 0, 0},
        {full, 127.0, 0, -1, 0},
        {full, 895.9, 767.9, 511, 511},
        {frac, 682.0, 341.5, 511, 256},
        {frac, -0.5, -0.5, -1, -1},
    };
    for (const Case& c : cases) {
        int32_t x = 0, y = 0;
        wl_surface_to_picture(c.g, c.sx, c.sy, &x, &y);
        EXPECT_EQ(x, c.x) << c.sx;
        EXPECT_EQ(y, c.y) << c.sy;
    }
}

}  // namespace
