// The cost of a full refresh pass of the "GDI" back-end: all 512 rows of
// the 512 x 512 8-bit page to the window with SetDIBitsToDevice. Opens the
// program's screen in a "GDI" window (needs a desktop; under Wine an X
// display, WT_WINE_DISPLAY) and times, on this thread, the refresh pass
// with every row dirty, and the SetDIBitsToDevice call of the pass alone.
// Prints the median and the spread in microseconds.
#include <windows.h>

#include "bench/window_pass.h"
#include "display/display_window.h"
#include "display/gdi/gdi_backend.h"
#include "display/win32/win32_window.h"
#include "gfx/screen.h"

namespace {

constexpr int PASSES = 2000;

}  // namespace

int main() {
    if (!open_window_screen("GDI", "")) return 1;

    // The pass as the refresh thread makes it (the display lock, the device
    // context, the blit of every row, the key states, the message drain);
    // the refresh thread sleeps meanwhile.
    report_with_cpu("refresh pass, all 512 rows dirty", PASSES, [](int) {
        mark_all_dirty();
        locked_pass(gdi_refresh_pass);
    });

    const HWND window = win32_window().window;
    const GfxScreen* s = g_gfx_screen;
    HDC dc = GetDC(window);
    report("SetDIBitsToDevice of 512 rows alone", time_runs(PASSES, [&](int) {
               gfx_lock();
               SetDIBitsToDevice(dc, 0, 0, 512, 512, 0, 0, 0, 512, s->visible_pixels, gdi_state().header,
                                 DIB_RGB_COLORS);
               gfx_unlock(1, 0);
           }));
    report("SetDIBitsToDevice of 8 rows (a text line)", time_runs(PASSES, [&](int i) {
               const int first = (i * 8) % 512;
               gfx_lock();
               SetDIBitsToDevice(dc, 0, first, 512, 8, 0, 0, 0, 8, s->visible_pixels + first * s->pitch,
                                 gdi_state().header, DIB_RGB_COLORS);
               gfx_unlock(1, 0);
           }));
    ReleaseDC(window, dc);
    gfx_screen_close();
    return 0;
}
