// The DirectDraw surfaces the picture goes through, and the converter into
// the display's pixel format.
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

// Window mode: the primary is the whole display, clipped to the window;
// the picture is converted into a surface of its own and blitted.
bool make_back_surface() {
    DxState& dx = dx_state();
    const DisplayWindow& w = display_window();
    if (FAILED(dx.primary->SetClipper(dx.clipper))) return false;
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
    desc.dwWidth = static_cast<DWORD>(w.width);
    desc.dwHeight = static_cast<DWORD>(w.height);
    return SUCCEEDED(dx.ddraw->CreateSurface(&desc, &dx.back, nullptr)) && dx.back;
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
    if (bits == 8 && !make_palette()) return false;
    w.converter = get_converter(bits, dx_destination_order(bits, format.dwRBitMask));
    return w.converter != nullptr;
}

}  // namespace

bool dx_make_surfaces() {
    DxState& dx = dx_state();
    if (!make_primary()) return false;
    if (display_window().flags & SCREEN_FULLSCREEN) {
        dx.back = dx.primary;
        dx.back->AddRef();
    } else if (!make_back_surface()) {
        return false;
    }
    return choose_converter();
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
    display_window().converter = nullptr;
}
