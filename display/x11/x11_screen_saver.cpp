// While the window is open the screen saver, and the display's power
// saving with it, is held off, as the other platforms' windows do. The
// server lets go by itself when the connection ends, however it ends.
#include "display/x11/x11_backend.h"

void x11_hold_screen_saver(bool hold) {
    X11State& x = x11_state();
    if (!x11.has_xss || !x.display || x.lost) return;
    int event_base = 0, error_base = 0;
    if (!x11.XScreenSaverQueryExtension(x.display, &event_base, &error_base)) return;
    // A server without the request (before version 1.1) refuses it; the
    // error is recorded and nothing else happens.
    x11.XScreenSaverSuspend(x.display, hold ? True : False);
}
