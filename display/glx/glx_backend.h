#pragma once
// The GLX layer of the OpenGL back-end: the X connection, the window and
// its events are the X11 back-end's own pieces (display/x11/), used on the
// program's thread; this layer adds the framebuffer configuration and the
// rendering context.
#include "display/glx/glx_symbols.h"
#include "display/opengl/gl_format.h"

struct GlxState {
    GLXContext context;  // the window's, current on the program's thread
    // The probe: a hidden window of a plain configuration, and a context
    // made current on it while the implementation is looked at.
    Window probe_window;
    Colormap probe_colormap;
    GLXContext probe_context;
};

GlxState& glx_state();

// glx_config.cpp: the framebuffer configuration of a request. The first
// matching configuration that has an X visual; false when none matches.
bool glx_find_config(const GlFormatRequest& request, GLXFBConfig* config);
// A double-buffered RGBA window configuration of any sizes.
GlFormatRequest glx_plain_request();
// The visual and colormap of a configuration, for a window: false (nothing
// made) when the configuration has no visual.
bool glx_visual_of(GLXFBConfig config, Visual** visual, int* depth, Colormap* colormap);
