// The display modes DirectDraw lists, of one depth.
#include <cstdlib>

#include "display/directx/dx_backend.h"
#include "display/directx/dx_mode_search.h"
#include "display/display_window.h"
#include "display/mode_list.h"

namespace {

struct Collect {
    ModeList list;
    int32_t depth;
    bool full;  // the list could not grow
};

HRESULT WINAPI collect_mode(LPDDSURFACEDESC desc, LPVOID context) {
    auto* c = static_cast<Collect*>(context);
    const DDPIXELFORMAT& f = desc->ddpfPixelFormat;
    if (dx_surface_bits(f.dwRGBBitCount, f.dwGBitMask) != c->depth) return DDENUMRET_OK;
    if (mode_list_add(c->list, desc->dwWidth, desc->dwHeight)) return DDENUMRET_OK;
    c->full = true;
    return DDENUMRET_CANCEL;
}

// A temporary object of the primary display; the library stays loaded
// until the object is given up.
IDirectDraw2* temporary_ddraw(HMODULE* library) {
    *library = LoadLibraryA("ddraw.dll");
    if (!*library) return nullptr;
    const auto create =
        reinterpret_cast<DirectDrawCreateFn>(reinterpret_cast<void*>(GetProcAddress(*library, "DirectDrawCreate")));
    return create ? dx_create_ddraw(create, nullptr) : nullptr;
}

}  // namespace

// The modes of the display whose bit count (5-5-5 counted as 15) is the
// depth. The running back-end's DirectDraw object serves; without one a
// temporary one of the primary display, in ddraw.dll loaded for the
// purpose. When the list cannot grow, the modes so far.
int32_t* dx_fetch_modes(int32_t depth, int32_t* count) {
    *count = 0;
    IDirectDraw2* ddraw = nullptr;
    HMODULE library = nullptr;
    bool running = false;
    with_display_lock([&] { running = dx_hold_ddraw(&ddraw, &library); });
    if (!running) ddraw = temporary_ddraw(&library);
    Collect c{{}, depth, false};
    const bool listed = ddraw && SUCCEEDED(ddraw->EnumDisplayModes(DDEDM_STANDARDVGAMODES, nullptr, &c, collect_mode));
    dx_drop_ddraw(ddraw, library);
    if (!listed || c.list.count == 0) {
        std::free(c.list.entries);
        return nullptr;
    }
    *count = c.list.count;
    return c.list.entries;
}
