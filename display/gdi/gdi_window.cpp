// The "GDI" window: made and destroyed on the refresh thread, again on
// every switch between window and full screen.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "display/converters.h"
#include "display/display_window.h"
#include "display/gdi/gdi_backend.h"
#include "display/win32/win32_window.h"
#include "gfx/screen.h"

namespace {

GdiState g_gdi;

constexpr int32_t COLOURS = 256;
constexpr DWORD FULLSCREEN_STYLE = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

struct Placement {
    DWORD style, ex_style;
    int32_t x, y, outer_width, outer_height;
};

// Full screen: the display mode changed to the picture's size, the window
// over the whole of it.
bool place_fullscreen(const MONITORINFOEXA* monitor, Placement* p) {
    const DisplayWindow& w = display_window();
    if (!win32_set_display_mode(monitor, w.width, w.height, w.depth, w.refresh_rate)) return false;
    *p = {FULLSCREEN_STYLE, 0,       monitor ? monitor->rcMonitor.left : 0, monitor ? monitor->rcMonitor.top : 0,
          w.width,          w.height};
    return true;
}

// A window of the picture's client size at the window's scale, centred.
bool place_window(const MONITORINFOEXA* monitor, Placement* p) {
    const DisplayWindow& w = display_window();
    DWORD sizing = 0, style = 0;
    win32_window_styles(w.flags, &sizing, &style);
    DWORD ex_style = 0;
    if (w.flags & SCREEN_SHAPED) {
        if (win32_window().platform_version < PLATFORM_2000) return false;
        ex_style = WS_EX_LAYERED;
    }
    SIZE outer{};
    if (!win32_outer_size(sizing, 0, &outer)) return false;  // a layered window has the same frame
    const POINT at = win32_centred_position(monitor, outer.cx, outer.cy);
    *p = {style, ex_style, at.x, at.y, outer.cx, outer.cy};
    return true;
}

// The colour key of a shaped window: palette index 0, or magenta above 8 bits.
bool make_shaped() {
    const DisplayWindow& w = display_window();
    const Win32Window& w32 = win32_window();
    if (!(w.flags & SCREEN_SHAPED)) return true;
    if (!w32.user32.SetLayeredWindowAttributes) return false;
    const COLORREF key = w.depth == 8 ? 0 : 0xFF00FF;
    return w32.user32.SetLayeredWindowAttributes(w32.window, key, 0, LWA_COLORKEY) != 0;
}

// The header of the bitmap shown: the picture at the window's scale.
void size_header(int32_t scale) {
    const DisplayWindow& w = display_window();
    BITMAPINFOHEADER& h = g_gdi.header->bmiHeader;
    h.biWidth = w.width * scale;
    h.biHeight = -w.height * scale;  // rows top-down, as the pages hold them
}

bool make_header() {
    const DisplayWindow& w = display_window();
    g_gdi.header = static_cast<BITMAPINFO*>(std::calloc(1, sizeof(BITMAPINFOHEADER) + COLOURS * sizeof(RGBQUAD)));
    if (!g_gdi.header) return false;
    BITMAPINFOHEADER& h = g_gdi.header->bmiHeader;
    h.biSize = sizeof h;
    size_header(win32_window().scale);
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(w.depth);
    h.biCompression = BI_RGB;
    h.biClrUsed = COLOURS;
    return true;
}

// The converter the window's depth needs; none where the visible page can
// be shown as it is (8 or 32 bits, rows of whole 32-bit words). False when
// one is needed and there is none.
bool choose_converter() {
    DisplayWindow& w = display_window();
    const bool plain_depth = w.depth == 8 || w.depth == 32;
    w.converter = nullptr;
    if ((w.flags & SCREEN_SHAPED) && w.depth == 32)
        w.converter = get_shaped_converter();
    else if (w.depth == 16)
        w.converter = get_converter(15, 0);  // a 16-bit BI_RGB bitmap is 5-5-5
    else if (plain_depth && w.width % 4 == 0)
        return true;
    else if (plain_depth)
        w.converter = get_converter(w.depth, 0);
    return w.converter != nullptr;
}

bool make_conversion_buffer() {
    const DisplayWindow& w = display_window();
    if (!w.converter) return true;
    const GfxScreen* s = g_gfx_screen;
    const int32_t bytes = s ? s->bytes_per_pixel : w.depth / 8;
    const int32_t pitch = s ? s->pitch : w.width * bytes;
    g_gdi.conversion_pitch = (pitch + 3) & ~3;
    const size_t size = static_cast<size_t>(w.height) * static_cast<size_t>((w.width + 3) & ~3) * bytes;
    g_gdi.conversion = static_cast<uint8_t*>(std::calloc(1, size));
    return g_gdi.conversion != nullptr;
}

// The scaled copy of the picture the window shows at a scale above 1, in
// rows of whole 32-bit words as the bitmap wants; none at 1. False when
// it can't be had.
bool make_scaled(int32_t scale, uint8_t** scaled, int32_t* pitch) {
    const DisplayWindow& w = display_window();
    *scaled = nullptr;
    *pitch = 0;
    if (scale <= 1) return true;
    *pitch = (w.width * scale * (w.depth / 8) + 3) & ~3;
    *scaled = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(w.height) * scale, static_cast<size_t>(*pitch)));
    return *scaled != nullptr;
}

// The logical palette, from the record's palette.
bool make_palette() {
    constexpr size_t size = sizeof(LOGPALETTE) + (COLOURS - 1) * sizeof(PALETTEENTRY);
    auto* logical = static_cast<LOGPALETTE*>(std::calloc(1, size));
    if (!logical) return false;
    logical->palVersion = 0x300;
    logical->palNumEntries = COLOURS;
    PALETTEENTRY entries[COLOURS];
    win32_palette_entries(entries);
    std::memcpy(logical->palPalEntry, entries, sizeof entries);
    g_gdi.palette = CreatePalette(logical);
    std::free(logical);
    return g_gdi.palette != nullptr;
}

}  // namespace

GdiState& gdi_state() { return g_gdi; }

int32_t gdi_window_init() {
    const DisplayWindow& w = display_window();
    g_gdi = GdiState{};
    MONITORINFOEXA info;
    const MONITORINFOEXA* monitor = win32_monitor_info(&info) ? &info : nullptr;
    const bool full_screen = (w.flags & SCREEN_FULLSCREEN) != 0;
    win32_choose_scale(full_screen);
    Placement p{};
    const bool placed = full_screen ? place_fullscreen(monitor, &p) : place_window(monitor, &p);
    if (!placed) return -1;
    if (display_window_create(p.style, p.ex_style, p.x, p.y, p.outer_width, p.outer_height) != 0) return -1;
    win32_adopt_window_dpi();
    if (!make_shaped() || !make_header() || !choose_converter() || !make_conversion_buffer() ||
        !make_scaled(win32_window().scale, &g_gdi.scaled, &g_gdi.scaled_pitch))
        return -1;
    HDC dc = GetDC(win32_window().window);
    if (!dc) return -1;
    win32_store_refresh_rate(dc);
    const bool made = make_palette();
    ReleaseDC(win32_window().window, dc);
    return made ? 0 : -1;
}

// Safe after a failed init and when called again: what is gone is not
// released twice.
void gdi_window_exit() {
    DisplayWindow& w = display_window();
    Win32Window& w32 = win32_window();
    std::free(g_gdi.conversion);
    std::free(g_gdi.scaled);
    std::free(g_gdi.header);
    g_gdi.conversion = nullptr;
    g_gdi.scaled = nullptr;
    g_gdi.header = nullptr;
    w.converter = nullptr;
    if (w32.window) {
        if (w.flags & SCREEN_FULLSCREEN) win32_restore_display_mode();
        DestroyWindow(w32.window);
        w32.window = nullptr;
    }
    if (g_gdi.palette) DeleteObject(g_gdi.palette);
    g_gdi.palette = nullptr;
}

bool gdi_rescale(int32_t scale) {
    uint8_t* scaled = nullptr;
    int32_t pitch = 0;
    if (!g_gdi.header || !make_scaled(scale, &scaled, &pitch)) return false;
    std::free(g_gdi.scaled);
    g_gdi.scaled = scaled;
    g_gdi.scaled_pitch = pitch;
    size_header(scale);
    return true;
}
