// The cost of a refresh pass of the "DirectX" back-end: the 512 x 512
// 8-bit page converted into the back surface and the back surface blitted
// to the window. Opens the program's screen in a "DirectX" window (needs a
// desktop; under Wine an X display, WT_WINE_DISPLAY) and times, on this
// thread, the refresh pass with every row dirty and with none, and its two
// halves alone: the conversion into the locked surface, and the blit.
// Prints the median and the spread in microseconds.
#include <windows.h>

#include "bench/window_pass.h"
#include "display/directx/dx_backend.h"
#include "display/display_window.h"
#include "gfx/screen.h"

namespace {

constexpr int PASSES = 500;

// The conversion of every row into the locked back surface, as a pass
// makes it.
void convert_all_rows() {
    mark_all_dirty();
    gfx_lock();
    IDirectDrawSurface* back = dx_state().back;
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    if (SUCCEEDED(back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr))) {
        display_window().converter(static_cast<uint8_t*>(desc.lpSurface), static_cast<int32_t>(desc.lPitch));
        back->Unlock(nullptr);
    }
    gfx_unlock(1, 0);
}

}  // namespace

int main() {
    if (!open_window_screen("DirectX", " or no DirectDraw")) return 1;

    // The pass as the refresh thread makes it (the display lock, the
    // conversion, the blit, the keyboard's state, the message drain); the
    // refresh thread sleeps meanwhile.
    report_with_cpu("refresh pass, all 512 rows dirty", PASSES, [](int) {
        mark_all_dirty();
        locked_pass(dx_refresh_pass);
    });
    report_with_cpu("refresh pass, no row dirty", PASSES, [](int) { locked_pass(dx_refresh_pass); });
    report_with_cpu("lock, convert 512 rows, unlock", PASSES, [](int) { convert_all_rows(); });
    report_with_cpu("blit of the back surface to the window", PASSES, [](int) {
        gfx_lock();
        dx_paint();
        gfx_unlock(1, 0);
    });
    gfx_screen_close();
    return 0;
}
