#include <cstdlib>
#include <mutex>
#include <vector>

#include "display/mode_list.h"
#include "display/x11/x11_backend.h"

namespace {

bool randr_usable(Display* display) {
    int event_base = 0, error_base = 0;
    return x11.has_xrandr && x11.XRRQueryExtension(display, &event_base, &error_base);
}

// Bits per pixel of the display's own depth (32 for depth 24), as images
// of it are stored; 0 when unknown.
int bits_per_pixel(Display* display) {
    const int depth = DefaultDepth(display, DefaultScreen(display));
    int count = 0, bits = 0;
    XPixmapFormatValues* formats = x11.XListPixmapFormats(display, &count);
    if (!formats) return 0;
    for (int i = 0; i < count; ++i)
        if (formats[i].depth == depth) bits = formats[i].bits_per_pixel;
    x11.XFree(formats);
    return bits;
}

bool depth_matches(Display* display, int32_t depth, bool exact_depth) {
    if (exact_depth) return depth > 0 && depth == bits_per_pixel(display);
    return mode_depth_matches(DefaultDepth(display, DefaultScreen(display)), depth);
}

// The sizes the display offers, width x 65536 + height, each once.
std::vector<int32_t> display_sizes(Display* display) {
    std::vector<int32_t> sizes;
    const int screen = DefaultScreen(display);
    auto add = [&](unsigned width, unsigned height) {
        const auto entry = static_cast<int32_t>(width << 16 | (height & 0xFFFF));
        for (int32_t s : sizes)
            if (s == entry) return;
        sizes.push_back(entry);
    };
    if (randr_usable(display)) {
        if (XRRScreenResources* res = x11.XRRGetScreenResourcesCurrent(display, RootWindow(display, screen))) {
            for (int i = 0; i < res->nmode; ++i) add(res->modes[i].width, res->modes[i].height);
            x11.XRRFreeScreenResources(res);
        }
    }
    if (sizes.empty())
        add(static_cast<unsigned>(DisplayWidth(display, screen)),
            static_cast<unsigned>(DisplayHeight(display, screen)));
    return sizes;
}

int32_t* modes_for(Display* display, int32_t depth, int32_t* count, bool exact_depth) {
    *count = 0;
    if (!depth_matches(display, depth, exact_depth)) return nullptr;
    const std::vector<int32_t> sizes = display_sizes(display);
    auto* list = static_cast<int32_t*>(std::malloc(sizes.size() * sizeof(int32_t)));
    if (!list) return nullptr;
    for (size_t i = 0; i < sizes.size(); ++i) list[i] = sizes[i];
    *count = static_cast<int32_t>(sizes.size());
    return list;
}

void ignore_loss(Display*, void*) {}

}  // namespace

// The monitor under the pointer; the whole screen without a monitor list.
void x11_find_monitor(int* x, int* y, int* width, int* height) {
    const X11State& s = x11_state();
    *x = *y = 0;
    *width = DisplayWidth(s.display, s.screen);
    *height = DisplayHeight(s.display, s.screen);
    if (!randr_usable(s.display)) return;
    Window root_back, child;
    int px = 0, py = 0, wx = 0, wy = 0;
    unsigned int mask = 0;
    x11.XQueryPointer(s.display, s.root, &root_back, &child, &px, &py, &wx, &wy, &mask);
    int count = 0;
    XRRMonitorInfo* monitors = x11.XRRGetMonitors(s.display, s.root, True, &count);
    if (!monitors) return;
    for (int i = 0; i < count; ++i) {
        const XRRMonitorInfo& m = monitors[i];
        const bool under = px >= m.x && py >= m.y && px < m.x + m.width && py < m.y + m.height;
        if (under || i == 0) {
            *x = m.x;
            *y = m.y;
            *width = m.width;
            *height = m.height;
        }
        if (under) break;
    }
    x11.XRRFreeMonitors(monitors);
}

int32_t x11_refresh_rate() {
    const X11State& s = x11_state();
    if (!randr_usable(s.display)) return 0;
    XRRScreenConfiguration* config = x11.XRRGetScreenInfo(s.display, s.root);
    if (!config) return 0;
    const int32_t rate = x11.XRRConfigCurrentRate(config);
    x11.XRRFreeScreenConfigInfo(config);
    return rate;
}

// The display's depth is never changed: its own sizes are listed for its
// depth (exactly: its bits per pixel), none for others. Asks over a connection of its own, made and
// closed on the calling thread, so that it needs nothing of a running
// window's thread (each connection is used by one thread only).
int32_t* x11_list_modes(int32_t depth, int32_t* count, bool exact_depth) {
    static std::mutex serial;  // one temporary connection at a time
    std::lock_guard<std::mutex> lock(serial);
    *count = 0;
    if (!x11_library_load()) return nullptr;
    Display* display = x11.XOpenDisplay(nullptr);
    if (!display) return nullptr;
    // A server that goes away meanwhile only shortens the answer.
    if (x11.XSetIOErrorExitHandler) x11.XSetIOErrorExitHandler(display, ignore_loss, nullptr);
    int32_t* list = modes_for(display, depth, count, exact_depth);
    x11.XCloseDisplay(display);
    return list;
}

// The depth stored alike (15/16, 24/32) lists the display's sizes too.
int32_t* x11_fetch_modes(int32_t depth, int32_t* count) { return x11_list_modes(depth, count, false); }
