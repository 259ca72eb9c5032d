// Under a window manager that frames its windows, the frame is what the
// user sees: the window is centred by its frame, and its position is the
// frame's top-left corner, as a framed window's is on other platforms. The
// manager tells the frame's edges in _NET_FRAME_EXTENTS.
#include "display/display_window.h"
#include "display/posix/posix_window.h"
#include "display/x11/x11_backend.h"

namespace {

// left, right, top, bottom; false when the manager says nothing.
bool read_extents(const X11State& x, long edges[4]) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (x11.XGetWindowProperty(x.display, x.window, x.atoms.net_frame_extents, 0, 4, False, XA_CARDINAL, &type, &format,
                               &count, &after, &data) != Success ||
        !data)
        return false;
    const bool whole = format == 32 && count == 4;
    if (whole)
        for (int i = 0; i < 4; ++i) edges[i] = reinterpret_cast<const long*>(data)[i];
    x11.XFree(data);
    return whole;
}

}  // namespace

void x11_frame_extents_changed() {
    X11State& x = x11_state();
    const DisplayWindow& w = display_window();
    long edges[4] = {};
    if (!x.window || x.lost || !read_extents(x, edges)) return;
    x.frame_left = static_cast<int>(edges[0]);
    x.frame_top = static_cast<int>(edges[2]);
    // The first time the frame is known, a window placed by the program's
    // own centring is centred again by its frame; one the program moved
    // stays where it was put.
    if (!x.frame_centring || (w.flags & SCREEN_FULLSCREEN)) return;
    x.frame_centring = false;
    const int outer_width = w.width * x.scale + static_cast<int>(edges[0] + edges[1]);
    const int outer_height = w.height * x.scale + static_cast<int>(edges[2] + edges[3]);
    x11.XMoveWindow(x.display, x.window, centred_start(x.monitor_x, x.monitor_width, outer_width),
                    centred_start(x.monitor_y, x.monitor_height, outer_height));
}

void x11_frame_moved() {
    X11State& x = x11_state();
    int left = 0, top = 0;
    Window child;
    if (!x11.XTranslateCoordinates(x.display, x.window, x.root, 0, 0, &left, &top, &child)) return;
    posix_window().window_x = left - x.frame_left;
    posix_window().window_y = top - x.frame_top;
}
