// The window's pixel format: the options as a WGL_ARB_pixel_format
// request, or as a descriptor for the system's own chooser.
#include <algorithm>

#include "display/wgl/wgl_backend.h"

namespace {

// The identifier of each name in WGL_ARB_pixel_format and
// WGL_ARB_multisample.
int wgl_attribute(GlAttribute name) {
    switch (name) {
    case GlAttribute::DrawToWindow: return WGL_DRAW_TO_WINDOW_ARB;
    case GlAttribute::FullAcceleration: return WGL_ACCELERATION_ARB;
    case GlAttribute::DoubleBuffer: return WGL_DOUBLE_BUFFER_ARB;
    case GlAttribute::ColourBits: return WGL_COLOR_BITS_ARB;
    case GlAttribute::RedBits: return WGL_RED_BITS_ARB;
    case GlAttribute::GreenBits: return WGL_GREEN_BITS_ARB;
    case GlAttribute::BlueBits: return WGL_BLUE_BITS_ARB;
    case GlAttribute::AlphaBits: return WGL_ALPHA_BITS_ARB;
    case GlAttribute::DepthBits: return WGL_DEPTH_BITS_ARB;
    case GlAttribute::AccumBits: return WGL_ACCUM_BITS_ARB;
    case GlAttribute::AccumRedBits: return WGL_ACCUM_RED_BITS_ARB;
    case GlAttribute::AccumGreenBits: return WGL_ACCUM_GREEN_BITS_ARB;
    case GlAttribute::AccumBlueBits: return WGL_ACCUM_BLUE_BITS_ARB;
    case GlAttribute::AccumAlphaBits: return WGL_ACCUM_ALPHA_BITS_ARB;
    case GlAttribute::StencilBits: return WGL_STENCIL_BITS_ARB;
    case GlAttribute::SampleBuffers: return WGL_SAMPLE_BUFFERS_ARB;
    case GlAttribute::Samples: return WGL_SAMPLES_ARB;
    }
    return 0;
}

int wgl_value(GlAttribute name, int32_t value) {
    if (name == GlAttribute::FullAcceleration) return value ? WGL_FULL_ACCELERATION_ARB : WGL_NO_ACCELERATION_ARB;
    return value;
}

// A descriptor's sizes are bytes: what does not fit is asked for as the
// nearest it can say.
BYTE size_byte(int32_t bits) { return static_cast<BYTE>(std::clamp(bits, 0, 255)); }

struct FindContext {
    HDC dc;
    PFNWGLCHOOSEPIXELFORMATARBPROC choose;
    int format;
};

bool find_format(const GlFormatRequest& request, void* context) {
    auto* c = static_cast<FindContext*>(context);
    int list[WGL_ATTRIBUTE_CAPACITY];
    wgl_attributes(request, list);
    int format = 0;
    UINT count = 0;
    if (!c->choose(c->dc, list, nullptr, 1, &format, &count) || count == 0 || format <= 0) return false;
    c->format = format;
    return true;
}

}  // namespace

void wgl_attributes(const GlFormatRequest& request, int (&list)[WGL_ATTRIBUTE_CAPACITY]) {
    int n = 0;
    for (int32_t i = 0; i < request.count; ++i) {
        const GlAttributeValue& a = request.items[i];
        list[n++] = wgl_attribute(a.name);
        list[n++] = wgl_value(a.name, a.value);
    }
    list[n] = 0;
}

PIXELFORMATDESCRIPTOR wgl_descriptor(const GlFormatRequest& request) {
    PIXELFORMATDESCRIPTOR d{};
    d.nSize = sizeof d;
    d.nVersion = 1;
    d.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    d.iPixelType = PFD_TYPE_RGBA;
    d.iLayerType = PFD_MAIN_PLANE;
    for (int32_t i = 0; i < request.count; ++i) {
        const BYTE v = size_byte(request.items[i].value);
        switch (request.items[i].name) {
        case GlAttribute::ColourBits: d.cColorBits = v; break;
        case GlAttribute::RedBits: d.cRedBits = v; break;
        case GlAttribute::GreenBits: d.cGreenBits = v; break;
        case GlAttribute::BlueBits: d.cBlueBits = v; break;
        case GlAttribute::AlphaBits: d.cAlphaBits = v; break;
        case GlAttribute::DepthBits: d.cDepthBits = v; break;
        case GlAttribute::AccumBits: d.cAccumBits = v; break;
        case GlAttribute::AccumRedBits: d.cAccumRedBits = v; break;
        case GlAttribute::AccumGreenBits: d.cAccumGreenBits = v; break;
        case GlAttribute::AccumBlueBits: d.cAccumBlueBits = v; break;
        case GlAttribute::AccumAlphaBits: d.cAccumAlphaBits = v; break;
        case GlAttribute::StencilBits: d.cStencilBits = v; break;
        default: break;  // the flags say the rest; samples have no field
        }
    }
    return d;
}

int wgl_choose_format(HDC dc, GlOptions* options, PIXELFORMATDESCRIPTOR* descriptor) {
    *descriptor = wgl_descriptor(gl_format_request(*options));
    FindContext context{dc, wgl_state().api.wglChoosePixelFormatARB, 0};
    if (context.choose && gl_choose_format(options, find_format, &context)) return context.format;
    options->samples = 0;  // the system's chooser knows no sample buffers
    return ChoosePixelFormat(dc, descriptor);
}
