#pragma once
#include <cstdint>

#include "display/opengl/gl_options.h"

// The pixel format a window asks for, as a list of attributes in the
// window system's order of asking; each layer maps the names onto its own
// attribute identifiers.
enum class GlAttribute : int32_t {
    DrawToWindow,
    FullAcceleration,
    DoubleBuffer,
    ColourBits,
    RedBits,
    GreenBits,
    BlueBits,
    AlphaBits,
    DepthBits,
    AccumBits,
    AccumRedBits,
    AccumGreenBits,
    AccumBlueBits,
    AccumAlphaBits,
    StencilBits,
    SampleBuffers,
    Samples,
};

// A request names each attribute at most once.
inline constexpr int32_t GL_ATTRIBUTE_COUNT = static_cast<int32_t>(GlAttribute::Samples) + 1;

struct GlAttributeValue {
    GlAttribute name;
    int32_t value;
};

struct GlFormatRequest {
    GlAttributeValue items[GL_ATTRIBUTE_COUNT];
    int32_t count;
};

// Window, full acceleration, double buffer, colour, channel, alpha and
// depth bits always; the accumulation and stencil sizes when not 0; a
// sample buffer with its samples when samples is not 0.
GlFormatRequest gl_format_request(const GlOptions& options);

// Asks `find` for a format with the options' samples and, while it finds
// none, with two samples fewer, until the count would fall below 0.
// True when one was found; the options then hold the samples it was found
// with.
bool gl_choose_format(GlOptions* options, bool (*find)(const GlFormatRequest& request, void* context), void* context);
