#include <cctype>
#include <cstring>
#include <vector>

#include "display/display_window.h"
#include "display/posix/posix_window.h"
#include "display/program_icon.h"
#include "display/window_events.h"
#include "display/x11/x11_backend.h"
#include "gfx/screen.h"

namespace {

constexpr long WINDOW_EVENTS = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                               EnterWindowMask | LeaveWindowMask | FocusChangeMask | ExposureMask |
                               StructureNotifyMask | PropertyChangeMask;

constexpr unsigned int POINTER_EVENTS =
    ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;

struct Placement {
    int x, y, width, height;
};

// Window mode: the picture's size, centred on the monitor. Full screen:
// the whole monitor, the picture scaled by the largest whole factor that
// fits and centred in it.
// A window the program draws itself goes to the monitor's top-left corner
// in full screen, at the picture's size.
Placement place_window(const DisplayWindow& w, X11State& x) {
    x11_find_monitor(&x.monitor_x, &x.monitor_y, &x.monitor_width, &x.monitor_height);
    if (x.drawn_by_program && (w.flags & SCREEN_FULLSCREEN)) {
        x.scale = 1;
        x.offset_x = x.offset_y = 0;
        return {x.monitor_x, x.monitor_y, w.width, w.height};
    }
    if (!(w.flags & SCREEN_FULLSCREEN)) {
        // The desktop's scale: each picture pixel a square of screen pixels.
        x.scale = x.drawn_by_program ? 1 : x.desktop_scale > 1 ? x.desktop_scale : 1;
        x.offset_x = x.offset_y = 0;
        const int width = w.width * x.scale, height = w.height * x.scale;
        return {centred_start(x.monitor_x, x.monitor_width, width),
                centred_start(x.monitor_y, x.monitor_height, height), width, height};
    }
    const int by_width = x.monitor_width / w.width, by_height = x.monitor_height / w.height;
    x.scale = by_width < by_height ? by_width : by_height;
    if (x.scale < 1) x.scale = 1;
    x.offset_x = (x.monitor_width - w.width * x.scale) >> 1;
    x.offset_y = (x.monitor_height - w.height * x.scale) >> 1;
    return {x.monitor_x, x.monitor_y, x.monitor_width, x.monitor_height};
}

void set_title(const X11State& x, const char* title) {
    x11.XStoreName(x.display, x.window, title);
    x11.XChangeProperty(x.display, x.window, x.atoms.net_wm_name, x.atoms.utf8_string, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title), static_cast<int>(std::strlen(title)));
}

// The instance is the program's name and the class the same capitalised,
// as X programs name themselves: desktops match the class with the desktop
// entry's StartupWMClass to give the window its menu entry and icon.
void set_class(const X11State& x, const DisplayWindow& w) {
    XClassHint* hint = x11.XAllocClassHint();
    if (!hint) return;
    char name[sizeof w.title], class_name[sizeof w.title];
    std::memcpy(name, w.title, sizeof name);
    std::memcpy(class_name, w.title, sizeof class_name);
    class_name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(class_name[0])));
    hint->res_name = name;
    hint->res_class = class_name;
    x11.XSetClassHint(x.display, x.window, hint);
    x11.XFree(hint);
}

// The program's icon in every size it is drawn in: width, height, then
// the ARGB pixels, each in a long as the property's format 32 wants.
void set_icon(const X11State& x) {
    std::vector<long> data;
    for (const ProgramIcon& icon : PROGRAM_ICONS) {
        data.push_back(icon.size);
        data.push_back(icon.size);
        data.insert(data.end(), icon.pixels, icon.pixels + icon.size * icon.size);
    }
    x11.XChangeProperty(x.display, x.window, x.atoms.net_wm_icon, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(data.data()), static_cast<int>(data.size()));
}

// The window keeps the size it was made with: the user cannot resize it.
void set_size_hints(const X11State& x, const Placement& p, bool fullscreen) {
    XSizeHints* hints = x11.XAllocSizeHints();
    if (!hints) return;
    // The position is the frame's top-left corner (north-west gravity),
    // as it is for framed windows elsewhere.
    hints->flags = USPosition | PSize | PWinGravity;
    hints->win_gravity = NorthWestGravity;
    hints->x = p.x;
    hints->y = p.y;
    hints->width = hints->min_width = hints->max_width = p.width;
    hints->height = hints->min_height = hints->max_height = p.height;
    if (!fullscreen) hints->flags |= PMinSize | PMaxSize;
    x11.XSetWMNormalHints(x.display, x.window, hints);
    x11.XFree(hints);
}

void set_window_state(const X11State& x, const DisplayWindow& w) {
    Atom states[2];
    int count = 0;
    if ((w.flags & SCREEN_FULLSCREEN) && !x.drawn_by_program) states[count++] = x.atoms.net_wm_state_fullscreen;
    if (w.flags & SCREEN_ALWAYS_ON_TOP) states[count++] = x.atoms.net_wm_state_above;
    if (count)
        x11.XChangeProperty(x.display, x.window, x.atoms.net_wm_state, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(states), count);
    else
        x11.XDeleteProperty(x.display, x.window, x.atoms.net_wm_state);
}

// No caption or border: the window manager's decoration hint off.
void set_no_frame(const X11State& x) {
    long hints[5] = {2, 0, 0, 0, 0};  // flags: decorations; decorations: none
    x11.XChangeProperty(x.display, x.window, x.atoms.motif_wm_hints, x.atoms.motif_wm_hints, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(hints), 5);
}

void set_properties(X11State& x, DisplayWindow& w, const Placement& p) {
    set_title(x, w.title);
    set_class(x, w);
    set_icon(x);
    Atom protocols[1] = {x.atoms.wm_delete_window};
    x11.XSetWMProtocols(x.display, x.window, protocols, 1);
    const bool fullscreen = (w.flags & SCREEN_FULLSCREEN) != 0;
    set_size_hints(x, p, fullscreen);
    set_window_state(x, w);
    if (fullscreen || (w.flags & SCREEN_NO_FRAME))
        set_no_frame(x);
    else
        x11.XDeleteProperty(x.display, x.window, x.atoms.motif_wm_hints);
}

Cursor make_blank_cursor(const X11State& x) {
    static const char empty[1] = {0};
    Pixmap bitmap = x11.XCreateBitmapFromData(x.display, x.window, empty, 1, 1);
    if (!bitmap) return 0;
    XColor black{};
    Cursor cursor = x11.XCreatePixmapCursor(x.display, bitmap, bitmap, &black, &black, 0, 0);
    x11.XFreePixmap(x.display, bitmap);
    return cursor;
}

void show_cursor(const X11State& x, bool shown) {
    if (shown || !x.blank_cursor)
        x11.XUndefineCursor(x.display, x.window);
    else
        x11.XDefineCursor(x.display, x.window, x.blank_cursor);
}

bool create_window(X11State& x, const Placement& p) {
    XSetWindowAttributes a{};
    a.background_pixel = 0;
    a.border_pixel = 0;
    a.colormap = x.colormap;
    a.event_mask = WINDOW_EVENTS;
    x11_begin_checked();
    x.window = x11.XCreateWindow(x.display, x.root, p.x, p.y, static_cast<unsigned>(p.width),
                                 static_cast<unsigned>(p.height), 0, x.visual_depth, InputOutput, x.visual,
                                 CWBackPixel | CWBorderPixel | CWColormap | CWEventMask, &a);
    if (x11_sync_ok()) return true;
    x.window = 0;  // refused: nothing was made
    return false;
}

void record_placement(DisplayWindow& w, const Placement& p) {
    w.outer_width = p.width;
    w.outer_height = p.height;
    posix_window().window_x = p.x;
    posix_window().window_y = p.y;
    x11_state().frame_centring = !(w.flags & SCREEN_FULLSCREEN);
}

void warp_pointer(const X11State& x, int32_t px, int32_t py) {
    const int scale = x.scale > 1 ? x.scale : 1;
    x11.XWarpPointer(x.display, None, x.window, 0, 0, 0, 0, x.offset_x + px * scale + scale / 2,
                     x.offset_y + py * scale + scale / 2);
}

}  // namespace

int32_t x11_window_create() {
    X11State& x = x11_state();
    DisplayWindow& w = display_window();
    if (!x.display || x.lost) return -1;
    const Placement p = place_window(w, x);
    if (!create_window(x, p)) return -1;
    record_placement(w, p);
    set_properties(x, w, p);
    x.blank_cursor = make_blank_cursor(x);
    show_cursor(x, mouse_state().cursor_shown != 0);
    x11_keyboard_init();
    return 0;
}

int32_t x11_window_show() {
    X11State& x = x11_state();
    if (!x.window || x.lost) return -1;
    x.focus_asked = false;
    x11_begin_checked();
    x11.XMapRaised(x.display, x.window);
    return x11_sync_ok() ? 0 : -1;
}

void x11_window_hide() {
    X11State& x = x11_state();
    if (!x.window || x.lost) return;
    x11_confine_pointer(0);
    x11.XUnmapWindow(x.display, x.window);
    x11.XSync(x.display, False);
}

void x11_window_restyle() {
    X11State& x = x11_state();
    DisplayWindow& w = display_window();
    if (!x.window || x.lost) return;
    const Placement p = place_window(w, x);
    x11.XMoveResizeWindow(x.display, x.window, p.x, p.y, static_cast<unsigned>(p.width),
                          static_cast<unsigned>(p.height));
    record_placement(w, p);
    set_properties(x, w, p);
}

int32_t x11_window_init() {
    if (x11_window_create() != 0 || x11_framebuffer_init() != 0 || x11_window_show() != 0) return -1;
    x11_hold_screen_saver(true);
    return 0;
}

void x11_window_exit() {
    X11State& x = x11_state();
    if (!x.display) return;
    x11_confine_pointer(0);
    x11_hold_screen_saver(false);
    x11_framebuffer_exit();
    x11_keyboard_exit();
    // A lost server took the window and the cursor with it.
    if (x.window && !x.lost) x11.XDestroyWindow(x.display, x.window);
    if (x.blank_cursor && !x.lost) x11.XFreeCursor(x.display, x.blank_cursor);
    x.window = 0;
    x.blank_cursor = 0;
    if (!x.lost) x11.XSync(x.display, False);
}

void x11_confine_pointer(int32_t on) {
    X11State& x = x11_state();
    if (!x.window || x.lost) return;
    if (on && !x.pointer_confined) {
        x.pointer_confined = x11.XGrabPointer(x.display, x.window, True, POINTER_EVENTS, GrabModeAsync, GrabModeAsync,
                                              x.window, None, CurrentTime) == GrabSuccess;
    } else if (!on && x.pointer_confined) {
        x11.XUngrabPointer(x.display, CurrentTime);
        x.pointer_confined = false;
    }
}

// Carries out what the drawing thread asked for since the last pass.
void x11_apply_requests() {
    X11State& x = x11_state();
    DisplayWindow& w = display_window();
    WindowRequests& r = posix_window().requests;
    if (!x.window || x.lost) return;
    if (r.title) set_title(x, w.title);
    if (r.move && !(w.flags & SCREEN_FULLSCREEN)) {
        x.frame_centring = false;  // placed by the program: it stays there
        x11.XMoveWindow(x.display, x.window, r.move_x, r.move_y);
    }
    if (r.warp) warp_pointer(x, r.warp_x, r.warp_y);
    if (r.cursor) show_cursor(x, mouse_state().cursor_shown != 0);
    if (r.clip) x11_confine_pointer(mouse_state().clip && w.active);
    if (posix_window().bells.exchange(0) > 0) x11.XBell(x.display, 0);
    r = WindowRequests{};
}
