#include "display/wayland/wl_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t WHOLE = 120;  // fractional scales are told in 120ths

// A logical length in device pixels at the fractional scale, rounded as
// compositors round it.
int32_t device(int32_t logical, int32_t scale120) {
    return static_cast<int32_t>((static_cast<int64_t>(logical) * scale120 + WHOLE / 2) / WHOLE);
}

// The smallest logical length that covers `pixels` device pixels.
int32_t covering(int32_t pixels, int32_t scale120) {
    return static_cast<int32_t>((static_cast<int64_t>(pixels) * WHOLE + scale120 - 1) / scale120);
}

void centre(WlGeometry& g, int32_t width, int32_t height) {
    g.factor = std::max(1, std::min(g.buffer_width / width, g.buffer_height / height));
    g.offset_x = (g.buffer_width - width * g.factor) / 2;
    g.offset_y = (g.buffer_height - height * g.factor) / 2;
}

WlGeometry fractional(int32_t width, int32_t height, int32_t scale120, bool fullscreen, int32_t area_width,
                      int32_t area_height) {
    WlGeometry g{};
    g.buffer_scale = 1;
    g.viewport = true;
    if (fullscreen) {
        g.logical_width = area_width;
        g.logical_height = area_height;
    } else {
        // The whole factor nearest the scale; the surface just covers the
        // picture at it, so that the buffer maps onto device pixels 1:1.
        const int32_t factor = std::max(1, (scale120 + WHOLE / 2) / WHOLE);
        g.logical_width = covering(width * factor, scale120);
        g.logical_height = covering(height * factor, scale120);
    }
    g.buffer_width = device(g.logical_width, scale120);
    g.buffer_height = device(g.logical_height, scale120);
    centre(g, width, height);
    return g;
}

}  // namespace

WlGeometry wl_geometry(int32_t width, int32_t height, int32_t output_scale, int32_t scale120, bool fullscreen,
                       int32_t area_width, int32_t area_height) {
    fullscreen = fullscreen && area_width > 0 && area_height > 0;
    if (scale120 > 0 && scale120 % WHOLE != 0)
        return fractional(width, height, scale120, fullscreen, area_width, area_height);
    const int32_t scale = std::max(1, scale120 > 0 ? scale120 / WHOLE : output_scale);
    WlGeometry g{};
    g.buffer_scale = scale;
    g.logical_width = fullscreen ? area_width : width;
    g.logical_height = fullscreen ? area_height : height;
    g.buffer_width = g.logical_width * scale;
    g.buffer_height = g.logical_height * scale;
    centre(g, width, height);
    return g;
}

void wl_surface_to_picture(const WlGeometry& g, double sx, double sy, int32_t* px, int32_t* py) {
    const double to_device_x = g.logical_width > 0 ? static_cast<double>(g.buffer_width) / g.logical_width : 1.0;
    const double to_device_y = g.logical_height > 0 ? static_cast<double>(g.buffer_height) / g.logical_height : 1.0;
    const int32_t factor = std::max(1, g.factor);
    *px = static_cast<int32_t>(std::floor((sx * to_device_x - g.offset_x) / factor));
    *py = static_cast<int32_t>(std::floor((sy * to_device_y - g.offset_y) / factor));
}
