#include "display/glx/glx_backend.h"
#include "display/x11/x11_backend.h"

namespace {

// Every request asks for an RGBA configuration an X window can show.
constexpr int FIXED[] = {GLX_RENDER_TYPE, GLX_RGBA_BIT, GLX_X_RENDERABLE, True, GLX_X_VISUAL_TYPE, GLX_TRUE_COLOR};
constexpr int FIXED_COUNT = sizeof FIXED / sizeof FIXED[0];
constexpr int CAPACITY = FIXED_COUNT + 2 * GL_ATTRIBUTE_COUNT + 1;  // pairs and the closing None

// The GLX attribute of each name; 0 for names GLX has no attribute for:
// it does not tell accelerated configurations from others, and knows the
// accumulation buffer by its channels only.
int glx_attribute(GlAttribute name) {
    switch (name) {
    case GlAttribute::DrawToWindow: return GLX_DRAWABLE_TYPE;
    case GlAttribute::DoubleBuffer: return GLX_DOUBLEBUFFER;
    case GlAttribute::ColourBits: return GLX_BUFFER_SIZE;
    case GlAttribute::RedBits: return GLX_RED_SIZE;
    case GlAttribute::GreenBits: return GLX_GREEN_SIZE;
    case GlAttribute::BlueBits: return GLX_BLUE_SIZE;
    case GlAttribute::AlphaBits: return GLX_ALPHA_SIZE;
    case GlAttribute::DepthBits: return GLX_DEPTH_SIZE;
    case GlAttribute::AccumRedBits: return GLX_ACCUM_RED_SIZE;
    case GlAttribute::AccumGreenBits: return GLX_ACCUM_GREEN_SIZE;
    case GlAttribute::AccumBlueBits: return GLX_ACCUM_BLUE_SIZE;
    case GlAttribute::AccumAlphaBits: return GLX_ACCUM_ALPHA_SIZE;
    case GlAttribute::StencilBits: return GLX_STENCIL_SIZE;
    case GlAttribute::SampleBuffers: return GLX_SAMPLE_BUFFERS;
    case GlAttribute::Samples: return GLX_SAMPLES;
    case GlAttribute::FullAcceleration:
    case GlAttribute::AccumBits: return 0;
    }
    return 0;
}

int glx_value(GlAttribute name, int32_t value) {
    if (name == GlAttribute::DrawToWindow) return value ? GLX_WINDOW_BIT : 0;
    if (name == GlAttribute::DoubleBuffer) return value ? True : False;
    return value;
}

// The None-terminated attribute list of a request.
void glx_attributes(const GlFormatRequest& request, int (&list)[CAPACITY]) {
    int n = 0;
    for (int v : FIXED) list[n++] = v;
    for (int32_t i = 0; i < request.count; ++i) {
        const GlAttributeValue& a = request.items[i];
        const int attribute = glx_attribute(a.name);
        if (!attribute) continue;
        list[n++] = attribute;
        list[n++] = glx_value(a.name, a.value);
    }
    list[n] = None;
}

}  // namespace

bool glx_find_config(const GlFormatRequest& request, GLXFBConfig* config) {
    X11State& x = x11_state();
    int list[CAPACITY];
    glx_attributes(request, list);
    int count = 0;
    x11_begin_checked();
    GLXFBConfig* configs = glx.glXChooseFBConfig(x.display, x.screen, list, &count);
    const bool refused = !x11_sync_ok();
    *config = nullptr;
    // Sorted best first: the first whose visual has the screen's depth is
    // taken, else the first with a visual. (A deeper visual carries alpha
    // that a compositing desktop would show as translucence.)
    const int screen_depth = DefaultDepth(x.display, x.screen);
    bool exact = false;
    for (int i = 0; configs && !refused && i < count && !exact; ++i) {
        XVisualInfo* info = glx.glXGetVisualFromFBConfig(x.display, configs[i]);
        if (!info) continue;
        exact = info->depth == screen_depth;
        if (exact || !*config) *config = configs[i];
        x11.XFree(info);
    }
    if (configs) x11.XFree(configs);
    return *config != nullptr;
}

GlFormatRequest glx_plain_request() {
    GlFormatRequest r{};
    r.items[r.count++] = {GlAttribute::DrawToWindow, 1};
    r.items[r.count++] = {GlAttribute::DoubleBuffer, 1};
    return r;
}

bool glx_visual_of(GLXFBConfig config, Visual** visual, int* depth, Colormap* colormap) {
    X11State& x = x11_state();
    XVisualInfo* info = glx.glXGetVisualFromFBConfig(x.display, config);
    if (!info) return false;
    *visual = info->visual;
    *depth = info->depth;
    x11.XFree(info);
    *colormap = x11.XCreateColormap(x.display, x.root, *visual, AllocNone);
    return *colormap != 0;
}
