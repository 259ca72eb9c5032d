// The "DirectX" refresh thread: in each pass, under the display lock, the
// dirty rows of the visible page are converted into the back surface,
// which goes to the window; the window's messages are handled and the key
// states come from the DirectInput keyboard.
#include <cstring>

#include "display/directx/dx_backend.h"
#include "display/display_window.h"
#include "display/picture_scale.h"
#include "display/win32/win32_window.h"
#include "gfx/screen.h"

namespace {

constexpr DWORD VBLANK_WAIT_MS = 20;
constexpr DWORD RECREATE_PAUSE_MS = 300;

bool full_screen() { return (display_window().flags & SCREEN_FULLSCREEN) != 0; }

// The display mode changed under the program: everything is made again,
// until it can be or the window is closed. The lock is given up during the
// pauses so that the program goes on meanwhile; nothing of DirectX exists
// then.
void recreate() {
    DisplayWindow& w = display_window();
    dx_window_exit();
    while (w.running.load() && dx_window_init() != 0) {
        dx_window_exit();
        window_unlock();
        Sleep(RECREATE_PAUSE_MS);
        window_lock();
    }
    const User32Extras& u = win32_window().user32;
    const HWND window = win32_window().window;
    if (window && u.FlashWindowEx) {
        FLASHWINFO flash{sizeof flash, window, FLASHW_STOP, 0, 0};
        u.FlashWindowEx(&flash);
    }
}

// A window of a scale above 1: the dirty rows first..last converted at
// their own size, then each pixel as a block into the surface.
void convert_scaled(uint8_t* pixels, int32_t pitch, int32_t first, int32_t last) {
    DxState& dx = dx_state();
    const DisplayWindow& w = display_window();
    w.converter(dx.unscaled, dx.unscaled_pitch);
    scale_rows(dx.unscaled, dx.unscaled_pitch, pixels, pitch, w.width, dx.bytes_per_pixel, first, last,
               win32_window().scale);
}

// Rows top .. bottom - 1 of the back surface to the same rows of the
// window's client area on the display.
void blit_rows(LONG top, LONG bottom) {
    DxState& dx = dx_state();
    const HWND window = win32_window().window;
    if (full_screen() || !window || !dx.primary || !dx.back) return;
    POINT origin{0, 0};
    if (!ClientToScreen(window, &origin)) return;
    RECT source{0, top, dx.display_rect.right, bottom};
    RECT target = source;
    OffsetRect(&target, origin.x, origin.y);
    HRESULT result = dx.primary->Blt(&target, dx.back, &source, DDBLT_WAIT, nullptr);
    if (result == DDERR_SURFACELOST && dx_restore_surfaces() && dx.primary && dx.back)
        dx.primary->Blt(&target, dx.back, &source, DDBLT_WAIT, nullptr);
}

// The dirty rows converted into the locked back surface; the rows are
// clean after, and first..last is the span of them (all of them after a
// restore, which marks every row). False when the surface could not be
// locked: the rows stay dirty for the next pass.
bool convert_into_back_surface(GfxScreen& s, int32_t* first, int32_t* last) {
    DxState& dx = dx_state();
    DisplayWindow& w = display_window();
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    HRESULT result = dx.back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
    if (result == DDERR_SURFACELOST && dx_restore_surfaces() && dx.back)
        result = dx.back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
    if (FAILED(result)) return false;
    if (!dirty_span(s.dirty_rows, window_rows(s), first, last)) {
        dx.back->Unlock(nullptr);
        return false;
    }
    auto* pixels = static_cast<uint8_t*>(desc.lpSurface);
    const auto pitch = static_cast<int32_t>(desc.lPitch);
    if (w.converter && pixels && dx.unscaled)
        convert_scaled(pixels, pitch, *first, *last);
    else if (w.converter && pixels)
        w.converter(pixels + static_cast<ptrdiff_t>(dx.vertical_offset) * pitch, pitch);
    dx.back->Unlock(nullptr);
    std::memset(s.dirty_rows, 0, static_cast<size_t>(window_rows(s)));
    return true;
}

// The span of dirty rows converted into the back surface and, in a window,
// blitted to it; only the span goes, which Wine's DirectDraw draws the
// sooner for it. False when nothing was converted.
bool show_dirty_rows(GfxScreen& s) {
    int32_t first = 0, last = 0;
    // Looked at before the surface is locked: a lock, even of nothing,
    // wakes Wine's Direct3D thread, which then spins for a while.
    if (!dirty_span(s.dirty_rows, window_rows(s), &first, &last) || !convert_into_back_surface(s, &first, &last))
        return false;
    const int32_t scale = dx_state().unscaled ? win32_window().scale : 1;
    blit_rows(first * scale, (last + 1) * scale);
    return true;
}

// Whether a row of the picture changed since the last pass.
bool any_row_dirty(const GfxScreen* s) {
    int32_t first = 0, last = 0;
    return s && dirty_span(s->dirty_rows, window_rows(*s), &first, &last);
}

void apply_palette() {
    DxState& dx = dx_state();
    DisplayWindow& w = display_window();
    if (!dx.palette || !w.palette_changed.exchange(0)) return;
    PALETTEENTRY entries[256];
    win32_palette_entries(entries);
    dx.palette->SetEntries(0, 0, 256, entries);
}

// Whether a pass can show the picture: a full-screen display that lost
// the focus is left alone, and without surfaces (a switch that could set
// up neither mode) nothing is drawn.
bool can_show() {
    const DisplayWindow& w = display_window();
    return dx_state().back && (w.active || !full_screen());
}

}  // namespace

// One pass; the caller holds the display lock. The back surface goes to
// the window only when rows were converted into it: it shows nothing new
// otherwise, and a window the desktop uncovered is repainted through its
// paint message. The key states are read after the messages, so that a
// pass woken by a key reads the key's state.
RefreshOutcome dx_refresh_pass() {
    DxState& dx = dx_state();
    const DisplayWindow& w = display_window();
    if (dx.vblank_pending) {
        WaitForSingleObject(dx.vblank_event, VBLANK_WAIT_MS);
        dx.vblank_pending = 0;
    }
    bool copied = false;
    if (w.active || !full_screen()) {
        apply_palette();
        GfxScreen* s = g_gfx_screen;
        copied = dx.back && s && show_dirty_rows(*s);
    }
    display_pump_messages();
    if (w.active) dx_keyboard_refresh_key_states();
    const bool palette_left = dx.palette && display_window().palette_changed.load();
    return RefreshOutcome{copied, can_show() && (any_row_dirty(g_gfx_screen) || palette_left)};
}

void dx_thread_main() { win32_refresh_thread_main(dx_refresh_pass); }

// The whole back surface to the window's client area on the display.
void dx_paint() { blit_rows(0, dx_state().display_rect.bottom); }

// A restored surface has lost its contents: every row is converted again.
bool dx_restore_surfaces() {
    DxState& dx = dx_state();
    if (!dx.primary) return false;
    if (dx.primary->IsLost() != DDERR_SURFACELOST) return true;
    if (dx.back != dx.primary) dx.back->Restore();
    const HRESULT result = dx.primary->Restore();
    if (result == DDERR_WRONGMODE) recreate();
    gfx_mark_all_dirty();
    return dx.primary && dx.primary->IsLost() == DD_OK;
}

// On the drawing thread. The refresh thread may make everything again
// meanwhile, so the wait holds its own references to the DirectDraw
// object, its library and the event.
void dx_wait_vsync() {
    DxState& dx = dx_state();
    IDirectDraw2* ddraw = nullptr;
    HMODULE library = nullptr;
    HANDLE event = nullptr;
    with_display_lock([&] {
        const HANDLE process = GetCurrentProcess();
        if (!dx.vblank_event || !dx_hold_ddraw(&ddraw, &library)) return;
        if (DuplicateHandle(process, dx.vblank_event, process, &event, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
            ResetEvent(event);
            dx.vblank_pending = 1;
        }
    });
    if (ddraw)
        ddraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
    else
        window_wait_frame();  // no display to wait for: a frame's time
    if (event) {
        SetEvent(event);
        CloseHandle(event);
    }
    dx_drop_ddraw(ddraw, library);
}
