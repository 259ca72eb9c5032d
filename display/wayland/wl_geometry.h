#pragma once
#include <cstdint>

// Where the picture goes on a Wayland surface: the surface's size in the
// compositor's units, the buffer's in device pixels, and the picture in
// the buffer as square blocks of `factor` device pixels, never filtered.
struct WlGeometry {
    int32_t logical_width, logical_height;  // the surface's size
    int32_t buffer_width, buffer_height;    // device pixels
    int32_t buffer_scale;                   // wl_surface.set_buffer_scale; 1 with a viewport
    bool viewport;                          // the surface's size is set through the viewport
    int32_t factor;                         // device pixels per picture pixel
    int32_t offset_x, offset_y;             // the picture's top-left corner in the buffer
};

// The geometry of a `width` x `height` picture. `output_scale` is the
// integer scale of the outputs the surface is on; `scale120` the
// compositor's preferred fractional scale in 120ths (0 when it gives none,
// and when there is no viewport to show a fractional buffer through). In
// full screen the surface takes the area the compositor gave (its
// configure size), the picture the largest whole factor that fits, centred
// on black; in a window the surface fits the picture at the whole factor
// nearest the scale.
WlGeometry wl_geometry(int32_t width, int32_t height, int32_t output_scale, int32_t scale120, bool fullscreen,
                       int32_t area_width, int32_t area_height);

// A surface position (the compositor's units) as a picture pixel; outside
// the picture the result lies outside 0 .. width - 1 too.
void wl_surface_to_picture(const WlGeometry& g, double sx, double sy, int32_t* px, int32_t* py);
