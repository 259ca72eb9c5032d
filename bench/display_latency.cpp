// Key-to-echo latency of the program's window: at the prompt, types "1"
// with XTest (as a keyboard would, through the server) and times until its
// glyph shows in the cell after "Rate? ", then Backspace until the cell is
// empty again. Prints the times in milliseconds.
//
//   display_latency [SAMPLES]   (40 by default); uses DISPLAY, finds the
//                               window by its title and gives it the focus
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int CELL_X = 6 * 8;  // the column after "Rate? "
constexpr int DEFAULT_SAMPLES = 40;

Window find_window(Display* d, const char* name) {
    Window root = DefaultRootWindow(d), parent, *children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (!XQueryTree(d, root, &root, &parent, &children, &count)) return 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        char* title = nullptr;
        if (XFetchName(d, children[i], &title) && title) {
            if (std::strcmp(title, name) == 0) found = children[i];
            XFree(title);
        }
    }
    if (children) XFree(children);
    return found;
}

// The glyph part of the cell: the line editor's cursor underlines it.
constexpr int GLYPH_ROWS = 6;

bool cell_lit(Display* d, Window w) {
    XImage* image = XGetImage(d, w, CELL_X, 0, 8, GLYPH_ROWS, AllPlanes, ZPixmap);
    if (!image) return false;
    bool lit = false;
    for (int y = 0; y < GLYPH_ROWS && !lit; ++y)
        for (int x = 0; x < 8 && !lit; ++x) lit = XGetPixel(image, x, y) != 0;
    XDestroyImage(image);
    return lit;
}

void send_key(Display* d, KeySym keysym) {
    const KeyCode code = XKeysymToKeycode(d, keysym);
    XTestFakeKeyEvent(d, code, True, CurrentTime);
    XTestFakeKeyEvent(d, code, False, CurrentTime);
    XFlush(d);
}

// Milliseconds from the key until the cell is (or is no longer) lit.
double time_echo(Display* d, Window w, KeySym keysym, bool lit) {
    const auto start = Clock::now();
    send_key(d, keysym);
    while (cell_lit(d, w) != lit) {
        if (Clock::now() - start > std::chrono::seconds(2)) return -1;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%s: median %.1f ms, min %.1f ms, max %.1f ms (%zu samples)\n", what, times[times.size() / 2],
                times.front(), times.back(), times.size());
}

}  // namespace

int main(int argc, char** argv) {
    const int samples = argc > 1 ? std::atoi(argv[1]) : DEFAULT_SAMPLES;
    Display* d = XOpenDisplay(nullptr);
    if (!d) return std::fprintf(stderr, "no display\n"), 1;
    const Window w = find_window(d, "wavetable");
    if (!w) return std::fprintf(stderr, "no window titled wavetable\n"), 1;
    XSetInputFocus(d, w, RevertToParent, CurrentTime);
    XSync(d, False);
    std::vector<double> typed, erased;
    for (int i = 0; i < samples; ++i) {
        const double t = time_echo(d, w, XK_1, true);
        const double e = time_echo(d, w, XK_BackSpace, false);
        if (t < 0 || e < 0) return std::fprintf(stderr, "no echo\n"), 1;
        typed.push_back(t);
        erased.push_back(e);
        // Spaced at random, so that no rhythm of the program or the display
        // locks onto the samples.
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + std::rand() % 47));
    }
    report("key to echo", typed);
    report("Backspace to erased", erased);
    XCloseDisplay(d);
    return 0;
}
