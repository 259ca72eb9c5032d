// The "GDI" refresh thread: in each pass, under the display lock, the span
// of dirty rows of the visible page goes to the window, the window's
// messages are handled and the key states are refreshed.
#include <windows.h>

#include <cstring>

#include "display/display_window.h"
#include "display/gdi/gdi_backend.h"
#include "display/picture_scale.h"
#include "display/win32/win32_window.h"
#include "gfx/screen.h"

namespace {

constexpr int32_t COLOURS = 256;

void realise_palette(HDC dc) {
    SelectPalette(dc, gdi_state().palette, FALSE);
    RealizePalette(dc);
}

// The palette into the bitmap's colour table and the window's logical
// palette.
void apply_palette(HDC dc) {
    GdiState& gdi = gdi_state();
    PALETTEENTRY entries[COLOURS];
    win32_palette_entries(entries);
    for (int32_t i = 0; i < COLOURS; ++i)
        gdi.header->bmiColors[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    SetPaletteEntries(gdi.palette, 0, COLOURS, entries);
    realise_palette(dc);
}

// Row `row` of the picture at its own size: the conversion, or the visible
// page itself.
const uint8_t* picture_row(const GfxScreen& s, int32_t row) {
    const GdiState& gdi = gdi_state();
    if (display_window().converter) return gdi.conversion + static_cast<ptrdiff_t>(row) * gdi.conversion_pitch;
    return s.visible_pixels + static_cast<ptrdiff_t>(row) * s.pitch;
}

// Row `row` of the bitmap the window shows: the picture, or its scaled
// copy.
const uint8_t* shown_row(const GfxScreen& s, int32_t row) {
    const GdiState& gdi = gdi_state();
    if (gdi.scaled) return gdi.scaled + static_cast<ptrdiff_t>(row) * gdi.scaled_pitch;
    return picture_row(s, row);
}

// Rows first .. first + count - 1 of the shown bitmap to the same rows of
// the client area.
void blit(HDC dc, const GfxScreen& s, int32_t first, int32_t count) {
    const BITMAPINFO* header = gdi_state().header;
    SetDIBitsToDevice(dc, 0, first, static_cast<DWORD>(header->bmiHeader.biWidth), static_cast<DWORD>(count), 0, 0, 0,
                      static_cast<UINT>(count), shown_row(s, first), header, DIB_RGB_COLORS);
}

// Picture rows first..last go, the clean ones among them too; scaled, each
// as `scale` rows of blocks.
void show_rows(HDC dc, const GfxScreen& s, int32_t first, int32_t last) {
    const DisplayWindow& w = display_window();
    const GdiState& gdi = gdi_state();
    if (w.converter) w.converter(gdi.conversion, gdi.conversion_pitch);
    const int32_t scale = gdi.scaled ? win32_window().scale : 1;
    if (gdi.scaled) {
        const int32_t pitch = w.converter ? gdi.conversion_pitch : s.pitch;
        scale_rows(picture_row(s, 0), pitch, gdi.scaled, gdi.scaled_pitch, w.width, w.depth / 8, first, last, scale);
    }
    const int32_t top = first * scale, count = (last - first + 1) * scale;
    blit(dc, s, top, count);
    if (win32_window().platform_version < PLATFORM_2000) {
        const RECT strip{0, top, w.width * scale, top + count};
        InvalidateRect(win32_window().window, &strip, FALSE);
    }
}

bool any_row_dirty(const GfxScreen* s) {
    int32_t first = 0, last = 0;
    return s && dirty_span(s->dirty_rows, window_rows(*s), &first, &last);
}

// A changed palette and the span from the first dirty row to the last to
// the window; the device context is taken only when one of them is there.
// Whether rows were copied.
bool show_changes(HWND window, GfxScreen* s) {
    DisplayWindow& w = display_window();
    int32_t first = 0, last = 0;
    const bool dirty = s && dirty_span(s->dirty_rows, window_rows(*s), &first, &last);
    if (!dirty && !w.palette_changed.load()) return false;
    HDC dc = GetDC(window);
    if (!dc) return false;
    if (w.palette_changed.exchange(0)) apply_palette(dc);
    if (dirty) show_rows(dc, *s, first, last);
    ReleaseDC(window, dc);
    return dirty;
}

bool can_show() { return win32_window().window && gdi_state().header; }

}  // namespace

// One pass; the caller holds the display lock. Without a window (a
// full-screen switch that could set up neither mode) nothing is drawn: a
// device context of no window would be the whole display's. The key states
// are read after the messages, so that they include the keys the pass
// handled.
RefreshOutcome gdi_refresh_pass() {
    DisplayWindow& w = display_window();
    GfxScreen* s = g_gfx_screen;
    const bool copied = can_show() && show_changes(win32_window().window, s);
    if (s) std::memset(s->dirty_rows, 0, static_cast<size_t>(window_rows(*s)));
    display_pump_messages();
    if (w.active) win32_refresh_key_states();
    const bool left = can_show() && (any_row_dirty(g_gfx_screen) || w.palette_changed.load());
    return RefreshOutcome{copied, left};
}

void gdi_thread_main() { win32_refresh_thread_main(gdi_refresh_pass); }

// Shows what the last pass left, converting nothing.
void gdi_paint() {
    const GdiState& gdi = gdi_state();
    const HWND window = win32_window().window;
    const GfxScreen* s = g_gfx_screen;
    if (!window || !gdi.header || !s) return;
    HDC dc = GetDC(window);
    if (!dc) return;
    realise_palette(dc);
    const LONG rows = -gdi.header->bmiHeader.biHeight;
    blit(dc, *s, 0, rows);
    const RECT client{0, 0, gdi.header->bmiHeader.biWidth, rows};
    InvalidateRect(window, &client, FALSE);
    ReleaseDC(window, dc);
}
