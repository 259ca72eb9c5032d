// The pixel format request in WGL's terms: the attribute identifiers of
// WGL_ARB_pixel_format and WGL_ARB_multisample, and the descriptor for the
// system's chooser.
#include <gtest/gtest.h>

#include <vector>

#include "display/opengl/gl_options.h"
#include "display/wgl/wgl_backend.h"

namespace {

GlOptions every_size() {
    GlOptions o{};
    o.colour_bits = 32;
    o.red_bits = 8, o.green_bits = 8, o.blue_bits = 8, o.alpha_bits = 8;
    o.depth_bits = 24;
    o.stencil_bits = 8;
    o.accum_bits = 64;
    o.accum_red_bits = 16, o.accum_green_bits = 16, o.accum_blue_bits = 16, o.accum_alpha_bits = 16;
    o.samples = 4;
    return o;
}

std::vector<int> attributes(const GlOptions& o) {
    int list[WGL_ATTRIBUTE_CAPACITY];
    wgl_attributes(gl_format_request(o), list);
    std::vector<int> out;
    for (int i = 0; list[i] != 0; i += 2) out.insert(out.end(), {list[i], list[i + 1]});
    return out;
}

TEST(WglFormat, AttributesInTheOrderOfAsking) {
    EXPECT_EQ(attributes(every_size()),
              (std::vector<int>{WGL_DRAW_TO_WINDOW_ARB,  1,  WGL_ACCELERATION_ARB,     WGL_FULL_ACCELERATION_ARB,
                                WGL_DOUBLE_BUFFER_ARB,   1,  WGL_COLOR_BITS_ARB,       32,
                                WGL_RED_BITS_ARB,        8,  WGL_GREEN_BITS_ARB,       8,
                                WGL_BLUE_BITS_ARB,       8,  WGL_ALPHA_BITS_ARB,       8,
                                WGL_DEPTH_BITS_ARB,      24, WGL_ACCUM_BITS_ARB,       64,
                                WGL_ACCUM_RED_BITS_ARB,  16, WGL_ACCUM_GREEN_BITS_ARB, 16,
                                WGL_ACCUM_BLUE_BITS_ARB, 16, WGL_ACCUM_ALPHA_BITS_ARB, 16,
                                WGL_STENCIL_BITS_ARB,    8,  WGL_SAMPLE_BUFFERS_ARB,   1,
                                WGL_SAMPLES_ARB,         4}));
    // Unset accumulation, stencil and samples are not asked for at all.
    GlOptions plain{};
    plain.colour_bits = 16;
    plain.red_bits = 5, plain.green_bits = 5, plain.blue_bits = 5;
    plain.depth_bits = 16;
    EXPECT_EQ(
        attributes(plain),
        (std::vector<int>{WGL_DRAW_TO_WINDOW_ARB, 1, WGL_ACCELERATION_ARB, WGL_FULL_ACCELERATION_ARB,
                          WGL_DOUBLE_BUFFER_ARB, 1, WGL_COLOR_BITS_ARB, 16, WGL_RED_BITS_ARB, 5, WGL_GREEN_BITS_ARB, 5,
                          WGL_BLUE_BITS_ARB, 5, WGL_ALPHA_BITS_ARB, 0, WGL_DEPTH_BITS_ARB, 16}));
}

TEST(WglFormat, DescriptorCarriesTheSameSizes) {
    const PIXELFORMATDESCRIPTOR d = wgl_descriptor(gl_format_request(every_size()));
    EXPECT_EQ(d.nSize, sizeof d);
    EXPECT_EQ(d.nVersion, 1);
    EXPECT_EQ(d.dwFlags, static_cast<DWORD>(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER));
    EXPECT_EQ(d.iPixelType, PFD_TYPE_RGBA);
    const int sizes[] = {d.cColorBits,    d.cRedBits,        d.cGreenBits,     d.cBlueBits,
                         d.cAlphaBits,    d.cDepthBits,      d.cStencilBits,   d.cAccumBits,
                         d.cAccumRedBits, d.cAccumGreenBits, d.cAccumBlueBits, d.cAccumAlphaBits};
    EXPECT_EQ(std::vector<int>(std::begin(sizes), std::end(sizes)),
              (std::vector<int>{32, 8, 8, 8, 8, 24, 8, 64, 16, 16, 16, 16}));
    // Sizes a byte cannot hold are asked for as the nearest it can.
    GlOptions odd = every_size();
    odd.depth_bits = 300;
    odd.stencil_bits = -4;
    const PIXELFORMATDESCRIPTOR clamped = wgl_descriptor(gl_format_request(odd));
    EXPECT_EQ(clamped.cDepthBits, 255);
    EXPECT_EQ(clamped.cStencilBits, 0);
}

}  // namespace
