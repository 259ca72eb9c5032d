#include "display/opengl/gl_format.h"

GlFormatRequest gl_format_request(const GlOptions& o) {
    GlFormatRequest r{};
    auto add = [&r](GlAttribute name, int32_t value) { r.items[r.count++] = {name, value}; };
    auto add_set = [&add](GlAttribute name, int32_t value) {
        if (value != 0) add(name, value);
    };
    add(GlAttribute::DrawToWindow, 1);
    add(GlAttribute::FullAcceleration, 1);
    add(GlAttribute::DoubleBuffer, 1);
    add(GlAttribute::ColourBits, o.colour_bits);
    add(GlAttribute::RedBits, o.red_bits);
    add(GlAttribute::GreenBits, o.green_bits);
    add(GlAttribute::BlueBits, o.blue_bits);
    add(GlAttribute::AlphaBits, o.alpha_bits);
    add(GlAttribute::DepthBits, o.depth_bits);
    add_set(GlAttribute::AccumBits, o.accum_bits);
    add_set(GlAttribute::AccumRedBits, o.accum_red_bits);
    add_set(GlAttribute::AccumGreenBits, o.accum_green_bits);
    add_set(GlAttribute::AccumBlueBits, o.accum_blue_bits);
    add_set(GlAttribute::AccumAlphaBits, o.accum_alpha_bits);
    add_set(GlAttribute::StencilBits, o.stencil_bits);
    if (o.samples != 0) {
        add(GlAttribute::SampleBuffers, 1);
        add(GlAttribute::Samples, o.samples);
    }
    return r;
}

bool gl_choose_format(GlOptions* options, bool (*find)(const GlFormatRequest& request, void* context),
                      void* context) {
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
