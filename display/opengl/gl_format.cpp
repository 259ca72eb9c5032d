#include "display/opengl/gl_format.h"

namespace {

struct Size {
    GlAttribute name;
    int32_t GlOptions::*field;
};

// The sizes in the order of asking: these always, then these only when not 0.
// clang-format off
constexpr Size ALWAYS[] = {
    {GlAttribute::ColourBits, &GlOptions::colour_bits},
    {GlAttribute::RedBits, &GlOptions::red_bits},
    {GlAttribute::GreenBits, &GlOptions::green_bits},
    {GlAttribute::BlueBits, &GlOptions::blue_bits},
    {GlAttribute::AlphaBits, &GlOptions::alpha_bits},
    {GlAttribute::DepthBits, &GlOptions::depth_bits},
};
// clang-format on

// clang-format off
constexpr Size WHEN_SET[] = {
    {GlAttribute::AccumBits, &GlOptions::accum_bits},
    {GlAttribute::AccumRedBits, &GlOptions::accum_red_bits},
    {GlAttribute::AccumGreenBits, &GlOptions::accum_green_bits},
    {GlAttribute::AccumBlueBits, &GlOptions::accum_blue_bits},
    {GlAttribute::AccumAlphaBits, &GlOptions::accum_alpha_bits},
    {GlAttribute::StencilBits, &GlOptions::stencil_bits},
};
// clang-format on

}  // namespace

GlFormatRequest gl_format_request(const GlOptions& o) {
    GlFormatRequest r{};
    auto add = [&r](GlAttribute name, int32_t value) { r.items[r.count++] = {name, value}; };
    add(GlAttribute::DrawToWindow, 1);
    add(GlAttribute::FullAcceleration, 1);
    add(GlAttribute::DoubleBuffer, 1);
    for (const Size& s : ALWAYS) add(s.name, o.*s.field);
    for (const Size& s : WHEN_SET)
        if (o.*s.field != 0) add(s.name, o.*s.field);
    if (o.samples != 0) {
        add(GlAttribute::SampleBuffers, 1);
        add(GlAttribute::Samples, o.samples);
    }
    return r;
}

bool gl_choose_format(GlOptions* options, bool (*find)(const GlFormatRequest& request, void* context), void* context) {
    GlOptions o = *options;
    // A negative count asks for nothing sensible: one attempt, as given.
    for (;;) {
        if (find(gl_format_request(o), context)) {
            options->samples = o.samples;
            return true;
        }
        if (o.samples < 2) return false;
        o.samples -= 2;
    }
}
