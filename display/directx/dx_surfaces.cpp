// The DirectDraw surfaces the picture goes through, and the converter into
// the display's pixel format.
#include <cstdlib>

#include "display/converters.h"
#include "display/directx/dx_backend.h"
#include "display/directx/dx_mode_search.h"
#include "display/display_window.h"
#include "display/win32/win32_window.h"
#include "gfx/screen.h"

namespace {

constexpr int32_t COLOURS = 256;

template <class T>
void release(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

bool make_primary() {
    DxState& dx = dx_state();
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    return SUCCEEDED(dx.ddraw->CreateSurface(&desc, &dx.primary, nullptr)) && dx.primary;
}

// The surface the picture is converted into at `scale`, blitted to the
// window as it is: a stretching blit may filter, a scaled picture is
// crisp.
IDirectDrawSurface* make_back_surface(int32_t scale) {
    DxState& dx = dx_state();
    const DisplayWindow& w = display_window();
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
    desc.dwWidth = static_cast<DWORD>(w.width * scale);
    desc.dwHeight = static_cast<DWORD>(w.height * scale);
    IDirectDrawSurface* surface = nullptr;
    if (FAILED(dx.ddraw->CreateSurface(&desc, &surface, nullptr))) return nullptr;
    return surface;
}

// Where the picture is converted at its own size before it is scaled into
// the back surface; none at scale 1, where it is converted straight in.
bool make_unscaled(int32_t scale, uint8_t** unscaled, int32_t* pitch) {
    const DisplayWindow& w = display_window();
    *unscaled = nullptr;
    *pitch = 0;
    if (scale <= 1) return true;
    *pitch = w.width * dx_state().bytes_per_pixel;
    *unscaled = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(w.height), static_cast<size_t>(*pitch)));
    return *unscaled != nullptr;
}

// An 8-bit display shows the record's palette through a DirectDraw
// palette on the primary.
bool make_palette() {
    DxState& dx = dx_state();
    DisplayWindow& w = display_window();
    PALETTEENTRY entries[COLOURS];
    win32_palette_entries(entries);
    if (FAILED(dx.ddraw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_INITIALIZE | DDPCAPS_ALLOW256, entries, &dx.palette,
                                       nullptr)) ||
        !dx.palette)
        return false;
    if (FAILED(dx.primary->SetPalette(dx.palette))) return false;
    w.palette_changed.store(0);
    return true;
}

// The converter into the primary's pixel format: bits and where red is.
bool choose_converter() {
    DxState& dx = dx_state();
    DisplayWindow& w = display_window();
    DDPIXELFORMAT format{};
    format.dwSize = sizeof format;
    if (FAILED(dx.primary->GetPixelFormat(&format)) || !(format.dwFlags & DDPF_RGB)) return false;
    const int32_t bits = dx_surface_bits(format.dwRGBBitCount, format.dwGBitMask);
    dx.bytes_per_pixel = (bits + 7) / 8;
    if (bits == 8 && !make_palette()) return false;
    w.converter = get_converter(bits, dx_destination_order(bits, format.dwRBitMask));
    return w.converter != nullptr;
}

}  // namespace

// Window mode: the primary is the whole display, clipped to the window;
// the picture is converted into a surface of its own and blitted.
bool dx_make_surfaces() {
    DxState& dx = dx_state();
    if (!make_primary()) return false;
    if (display_window().flags & SCREEN_FULLSCREEN) {
        dx.back = dx.primary;
        dx.back->AddRef();
        return choose_converter();
    }
    const int32_t scale = win32_window().scale;
    if (FAILED(dx.primary->SetClipper(dx.clipper)) || !(dx.back = make_back_surface(scale))) return false;
    return choose_converter() && make_unscaled(scale, &dx.unscaled, &dx.unscaled_pitch);
}

bool dx_rescale(int32_t scale) {
    DxState& dx = dx_state();
    const DisplayWindow& w = display_window();
    if (!dx.back || dx.back == dx.primary) return false;
    uint8_t* unscaled = nullptr;
    int32_t pitch = 0;
    IDirectDrawSurface* back = make_back_surface(scale);
    if (!back || !make_unscaled(scale, &unscaled, &pitch)) {
        release(back);
        return false;
    }
    release(dx.back);
    std::free(dx.unscaled);
    dx.back = back;
    dx.unscaled = unscaled;
    dx.unscaled_pitch = pitch;
    dx.display_rect = RECT{0, 0, w.width * scale, w.height * scale};
    return true;
}

// In full screen the display is left black for whatever comes next.
void dx_release_surfaces() {
    DxState& dx = dx_state();
    if (dx.primary && (display_window().flags & SCREEN_FULLSCREEN)) {
        DDBLTFX fill{};
        fill.dwSize = sizeof fill;
        fill.dwFillColor = 0;
        dx.primary->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill);
    }
    release(dx.back);
    release(dx.primary);
    release(dx.palette);
    release(dx.clipper);
    std::free(dx.unscaled);
    dx.unscaled = nullptr;
    display_window().converter = nullptr;
}
