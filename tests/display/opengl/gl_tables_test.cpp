// The platform-independent part of the OpenGL back-end: the extension
// text, the framebuffer option defaults, the format request and its sample
// fallback, the GL functions.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "display/lib_loader.h"
#include "display/opengl/gl_extensions.h"
#include "display/opengl/gl_format.h"
#include "display/opengl/gl_functions.h"
#include "display/opengl/gl_options.h"

namespace {

TEST(GlExtensions, WholeNamesOnly) {
    gl_extensions_set("GL_EXT_bgra_fake GL_EXT_bgra GL_ARB_multitexture GL_EXT_abgr", "GLX_ARB_multisample ");
    struct Case {
        const char* name;
        int32_t found;
    };
    const Case cases[] = {
        {"GL_EXT_bgra", 1},          // after an occurrence followed by "_": the search goes on
        {"GL_EXT_abgr", 1},          // last of the GL string: a space is put before the window system's
        {"GLX_ARB_multisample", 1},  // the window system's string follows
        {"GL_EXT_bgr", 0},           // only the start of a name
        {"GL_ARB", 0},
        {"EXT_bgra", 1},  // the character before a name is not looked at
        {"GL_EXT_bgra_fake GL_EXT_bgra", 1},
        {"", 0},
        {nullptr, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(gl_has_extension(c.name), c.found) << (c.name ? c.name : "(null)");
}

TEST(GlExtensions, TextIsGlThenWindowSystemWithinTheLimit) {
    struct Case {
        std::string gl, window_system, text;
    };
    const std::string limit_long(GL_EXTENSION_TEXT_MAX - 3, 'x');
    const Case cases[] = {
        {"GL_A ", "GLX_B ", "GL_A GLX_B "},
        {"GL_A", "GLX_B", "GL_A GLX_B"},
        {"GL_A", "", "GL_A"},
        {"", "GLX_B", "GLX_B"},
        {limit_long + "GL", "GLX_B", limit_long + "GL "},  // room for the space only
        {limit_long + "GL_EXT_bgra", "GLX_B", limit_long + "GL_"},
    };
    for (const Case& c : cases) {
        gl_extensions_set(c.gl.c_str(), c.window_system.c_str());
        EXPECT_EQ(gl_extension_text(), c.text) << c.gl.size() << " + " << c.window_system;
    }
    gl_extensions_set(nullptr, nullptr);
    EXPECT_STREQ(gl_extension_text(), "");
    // A name cut by the limit still ends the text.
    gl_extensions_set((limit_long + "GL_EXT_bgra").c_str(), nullptr);
    EXPECT_EQ(gl_has_extension("GL_"), 1);
    EXPECT_EQ(gl_has_extension("GL_EXT_bgra"), 0);
}

GlOptions options(std::vector<int32_t> v) {
    v.resize(13);
    return GlOptions{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12]};
}

std::vector<int32_t> fields(const GlOptions& o) {
    return {o.colour_bits,     o.red_bits,         o.green_bits, o.blue_bits,      o.alpha_bits,
            o.depth_bits,      o.stencil_bits,     o.accum_bits, o.accum_red_bits, o.accum_green_bits,
            o.accum_blue_bits, o.accum_alpha_bits, o.samples};
}

// Fields: colour, red, green, blue, alpha, depth, stencil, accumulation,
// its red, green, blue, alpha, samples.
TEST(GlOptionsDefaults, FilledFromDepthFlagsAndTheSetChannels) {
    struct Case {
        const char* what;
        std::vector<int32_t> set;
        int32_t depth, flags;
        std::vector<int32_t> want;
    };
    // clang-format off
    const Case cases[] = {
        {"32-bit screen", {}, 32, 0, {32, 8, 8, 8, 8, 16, 0, 0, 0, 0, 0, 0, 0}},
        {"16-bit screen", {}, 16, 0, {16, 5, 5, 5, 0, 16, 0, 0, 0, 0, 0, 0, 0}},
        {"24 bits", {}, 24, 0, {24, 8, 8, 8, 0, 16, 0, 0, 0, 0, 0, 0, 0}},
        {"8 bits", {}, 8, 0, {8, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0}},
        {"channels make the colour bits", {0, 5, 6, 5}, 32, 0, {16, 5, 6, 5, 0, 16, 0, 0, 0, 0, 0, 0, 0}},
        {"colour bits given", {24}, 32, 0, {24, 8, 8, 8, 0, 16, 0, 0, 0, 0, 0, 0, 0}},
        {"depth and stencil given", {0, 0, 0, 0, 0, 24, 1}, 32, 0, {32, 8, 8, 8, 8, 24, 1, 0, 0, 0, 0, 0, 0}},
        {"stencil flag", {}, 32, SCREEN_STENCIL_BUFFER, {32, 8, 8, 8, 8, 16, 8, 0, 0, 0, 0, 0, 0}},
        {"accumulation flag", {}, 32, SCREEN_ACCUMULATION_BUFFER, {32, 8, 8, 8, 8, 16, 0, 32, 8, 8, 8, 8, 0}},
        {"accumulation channels", {0, 0, 0, 0, 0, 0, 0, 0, 16, 16, 16}, 32, 0,
         {32, 8, 8, 8, 8, 16, 0, 48, 16, 16, 16, 8, 0}},
        {"accumulation of 16 bits", {0, 0, 0, 0, 0, 0, 0, 16}, 32, SCREEN_ACCUMULATION_BUFFER,
         {32, 8, 8, 8, 8, 16, 0, 16, 5, 5, 5, 0, 0}},
        {"multisample flag", {}, 32, SCREEN_MULTISAMPLE, {32, 8, 8, 8, 8, 16, 0, 0, 0, 0, 0, 0, 4}},
        {"samples given", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2}, 32, SCREEN_MULTISAMPLE,
         {32, 8, 8, 8, 8, 16, 0, 0, 0, 0, 0, 0, 2}},
        {"negative colour bits", {-100}, 32, 0, {-100, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0}},
        {"channels that overflow", {0, INT_MAX, INT_MAX}, 32, 0,
         {INT_MAX, INT_MAX, INT_MAX, 8, 8, 16, 0, 0, 0, 0, 0, 0, 0}},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(fields(gl_options_with_defaults(options(c.set), c.depth, c.flags)), c.want) << c.what;
}

std::vector<GlAttribute> names(const GlFormatRequest& r) {
    std::vector<GlAttribute> v;
    for (int32_t i = 0; i < r.count; ++i) v.push_back(r.items[i].name);
    return v;
}

TEST(GlFormatRequest, FixedPartThenWhatIsSet) {
    using A = GlAttribute;
    const std::vector<A> fixed = {A::DrawToWindow, A::FullAcceleration, A::DoubleBuffer, A::ColourBits, A::RedBits,
                                  A::GreenBits,    A::BlueBits,         A::AlphaBits,    A::DepthBits};
    EXPECT_EQ(names(gl_format_request(options({32, 8, 8, 8, 8, 16}))), fixed);
    std::vector<A> all = fixed;
    all.insert(all.end(), {A::AccumBits, A::AccumRedBits, A::AccumGreenBits, A::AccumBlueBits, A::AccumAlphaBits,
                           A::StencilBits, A::SampleBuffers, A::Samples});
    const GlFormatRequest r = gl_format_request(options({32, 8, 8, 8, 8, 24, 8, 64, 16, 16, 16, 16, 4}));
    EXPECT_EQ(names(r), all);
    EXPECT_EQ(r.items[8].value, 24);
    EXPECT_EQ(r.items[r.count - 2].value, 1);
    EXPECT_EQ(r.items[r.count - 1].value, 4);
}

// A stand-in for the window system: has formats up to `most` samples and
// records what it was asked for.
struct Formats {
    int32_t most;
    std::vector<int32_t> asked;
};

bool find_format(const GlFormatRequest& r, void* context) {
    auto* f = static_cast<Formats*>(context);
    int32_t samples = 0;
    for (int32_t i = 0; i < r.count; ++i)
        if (r.items[i].name == GlAttribute::Samples) samples = r.items[i].value;
    f->asked.push_back(samples);
    return samples <= f->most;
}

TEST(GlChooseFormat, SamplesFallByTwoUntilBelowZero) {
    struct Case {
        int32_t samples, most;
        std::vector<int32_t> asked;
        bool found;
        int32_t chosen;
    };
    // clang-format off
    const Case cases[] = {
        {4, 8, {4}, true, 4},        {8, 4, {8, 6, 4}, true, 4}, {4, 0, {4, 2, 0}, true, 0},
        {4, -1, {4, 2, 0}, false, 4}, {3, -1, {3, 1}, false, 3}, {0, -1, {0}, false, 0},
        {-2, -5, {-2}, false, -2},
    };
    // clang-format on
    for (const Case& c : cases) {
        Formats f{c.most, {}};
        GlOptions o = options({32, 8, 8, 8, 8, 16, 0, 0, 0, 0, 0, 0, c.samples});
        EXPECT_EQ(gl_choose_format(&o, find_format, &f), c.found) << c.samples;
        EXPECT_EQ(f.asked, c.asked) << c.samples;
        EXPECT_EQ(o.samples, c.chosen) << c.samples;
    }
}

// A library without them: the C library of the system.
#ifdef _WIN32
constexpr const char* NOT_GL = "msvcrt.dll";
#else
constexpr const char* NOT_GL = "libc.so.6";
#endif

TEST(GlFunctions, AllOrNone) {
    void* library = lib_load(NOT_GL, nullptr, nullptr);
    ASSERT_NE(library, nullptr) << NOT_GL;
    EXPECT_EQ(gl_functions_resolve(library), -1);
    EXPECT_EQ(gl_functions().glEnable, nullptr);
    EXPECT_EQ(gl_functions().glTexImage2D, nullptr);
    lib_free(&library);
}

}  // namespace
